// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

namespace setup {

// Makes the books' history (schema.h, kHistory) in books made by an earlier
// version, as the month totals are kept (kept_totals_upkeep.h), and on a
// file brings its triggers up to the columns the tables have now. Returns
// one line saying so when the history begins now or its triggers of an
// earlier version are made anew, nothing when this version's were there, or a note of why it could
// not begin: never throws (such books keep working, their changes not recorded).
QStringList historyNotesAt(const QString& where);

// Whether the books at `where` have every trigger of this version's history: read
// only, never written. Throws LedgerError when they cannot be read.
bool keepsHistory(const QString& where);

}  // namespace setup
