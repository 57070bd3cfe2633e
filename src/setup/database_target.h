// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

// Where a new database file goes, and whether an existing one may be replaced
// there. Every step throws LedgerError with a message for the user.
namespace setup {

// The longest path, in bytes, under which SQLite opens a database file for
// writing: its rollback journal adds "-journal" and must stay within 512.
inline constexpr int kLongestOpenablePath = 504;
// A new file is first built under a name 18 bytes longer.
inline constexpr int kLongestDatabasePath = kLongestOpenablePath - 18;

// Refuses a path too long for SQLite to open and write, saying so with its
// length, where SQLite itself would only say "unable to open database file".
void ensureOpenablePath(const QString& path);

struct DatabaseTarget {
    QString named;        // absolute, as the user named it
    QString file;         // what is written: `named`, or the file a link at `named` points to
    QString linkTo;       // the file the link points to; empty when `named` is no link
    bool exists = false;  // `file` is there now

    bool isLink() const { return !linkTo.isEmpty(); }
    bool isDanglingLink() const { return isLink() && !exists; }
};

// Follows links to the file behind `path`. Refuses an empty path, a folder, a
// missing folder and a path too long for SQLite.
DatabaseTarget resolveDatabaseTarget(const QString& path);

// Refuses to replace `file` while it holds a write that did not finish (a
// non-empty rollback journal or a write-ahead log beside it) or while a
// running program has it locked. Nothing is removed or changed.
void ensureReplaceable(const QString& file);

// Removes the unfinished ".NAME.*.partial" files that a stopped run of the
// tool left beside `file`: only those no running tool holds and that are
// older than a minute. Returns their names.
QStringList removeStalePartials(const QString& file);

}  // namespace setup
