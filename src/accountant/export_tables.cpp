// SPDX-License-Identifier: GPL-3.0-or-later
#include "accountant/export_tables.h"

#include <algorithm>
#include <functional>

#include "accountant/export_csv.h"
#include "ledger/records/row_set.h"
#include "ledger/schema/schema.h"
#include "ledger/store/store.h"

namespace accountant {

namespace schema = ledger::schema;

namespace {

using SpanOf = std::function<std::optional<DaySpan>(const QString&)>;

// Every row of a table or saved query with every column the file has (a
// table's row key is the store's and never shown), each value as a field
// shows it; the row's span read from its day or month column.
ExportTable wholeSource(ledger::Store& store, const QString& source, const QString& dateColumn,
                        const SpanOf& spanOf) {
    const ledger::SourceInfo info = store.describe(source);
    const int dateAt = info.indexOf(dateColumn);
    ExportTable table;
    table.header = info.columns;
    store.scan(info.name, info.columns, [&](ledger::Store::RowKey, const auto& values) {
        ExportRow row;
        for (const QVariant& value : values) row.cells << cellOf(value);
        if (dateAt >= 0) row.span = spanOf(ledger::fieldText(values.at(dateAt)));
        table.rows.push_back(std::move(row));
        return true;
    });
    return table;
}

}  // namespace

QString cellOf(const QVariant& value) {
    if (value.isNull() || value.typeId() == QMetaType::Double) return ledger::fieldText(value);
    return csv::textCell(value.toString());
}

const QStringList& savedQueryColumns(const QString& name) {
    for (const schema::SavedQuery& query : schema::savedQueries())
        if (query.name == name) return query.columns;
    static const QStringList none;
    return none;
}

void arrangeByCalendar(ExportTable& table, const DayRange& range) {
    auto& rows = table.rows;
    if (!range.isWhole())
        std::erase_if(
            rows, [&](const ExportRow& row) { return !row.span || !range.overlaps(*row.span); });
    const auto undated = std::stable_partition(
        rows.begin(), rows.end(), [](const ExportRow& row) { return row.span.has_value(); });
    std::stable_sort(rows.begin(), undated, [](const ExportRow& a, const ExportRow& b) {
        return a.span->first < b.span->first;
    });
    table.undated = static_cast<int>(rows.end() - undated);
}

ExportTable exportMonths(ledger::Store& store, const DayRange& range) {
    ExportTable table = wholeSource(store, schema::kMonthTotals,
                                    savedQueryColumns(schema::kMonthTotals).value(0), sheetMonth);
    arrangeByCalendar(table, range);
    return table;
}

}  // namespace accountant
