// SPDX-License-Identifier: GPL-3.0-or-later
#include "ledger/records/books.h"

#include "ledger/store/source_info.h"
#include "ledger/store/store.h"

namespace ledger {

std::shared_ptr<Store> openBooks(const QString& address) { return openStore({address}); }

bool tableHasColumn(Store& books, const QString& table, const QString& column) {
    return books.describe(table).indexOf(column) >= 0;
}

bool holdsRow(Store& books, const QString& table, qint64 key) {
    const SourceInfo info = books.describe(table);
    // Asked for one column, a row that is there answers with its value.
    return !books.readRow(table, key, {info.columns.value(0)}).empty();
}

}  // namespace ledger
