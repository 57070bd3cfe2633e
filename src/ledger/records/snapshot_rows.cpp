// SPDX-License-Identifier: GPL-3.0-or-later
#include "ledger/records/snapshot_rows.h"

#include <algorithm>

#include "ledger/base/ledger_error.h"
#include "ledger/query/criteria.h"
#include "ledger/query/select_text.h"
#include "ledger/records/row_order.h"
#include "ledger/store/store.h"

namespace ledger {

namespace {

int columnOf(const SourceInfo& from, const QString& column) {
    const int at = from.indexOf(column);
    if (at < 0)
        fail(ErrorCode::UnknownName,
             QStringLiteral("The query '%1' has no column '%2'.").arg(from.name, column));
    return at;
}

}  // namespace

SnapshotRows::SnapshotRows(SourceInfo info, Reader reader, Reader firstRow)
    : reader_(std::move(reader)), firstRow_(std::move(firstRow)) {
    info_ = std::move(info);
    reload();
}

std::unique_ptr<SnapshotRows> SnapshotRows::ofSavedQuery(std::shared_ptr<Store> store,
                                                         SourceInfo info) {
    const QString name = info.name;
    const QStringList columns = info.columns;
    auto reader = [store, name, columns](bool firstOnly) {
        Rows rows;
        store->scan(name, columns, [&](Store::RowKey, const std::vector<QVariant>& values) {
            rows.push_back(values);
            return !firstOnly;
        });
        return rows;
    };
    return std::make_unique<SnapshotRows>(
        std::move(info), [reader] { return reader(false); }, [reader] { return reader(true); });
}

std::unique_ptr<SnapshotRows> SnapshotRows::ofSelectText(std::shared_ptr<Store> store,
                                                         const QString& text) {
    const SelectText select = SelectText::parse(text);
    const SourceInfo from = store->describe(select.source);
    SourceInfo info;
    info.name = text;
    for (const auto& c : select.columns) {
        const int at = columnOf(from, c);
        info.columns << from.columns[at];
        info.isAmount.push_back(from.isAmount[at]);
    }
    // Read in one pass: the shown columns, then those the conditions test,
    // then the one to order by.
    QStringList needed = info.columns;
    for (const auto& c : select.where.conditions) needed << from.columns[columnOf(from, c.column)];
    const int shown = static_cast<int>(info.columns.size());
    const int conditions = static_cast<int>(select.where.conditions.size());
    const int orderAt = select.orderBy.isEmpty() ? -1 : static_cast<int>(needed.size());
    if (orderAt >= 0) needed << from.columns[columnOf(from, select.orderBy)];

    return std::make_unique<SnapshotRows>(std::move(info), [store, select, from, needed, shown,
                                                            conditions, orderAt] {
        // Each kept row's order key is made once, as it is read.
        std::vector<std::pair<RowOrderKey, std::vector<QVariant>>> kept;
        std::vector<QVariant> tested(static_cast<size_t>(conditions));
        store->scan(from.name, needed, [&](Store::RowKey, const std::vector<QVariant>& values) {
            std::copy(values.begin() + shown, values.begin() + shown + conditions, tested.begin());
            if (conditions == 0 || select.where.matches(tested))
                kept.emplace_back(RowOrderKey(orderAt >= 0 ? values[orderAt] : QVariant()),
                                  std::vector<QVariant>(values.begin(), values.begin() + shown));
            return true;
        });
        if (orderAt >= 0)
            std::stable_sort(kept.begin(), kept.end(),
                             [](const auto& a, const auto& b) { return a.first < b.first; });
        Rows rows;
        rows.reserve(kept.size());
        for (auto& row : kept) rows.push_back(std::move(row.second));
        return rows;
    });
}

void SnapshotRows::reload() {
    keysAscending_ = true;
    if (firstRow_) {
        rows_ = firstRow_();
        keys_.clear();
        firstKeyOnly_ = true;
        firstKey_ = rows_.empty() ? -1 : 0;
        return;
    }
    firstKeyOnly_ = false;
    readKeys();
}

void SnapshotRows::readKeys() const {
    // The set as it is now, as a Refresh would read it; without rows at
    // open it stays without (the window shows none), and the first row,
    // shown already, stays when every row went meanwhile.
    if (!firstKeyOnly_ || firstKey_ >= 0) {
        Rows rows = reader_();
        if (!rows.empty() || !firstKeyOnly_) rows_ = std::move(rows);
    }
    firstKeyOnly_ = false;
    keys_.resize(rows_.size());
    for (size_t i = 0; i < keys_.size(); ++i) keys_[i] = static_cast<qint64>(i);
}

std::vector<QVariant> SnapshotRows::values(int index, const QStringList& columns) const {
    const auto& row = rows_[static_cast<size_t>(keyAt(index))];
    std::vector<QVariant> out;
    out.reserve(static_cast<size_t>(columns.size()));
    for (const auto& c : columns) out.push_back(row[static_cast<size_t>(info_.indexOf(c))]);
    return out;
}

std::vector<QStringList> SnapshotRows::rowsAsText() const {
    requireKeys();
    std::vector<QStringList> out;
    out.reserve(keys_.size());
    for (qint64 k : keys_) {
        QStringList row;
        for (const auto& v : rows_[static_cast<size_t>(k)]) row << fieldText(v);
        out.push_back(row);
    }
    return out;
}

void SnapshotRows::visitRows(const QStringList& columns, const RowValuesVisitor& visit) const {
    std::vector<size_t> at;
    for (const auto& c : columns) at.push_back(static_cast<size_t>(info_.indexOf(c)));
    std::vector<QVariant> picked(at.size());
    for (int i = 0; i < count(); ++i) {
        const auto& row = rows_[static_cast<size_t>(keyAt(i))];
        if (columns == info_.columns) {
            visit(i, row);
            continue;
        }
        for (size_t j = 0; j < at.size(); ++j) picked[j] = row[at[j]];
        visit(i, picked);
    }
}

std::optional<int> SnapshotRows::find(const Criterion& criterion, const QStringList& columns,
                                      int before, bool backwards) const {
    std::vector<int> at;
    for (const auto& c : columns) at.push_back(info_.indexOf(c));
    std::vector<QVariant> tested(at.size());
    auto matches = [&](int index) {
        const auto& row = rows_[static_cast<size_t>(keyAt(index))];
        for (size_t j = 0; j < at.size(); ++j) tested[j] = row[static_cast<size_t>(at[j])];
        return criterion.matches(tested);
    };
    if (backwards) {
        for (int i = before - 1; i >= 0; --i)
            if (matches(i)) return i;
    } else {
        for (int i = 0; i < count(); ++i)
            if (matches(i)) return i;
    }
    return std::nullopt;
}

}  // namespace ledger
