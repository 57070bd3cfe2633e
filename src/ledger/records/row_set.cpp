// SPDX-License-Identifier: GPL-3.0-or-later
#include "ledger/records/row_set.h"

#include <algorithm>

#include "ledger/amount/amount.h"
#include "ledger/base/ledger_error.h"
#include "ledger/query/select_text.h"
#include "ledger/records/snapshot_rows.h"
#include "ledger/records/table_rows.h"
#include "ledger/store/store.h"

namespace ledger {

int RowSet::count() const {
    requireKeys();
    return static_cast<int>(keys_.size());
}

bool RowSet::isEmpty() const { return firstKeyOnly_ ? firstKey_ < 0 : keys_.empty(); }

qint64 RowSet::keyAt(int index) const {
    if (firstKeyOnly_ && index == 0 && firstKey_ >= 0) return firstKey_;
    requireKeys();
    return keys_[static_cast<size_t>(index)];
}

int RowSet::indexOfKey(qint64 key) const {
    if (firstKeyOnly_ && key == firstKey_ && key >= 0) return 0;
    requireKeys();
    if (keysAscending_) {
        auto it = std::lower_bound(keys_.begin(), keys_.end(), key);
        return it != keys_.end() && *it == key ? static_cast<int>(it - keys_.begin()) : -1;
    }
    auto it = std::find(keys_.begin(), keys_.end(), key);
    return it == keys_.end() ? -1 : static_cast<int>(it - keys_.begin());
}

std::vector<std::vector<QVariant>> RowSet::rowValues(const QStringList& columns) const {
    std::vector<std::vector<QVariant>> out(static_cast<size_t>(count()));
    visitRows(columns.isEmpty() ? info_.columns : columns,
              [&](int index, const std::vector<QVariant>& values) {
                  out[static_cast<size_t>(index)] = values;
              });
    return out;
}

int RowSet::insert(const QStringList&, const std::vector<QVariant>&) {
    fail(ErrorCode::ReadOnly,
         QStringLiteral("Cannot add a row: '%1' is read-only.").arg(info_.name));
}

int RowSet::adopt(qint64) {
    fail(ErrorCode::ReadOnly,
         QStringLiteral("Cannot add a row: '%1' is read-only.").arg(info_.name));
}

bool RowSet::update(int, const QStringList&, const std::vector<QVariant>&, const QStringList&,
                    const std::vector<QVariant>&) {
    fail(ErrorCode::ReadOnly,
         QStringLiteral("Cannot update. '%1' is read-only: what was typed cannot be stored.")
             .arg(info_.name));
}

void RowSet::forget(int index) {
    requireKeys();
    keys_.erase(keys_.begin() + index);
}

void RowSet::remove(int) {
    fail(ErrorCode::ReadOnly, QStringLiteral("Cannot delete: '%1' is read-only.").arg(info_.name));
}

std::unique_ptr<RowSet> openRowSet(std::shared_ptr<Store> store, const QString& source) {
    if (SelectText::looksLikeSelect(source))
        return SnapshotRows::ofSelectText(std::move(store), source);
    SourceInfo info = store->describe(source);
    if (info.isTable) return std::make_unique<TableRows>(std::move(store), std::move(info));
    return SnapshotRows::ofSavedQuery(std::move(store), std::move(info));
}

QString fieldText(const QVariant& value) {
    if (value.isNull()) return {};
    if (value.typeId() == QMetaType::Double) return amountText(value.toDouble());
    return value.toString();
}

}  // namespace ledger
