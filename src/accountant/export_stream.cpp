// SPDX-License-Identifier: GPL-3.0-or-later
#include "accountant/export_stream.h"

#include <QTemporaryFile>
#include <algorithm>
#include <numeric>
#include <optional>
#include <vector>

#include "accountant/export_csv.h"
#include "ledger/base/ledger_error.h"
#include "ledger/records/row_set.h"
#include "ledger/store/store.h"

namespace accountant {

namespace {

QByteArray headerRecord(const QStringList& columns) {
    // Column names are the file's own, which anyone may have added to.
    QStringList cells;
    for (const QString& name : columns) cells << csv::textCell(name);
    return csv::record(cells).toUtf8();
}

// A row chosen for the export: its key and its day (none when undated).
struct Chosen {
    ledger::Store::RowKey key;
    std::optional<QDate> day;
};

// Where a row's record lies in the scratch file.
struct Stretch {
    qint64 at = -1;
    qint64 size = 0;
};

[[noreturn]] void scratchFailed(const QFile& scratch) {
    ledger::fail(ledger::ErrorCode::StoreFailure,
                 QStringLiteral("Cannot sort the rows by their dates in a temporary file: %1.")
                     .arg(scratch.errorString()));
}

}  // namespace

ExportCounts writeTable(const ExportTable& table, const RecordWriter& write) {
    ExportCounts counts{static_cast<int>(table.rows.size()), table.undated, table.unpriced, 0};
    if (!write(headerRecord(table.header))) return counts;
    for (const ExportRow& row : table.rows)
        if (!write(csv::record(row.cells).toUtf8())) break;
    return counts;
}

ExportCounts writeByCalendar(ledger::Store& store, const QString& source, const QString& dateColumn,
                             const DayRange& range, const LayoutOf& layoutOf,
                             const RecordWriter& write) {
    const ledger::SourceInfo info = store.describe(source);
    const int dateAt = info.indexOf(dateColumn);
    const RecordLayout layout = layoutOf(info.columns);

    // The rows chosen, in the order they were added (the scan's key order).
    std::vector<Chosen> chosen;
    if (dateAt >= 0) {
        store.scan(info.name, {info.columns.at(dateAt)},
                   [&](ledger::Store::RowKey key, const auto& values) {
                       const auto span = daySpan(ledger::fieldText(values.front()));
                       if (range.isWhole() || (span && range.overlaps(*span)))
                           chosen.push_back(
                               {key, span ? std::optional<QDate>(span->first) : std::nullopt});
                       return true;
                   });
    } else {
        store.scan(info.name, info.columns.mid(0, 1), [&](ledger::Store::RowKey key, const auto&) {
            if (range.isWhole()) chosen.push_back({key, std::nullopt});
            return true;
        });
    }

    // Their calendar order: the days, then the undated as they came.
    std::vector<size_t> order(chosen.size());
    std::iota(order.begin(), order.end(), size_t{0});
    const auto undated = std::stable_partition(order.begin(), order.end(),
                                               [&](size_t i) { return chosen[i].day.has_value(); });
    std::stable_sort(order.begin(), undated,
                     [&](size_t a, size_t b) { return *chosen[a].day < *chosen[b].day; });
    const bool alreadyInOrder = std::is_sorted(order.begin(), order.end());

    ExportCounts counts;
    counts.undated = static_cast<int>(order.end() - undated);
    if (!write(headerRecord(layout.header))) return counts;
    auto rowRecord = [&](const std::vector<QVariant>& values) {
        const StreamedRecord record = layout.record(values);
        if (!record.complete) ++counts.incomplete;
        return csv::record(record.cells).toUtf8();
    };

    // Rows added or dated since the dates were read are not among the chosen;
    // rows removed meanwhile are left out (and not counted).
    auto indexOf = [&](ledger::Store::RowKey key) -> std::optional<size_t> {
        const auto found =
            std::lower_bound(chosen.begin(), chosen.end(), key,
                             [](const Chosen& c, ledger::Store::RowKey k) { return c.key < k; });
        if (found == chosen.end() || found->key != key) return std::nullopt;
        return static_cast<size_t>(found - chosen.begin());
    };

    if (alreadyInOrder) {
        bool writing = true;
        store.scan(info.name, info.columns, [&](ledger::Store::RowKey key, const auto& values) {
            if (!indexOf(key)) return true;
            writing = write(rowRecord(values));
            if (writing) ++counts.rows;
            return writing;
        });
        return counts;
    }

    // Out of order: each record into a scratch file as it comes, then read
    // back in calendar order.
    QTemporaryFile scratch;
    if (!scratch.open()) scratchFailed(scratch);
    std::vector<Stretch> stretches(chosen.size());
    store.scan(info.name, info.columns, [&](ledger::Store::RowKey key, const auto& values) {
        const auto i = indexOf(key);
        if (!i) return true;
        const QByteArray record = rowRecord(values);
        stretches[*i] = {scratch.pos(), record.size()};
        if (scratch.write(record) != record.size()) scratchFailed(scratch);
        return true;
    });
    if (!scratch.flush()) scratchFailed(scratch);
    for (size_t i : order) {
        const Stretch& stretch = stretches[i];
        if (stretch.at < 0) continue;  // removed since the dates were read
        if (!scratch.seek(stretch.at)) scratchFailed(scratch);
        const QByteArray record = scratch.read(stretch.size);
        if (record.size() != stretch.size) scratchFailed(scratch);
        if (!write(record)) break;
        ++counts.rows;
    }
    return counts;
}

}  // namespace accountant
