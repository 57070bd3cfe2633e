// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>
#include <functional>

namespace ledger {
class ServerConnection;
}

namespace setup {

// Making and checking the shop's tables in a PostgreSQL database (named by a
// postgresql:// URI; the database itself exists, made by the server's
// administrator). Everything below throws LedgerError and leaves the
// database as it was when it fails.

// The three tables, the choice lists and the three saved queries (views
// giving the same rows in the same order as in a file), with the demo shop
// when `withDemoData`. Refuses a database that already has any of them
// unless `replace`, which drops them and makes them anew; either way in one
// transaction.
void createServerSchema(const QString& address, bool withDemoData, bool replace);

// The same on an open connection, with `fill` run inside the transaction
// after the tables are made (it may throw: then nothing is kept).
void createServerSchema(ledger::ServerConnection& server, bool replace,
                        const std::function<void(ledger::ServerConnection&)>& fill);

// What the database lacks for the program, one line each; empty when
// nothing is missing: the one check of a file (checkSchemaOf), on a server.
QStringList checkServerSchema(const QString& address);

}  // namespace setup
