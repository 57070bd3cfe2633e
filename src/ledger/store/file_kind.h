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
    Unreadable,  // cannot be opened for reading, or is no file (notAFile says what)
};

// Never opens anything that is not a file (see notAFile).
FileKind fileKindOf(const QString& path);

// What is at `path` when it is there but is no file (links followed): "a
// named pipe (FIFO)", "a device", "a socket", "a folder". Empty for a file,
// and when nothing is there. Asked of the path alone, never by opening it:
// opening a named pipe waits for a program to write into it, for ever.
QString notAFile(const QString& path);

}  // namespace ledger
