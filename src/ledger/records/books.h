// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QtGlobal>
#include <memory>

namespace ledger {

class Store;

// What a window needs of the books besides its record sources, without
// reaching into the store: the windows hold the books and hand them to the
// sheets' rules, which read them.

// The books at `address` (a file's path or a server's address), opened, or
// shared with whatever has them open in this program: record sources that
// open while it is held share its connection. Throws LedgerError, naming
// the books, when they cannot be opened.
std::shared_ptr<Store> openBooks(const QString& address);

// Whether the books' table has `column` now (books made by an earlier
// version lack the columns added since). Throws LedgerError.
bool tableHasColumn(Store& books, const QString& table, const QString& column);

// Whether the row `key` of the books' table is still there. Throws
// LedgerError.
bool holdsRow(Store& books, const QString& table, qint64 key);

}  // namespace ledger
