// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace ledger {

// What a database file is, judged by its first bytes: the one test the
// program and the database tool share.
enum class FileKind {
    Sqlite,      // an SQLite 3 database
    Empty,       // no bytes at all (SQLite would take it as an empty database)
    Access,      // the shop's old Microsoft Access (Jet or ACE) file
    Foreign,     // anything else
    Unreadable,  // cannot be opened for reading
};

FileKind fileKindOf(const QString& path);

}  // namespace ledger
