// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QtGlobal>

#include "ledger/records/book_history.h"

namespace ledger {

// Putting right a change the books' history recorded (book_history.h), on
// the books at `books` (a file's path or a server's address). Each goes
// through a record source on the row's table, as typing would: the same
// checks and the same conflict rules, and the books record it as a change
// of its own. Each throws LedgerError, having stored nothing, when it
// cannot be done.

// Stores again what `column` held before `change`, only while the row still
// holds what the change left there: a value changed again since (by anyone)
// is ChangedElsewhere, a row removed since RecordDeleted. A password is
// never recorded, so it cannot be put back (InvalidOperation).
void putBackValue(const QString& books, const RecordedChange& change, const QString& column);

// A removed day sheet stored again with every value it held when it was
// removed; refused (AlreadyStored) while a day of that date is stored.
void bringBackDay(const QString& books, const RecordedChange& removal);

// A removed wage row stored again with every value it held, and `wage`,
// what its Save had added to its day, added to that day's Personnel rate in
// the same transaction (storeWageWithDay): both or neither. The day must be
// stored (else RecordDeleted: bring the day back first).
void bringBackWage(const QString& books, const RecordedChange& removal, qint32 wage);

}  // namespace ledger
