// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// The password of a server database never goes into tallowbrook.ini nor on
// the screen: it is kept where libpq looks for it, the user's password file
// (PGPASSFILE, or ~/.pgpass), readable by its owner alone.
namespace ledger {

struct ServerLogin {
    QString address;   // without any password
    QString password;  // empty when the address held none
};

// Splits a typed address into the address without its password and the
// password it held (user:password@ or ?password=). Throws LedgerError when
// the address cannot be read as a server address.
ServerLogin splitServerLogin(const QString& address);

// The address with `password` added as an option, for one connection that
// tries it. `address` holds no password itself.
QString addressWithPassword(const QString& address, const QString& password);

// Keeps `password` for the account `address` names (host, port, database,
// user; what the address leaves out as libpq fills it in) in the user's
// password file, in place of an earlier line for the same account. The file
// is replaced in one step and is the owner's alone. Throws LedgerError; the
// file is then as it was.
void rememberServerPassword(const QString& address, const QString& password);

// The password file libpq reads: PGPASSFILE, or ~/.pgpass.
QString serverPasswordFile();

}  // namespace ledger
