// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

namespace setup {

// What the program does to the books it opens at its start, so that books
// made by an earlier version get, the first time, what `tallowbrook-db
// check` gives them: the kept month totals, the columns this version added
// and the books' own history (keptTotalsNotesAt, historyNotesAt). Returns
// what was done, or why it could not be, one line each. Returns nothing,
// having written nothing, when the books keep their history already (this
// version has been at them) or lack what the program needs or cannot be
// read (the windows say why when they open them). Never throws: the program
// starts either way, and books that could not get it keep working as before.
QStringList upkeepAtStart(const QString& where);

}  // namespace setup
