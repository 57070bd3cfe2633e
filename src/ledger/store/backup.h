// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QStringList>
#include <functional>

namespace ledger {

// Copies of the database file in a `backups` folder beside it, named by date
// and time to the second and by what made them
// (breakfast-2026-12-08-093015-start.mdb; the second copy in the same second,
// whatever made it, gets -2, then -3, ...: breakfast-2026-12-08-093015-2-now.mdb),
// made with SQLite's online backup (a consistent copy even while another
// program has the file open), written under a temporary name and named only
// when complete. A backup never takes the name of another one. The newest
// `kKeptBackups` are kept; files whose names this program did not give (nor
// older minute-named backups beyond the kept number) are never removed
// otherwise. Names of earlier versions, which said nothing of what made them
// (breakfast-2026-12-08-093015-2.mdb, breakfast-2026-12-08-0930.mdb), are
// backups as well.
inline constexpr int kKeptBackups = 30;

// What made a backup, as its name says.
enum class BackupMaker {
    Unsaid,         // a name of an earlier version
    Start,          // the program's start
    BackUpNow,      // Back up now, in the Books window
    Tool,           // tallowbrook-db backup
    BeforeRestore,  // the books a restore put a backup in place of
    BeforeCreate,   // the books tallowbrook-db create (or demo) --force replaced
};

// What a backup's name says of it: when it was taken (to the minute for the
// minute-named ones; invalid for a name this program did not give), its
// place among the backups of that second (1 for the first), what made it.
struct BackupNamed {
    QDateTime taken;
    int counter = 1;
    BackupMaker maker = BackupMaker::Unsaid;
};
BackupNamed backupNamed(const QString& databasePath, const QString& backupPath);

QString backupFolderFor(const QString& databasePath);

// The backups of the database in the backups folder beside it, oldest first
// by the date and time in their names (minute-named ones of earlier versions
// included).
QStringList backupsOf(const QString& databasePath);

// Whether the file changed since its newest backup (or has none).
bool changedSinceLastBackup(const QString& databasePath);

// Pages copied so far and in all, while a backup or restore runs.
using CopyProgress = std::function<void(int copied, int total)>;

// Makes a backup named for `when` and `maker` in `folder` (the backups
// folder beside the file when empty; made for the owner only when missing)
// and then removes the oldest there beyond the kept number, but never the
// one just made nor any of `spare` (a backup about to be restored). Returns
// the new backup's path. Throws LedgerError.
QString backUpDatabase(const QString& databasePath, const QDateTime& when, BackupMaker maker,
                       const QString& folder = {}, const CopyProgress& progress = {},
                       const QStringList& spare = {});

// Keeps the file about to be replaced at `path` as a backup beside it, named
// for now and `maker`: an SQLite database as backUpDatabase copies it,
// anything else byte for byte (an old Access file, a damaged one), an empty
// file not at all. Returns the backup's path, empty when nothing needed
// keeping. Throws LedgerError.
QString keepAsBackup(const QString& path, BackupMaker maker, const QStringList& spare = {});

// Makes a backup as the file `target` itself, which must not exist yet.
// Throws LedgerError.
void backUpDatabaseAs(const QString& databasePath, const QString& target,
                      const CopyProgress& progress = {});

// Copies every page of `from` into the database `into` in one transaction of
// `into` (SQLite's online backup): `into` shows either its old or the whole
// new contents. Throws LedgerError.
void copyDatabase(const QString& from, const QString& into, const CopyProgress& progress = {});

// A digest of everything a database file holds: its schema and every row of
// every table, value by value with its type. Two files with the same digest
// hold the same books. Throws LedgerError.
QByteArray contentDigest(const QString& path);

}  // namespace ledger
