// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// Adding a member of staff who can log in: the one place it is done, for the
// database tool's add-staff and for the program's first start, so the
// password is kept alike whichever of them added the member.
namespace setup {

// Adds `name` with `password` to the staff register of the books at
// `database` (a file or a server address). Refuses an empty name. Throws
// LedgerError naming the books; nothing is added then.
void addStaffMember(const QString& database, const QString& name, const QString& password);

// Whether the staff register of the books at `database` has nobody in it.
// Throws LedgerError when the books cannot be read.
bool staffRegisterIsEmpty(const QString& database);

}  // namespace setup
