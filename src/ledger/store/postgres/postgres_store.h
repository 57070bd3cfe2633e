// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <memory>

#include "ledger/store/sql_engine.h"
#include "ledger/store/store.h"

namespace ledger {

class ServerConnection;

// The store on a PostgreSQL database, for several tills on one ledger: the
// SQL store (sql_store.h) over one connection to the server. One per address
// per process, shared by every record source opened on it, as the file store
// is. Tables carry the "Row key" column as an identity the server hands out
// once (never again after a delete); saved queries are views. A table made
// anew (dropped and made again) is told by the server's number for it.
//
// Threading: the user-interface thread only, like its connection.
std::shared_ptr<Store> openServerStore(const QString& address);

// The engine of a connection open already, for reading its catalogue and
// rows (the schema check); the connection stays the caller's and must
// outlive it.
std::unique_ptr<SqlEngine> serverEngineOn(ServerConnection& server);

}  // namespace ledger
