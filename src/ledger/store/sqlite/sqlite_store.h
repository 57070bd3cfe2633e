// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <memory>

#include "ledger/store/sql_engine.h"
#include "ledger/store/store.h"

namespace ledger {

namespace statements {
class Connection;
}

// The store on an SQLite database file: the SQL store (sql_store.h) over the
// file's one connection, which it owns (closed with it). One per file per
// process, shared by every record source opened on that file, so a row
// stored by one window is seen by the next read of another.
//
// Threading: the user-interface thread only. One may be made on another
// thread (openFileStoreUnshared) and handed over whole, before anything uses
// it (shareFileStore).
std::shared_ptr<Store> openFileStore(const QString& path);
// A store of its own on the file, not shared: what openFileStore makes, on
// any thread.
std::shared_ptr<Store> openFileStoreUnshared(const QString& path);
// Shares a store made by openFileStoreUnshared as openFileStore would have,
// unless the file has one shared already (which is kept; this one is then
// dropped).
void shareFileStore(const std::shared_ptr<Store>& store);

// The engine of a file open already, for reading its catalogue and rows
// (the schema check); the connection stays the caller's and must outlive it.
std::unique_ptr<SqlEngine> fileEngineOn(statements::Connection& file);

}  // namespace ledger
