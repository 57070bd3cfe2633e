#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>

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

// Makes a backup named for `when` and removes the oldest beyond the kept
// number; returns the new backup's path. Throws LedgerError.
QString backUpDatabase(const QString& databasePath, const QDateTime& when);

}  // namespace ledger
