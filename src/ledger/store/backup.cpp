#include "ledger/store/backup.h"

#include <sqlite3.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "ledger/base/ledger_error.h"
#include "ledger/store/sqlite/sqlite_statements.h"

namespace ledger {

namespace {

QString baseName(const QString& databasePath) { return QFileInfo(databasePath).completeBaseName(); }

}  // namespace

QString backupFolderFor(const QString& databasePath) {
    return QFileInfo(databasePath).absoluteDir().filePath(QStringLiteral("backups"));
}

QStringList backupsOf(const QString& databasePath) {
    // The names carry the date and time, so name order is time order.
    QStringList names = QDir(backupFolderFor(databasePath))
                            .entryList({baseName(databasePath) + QStringLiteral("-*.mdb")},
                                       QDir::Files, QDir::Name);
    for (QString& name : names) name = QDir(backupFolderFor(databasePath)).filePath(name);
    return names;
}

bool changedSinceLastBackup(const QString& databasePath) {
    const QStringList backups = backupsOf(databasePath);
    if (backups.isEmpty()) return true;
    return QFileInfo(databasePath).lastModified() > QFileInfo(backups.last()).lastModified();
}

void copyDatabase(const QString& from, const QString& into, const CopyProgress& progress) {
    statements::Connection source(from, statements::Connection::Mode::ReadOnly);
    statements::Connection copy(into, statements::Connection::Mode::Create);
    sqlite3_backup* backup = sqlite3_backup_init(copy.handle(), "main", source.handle(), "main");
    int rc = backup ? SQLITE_OK : sqlite3_errcode(copy.handle());
    if (backup) {
        // A page batch at a time, so a program writing meanwhile only makes
        // the copy start again, never makes it inconsistent.
        do {
            rc = sqlite3_backup_step(backup, 256);
            if (progress)
                progress(sqlite3_backup_pagecount(backup) - sqlite3_backup_remaining(backup),
                         sqlite3_backup_pagecount(backup));
            if (rc == SQLITE_BUSY || rc == SQLITE_LOCKED) sqlite3_sleep(50);
        } while (rc == SQLITE_OK || rc == SQLITE_BUSY || rc == SQLITE_LOCKED);
        sqlite3_backup_finish(backup);
    }
    if (rc != SQLITE_DONE)
        fail(ErrorCode::StoreFailure,
             QStringLiteral("Copying %1 into %2 failed: %3")
                 .arg(QDir::toNativeSeparators(from), QDir::toNativeSeparators(into),
                      QString::fromUtf8(sqlite3_errmsg(copy.handle()))));
}

QString backUpDatabase(const QString& databasePath, const QDateTime& when,
                       const QString& folderGiven, const CopyProgress& progress) {
    const QString folder = folderGiven.isEmpty() ? backupFolderFor(databasePath) : folderGiven;
    if (!QDir().mkpath(folder))
        fail(ErrorCode::StoreFailure, QStringLiteral("Cannot make the backup folder %1.")
                                          .arg(QDir::toNativeSeparators(folder)));
    const QString target = QDir(folder).filePath(
        QStringLiteral("%1-%2.mdb")
            .arg(baseName(databasePath), when.toString(QStringLiteral("yyyy-MM-dd-HHmm"))));
    const QString partial = target + QStringLiteral(".partial");
    QFile::remove(partial);
    try {
        copyDatabase(databasePath, partial, progress);
    } catch (const LedgerError&) {
        QFile::remove(partial);
        throw;
    }
    // Only a complete copy ever carries a backup's name.
    QFile::remove(target);
    if (!QFile::rename(partial, target)) {
        QFile::remove(partial);
        fail(ErrorCode::StoreFailure,
             QStringLiteral("Cannot name the backup %1.").arg(QDir::toNativeSeparators(target)));
    }
    QStringList backups = QDir(folder).entryList(
        {baseName(databasePath) + QStringLiteral("-*.mdb")}, QDir::Files, QDir::Name);
    while (backups.size() > kKeptBackups) QFile::remove(QDir(folder).filePath(backups.takeFirst()));
    return target;
}

}  // namespace ledger
