// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include "ledger/records/field_binding.h"

class QLineEdit;
class QWidget;

namespace ledger {
class RecordSource;
}

namespace shell {

// After a login with a password that the register still kept as plain text
// (a file from an earlier version): the row the user logged in with stores
// the password's hash in its place, through the register's own write-back,
// so it is stored only while that row still holds the same name and the same
// password. The login goes ahead either way; when the hash cannot be stored
// (a read-only file, a server out of reach) the user is told once and the
// row keeps what it had, to be protected at the next login. A row that
// another till logging in at the same moment protected already is left as
// it is, without a word.
void protectPlainPassword(QWidget* window, ledger::RecordSource& staff,
                          const ledger::Bookmark& loggedInRow, QLineEdit& storedPassword,
                          const QString& password);

}  // namespace shell
