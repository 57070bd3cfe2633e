#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <functional>

namespace ledger {

// Copies of the database file in a `backups` folder beside it, named by date
// and time (breakfast-2026-12-08-0930.mdb), made with SQLite's online backup
// (a consistent copy even while another program has the file open), written
// under a temporary name and renamed only when complete. The newest
// `kKeptBackups` are kept.
inline constexpr int kKeptBackups = 30;

QString backupFolderFor(const QString& databasePath);

// The backups of the database, oldest first.
QStringList backupsOf(const QString& databasePath);

// Whether the file changed since its newest backup (or has none).
bool changedSinceLastBackup(const QString& databasePath);

// Pages copied so far and in all, while a backup or restore runs.
using CopyProgress = std::function<void(int copied, int total)>;

// Makes a backup named for `when` in `folder` (the backups folder beside the
// file when empty) and removes the oldest there beyond the kept number;
// returns the new backup's path. Throws LedgerError.
QString backUpDatabase(const QString& databasePath, const QDateTime& when,
                       const QString& folder = {}, const CopyProgress& progress = {});

// Copies every page of `from` into the database `into` in one transaction of
// `into` (SQLite's online backup): `into` shows either its old or the whole
// new contents. Throws LedgerError.
void copyDatabase(const QString& from, const QString& into, const CopyProgress& progress = {});

}  // namespace ledger
