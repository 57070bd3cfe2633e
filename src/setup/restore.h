// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

#include "ledger/store/backup.h"

// Putting a backup back in place of the books, with every check the shop
// relies on: the database tool's restore command and the program's Books
// window restore the same way.
namespace setup {

// The running programs other than this one that have `file` open (their
// process numbers), found through the kernel's list of open files.
QStringList programsHolding(const QString& file);

struct Restored {
    QString kept;       // the replaced books' backup; empty when there were none
    QStringList notes;  // what keeping the month totals did, as tallowbrook-db check says it
};

// Puts the backup file `backup` in place of the books at `path`, after the
// check of tallowbrook-db check on the backup: a backup the program could not
// open as its books is never put in their place. Refused while another
// program has the books open. The books being replaced are kept as a backup
// of their own beside them (the backup being restored is never removed to
// make room). Done only when the books then hold exactly what the backup
// holds; then their month totals are kept as tallowbrook-db check keeps
// them (counted again when they do not hold what the days add up to, their
// triggers made anew when an earlier version made them). Throws LedgerError
// with a message that says what became of the books.
Restored restoreBackup(const QString& backup, const QString& path,
                       const ledger::CopyProgress& progress = {});

// How many days (rows of the daily ledger) a database file holds; -1 when
// it cannot be read as books.
int dayCountOf(const QString& file);

}  // namespace setup
