#pragma once

#include <QString>
#include <QStringList>

// Where a new database file goes, and whether an existing one may be replaced
// there. Every step throws LedgerError with a message for the user.
namespace ledger {

// The longest path, in bytes, that a new file may have: SQLite opens files of
// at most 504 bytes (the rollback journal adds "-journal" to a limit of 512),
// and the file is first built under a name 18 bytes longer.
inline constexpr int kLongestDatabasePath = 486;

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

}  // namespace ledger
