// SPDX-License-Identifier: GPL-3.0-or-later
#include "ledger/store/backup.h"

#include <fcntl.h>
#include <sqlite3.h>
#include <unistd.h>

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "ledger/base/ledger_error.h"
#include "ledger/base/owner_only.h"
#include "ledger/store/file_kind.h"
#include "ledger/store/source_info.h"
#include "ledger/store/sqlite/sqlite_statements.h"

namespace ledger {

namespace {

// More backups than this in one second are no longer a shop's doing.
constexpr int kMostInOneSecond = 1000;

QString baseName(const QString& databasePath) { return QFileInfo(databasePath).completeBaseName(); }

QString shown(const QString& path) { return QDir::toNativeSeparators(path); }

QString systemError(int error) { return QString::fromLocal8Bit(std::strerror(error)); }

// What each maker's backups are named with.
struct MakerTag {
    BackupMaker maker;
    const char* tag;
};
constexpr MakerTag kMakerTags[] = {
    {BackupMaker::Start, "start"},
    {BackupMaker::BackUpNow, "now"},
    {BackupMaker::Tool, "tool"},
    {BackupMaker::BeforeRestore, "before-restore"},
    {BackupMaker::BeforeCreate, "before-create"},
};

QString tagOf(BackupMaker maker) {
    for (const MakerTag& t : kMakerTags)
        if (t.maker == maker) return QString::fromLatin1(t.tag);
    return {};
}

BackupMaker makerTagged(const QString& tag) {
    for (const MakerTag& t : kMakerTags)
        if (tag == QLatin1String(t.tag)) return t.maker;
    return BackupMaker::Unsaid;
}

// breakfast-2026-12-08-093015-start.mdb, breakfast-2026-12-08-093015-2-now.mdb;
// of earlier versions breakfast-2026-12-08-093015.mdb,
// breakfast-2026-12-08-093015-2.mdb and the minute-named
// breakfast-2026-12-08-0930.mdb.
QRegularExpression backupName(const QString& base) {
    QStringList tags;
    for (const MakerTag& t : kMakerTags) tags << QString::fromLatin1(t.tag);
    return QRegularExpression(
        QStringLiteral(
            "^%1-(\\d{4})-(\\d{2})-(\\d{2})-(\\d{4})(\\d{2})?(?:-(\\d{1,6}))?(?:-(%2))?\\.mdb$")
            .arg(QRegularExpression::escape(base), tags.join(QLatin1Char('|'))));
}

struct NamedBackup {
    QString path;
    QString stamp;  // date and time to the second
    int counter = 1;
    QString order;  // date, time to the second, counter: sorts as time does
};

// The backups of `base` in `folder`, oldest first.
std::vector<NamedBackup> backupsIn(const QString& folder, const QString& base) {
    const QRegularExpression pattern = backupName(base);
    std::vector<NamedBackup> found;
    const QDir dir(folder);
    for (const QString& name : dir.entryList({base + QStringLiteral("-*.mdb")}, QDir::Files)) {
        const QRegularExpressionMatch m = pattern.match(name);
        if (!m.hasMatch()) continue;
        const QString seconds = m.captured(5).isEmpty() ? QStringLiteral("00") : m.captured(5);
        const QString counter = m.captured(6).isEmpty() ? QStringLiteral("1") : m.captured(6);
        const QString stamp =
            m.captured(1) + m.captured(2) + m.captured(3) + m.captured(4) + seconds;
        // Two of one second and counter (made at the same moment by two
        // programs) come in the order of their names.
        found.push_back({dir.filePath(name), stamp, counter.toInt(),
                         stamp + counter.rightJustified(6, QLatin1Char('0')) + name});
    }
    std::sort(found.begin(), found.end(),
              [](const NamedBackup& a, const NamedBackup& b) { return a.order < b.order; });
    return found;
}

// Gives the complete copy `partial` the name `target` unless a file of that
// name is there: true when named, false when the name is taken.
bool nameIfFree(const QString& partial, const QString& target) {
    const QByteArray from = QFile::encodeName(partial);
    const QByteArray to = QFile::encodeName(target);
    if (::renameat2(AT_FDCWD, from.constData(), AT_FDCWD, to.constData(), RENAME_NOREPLACE) == 0)
        return true;
    if (errno == EEXIST) return false;
    if (errno == EINVAL || errno == ENOSYS || errno == EOPNOTSUPP) {
        // A file system without that kind of rename: a second link is made
        // only under a free name, just as safely.
        if (::link(from.constData(), to.constData()) == 0) {
            ::unlink(from.constData());
            return true;
        }
        if (errno == EEXIST) return false;
    }
    fail(ErrorCode::StoreFailure,
         QStringLiteral("Cannot name the backup %1: %2.").arg(shown(target), systemError(errno)));
}

// A new, empty file for the owner only beside the backups, under a hidden
// name nobody else uses.
QString newPartialFile(const QString& folder, const QString& base) {
    for (int attempt = 0; attempt < 100; ++attempt) {
        const QString partial = QDir(folder).filePath(
            QStringLiteral(".%1.%2.partial")
                .arg(base)
                .arg(QRandomGenerator::global()->generate(), 8, 16, QLatin1Char('0')));
        if (createOwnerOnlyFile(partial)) return partial;
        if (errno != EEXIST)
            fail(ErrorCode::StoreFailure, QStringLiteral("Cannot write a backup into %1: %2.")
                                              .arg(shown(folder), systemError(errno)));
    }
    fail(ErrorCode::StoreFailure,
         QStringLiteral("Cannot find a free temporary name in %1.").arg(shown(folder)));
}

void removePartial(const QString& partial) {
    QFile::remove(partial);
    QFile::remove(partial + QStringLiteral("-journal"));
}

// A complete copy of the database under a temporary name in `folder`.
QString copyIntoPartial(const QString& databasePath, const QString& folder,
                        const CopyProgress& progress) {
    const QString partial = newPartialFile(folder, baseName(databasePath));
    try {
        copyDatabase(databasePath, partial, progress);
    } catch (const LedgerError&) {
        removePartial(partial);
        throw;
    }
    return partial;
}

QString canonical(const QString& path) { return QFileInfo(path).canonicalFilePath(); }

void removeOldest(const QString& folder, const QString& base, const QString& made,
                  const QStringList& spare) {
    QStringList keep = {canonical(made)};
    for (const QString& path : spare) keep << canonical(path);
    std::vector<NamedBackup> backups = backupsIn(folder, base);
    auto count = static_cast<qsizetype>(backups.size());
    for (const NamedBackup& backup : backups) {
        if (count <= kKeptBackups) break;
        if (keep.contains(canonical(backup.path))) continue;
        // One that cannot be removed is not made up for with a newer one.
        QFile::remove(backup.path);
        --count;
    }
}

void addValue(QCryptographicHash& digest, sqlite3_stmt* row, int column) {
    const char type = static_cast<char>('0' + sqlite3_column_type(row, column));
    digest.addData(QByteArrayView(&type, 1));
    switch (sqlite3_column_type(row, column)) {
        case SQLITE_NULL:
            return;
        case SQLITE_INTEGER: {
            const sqlite3_int64 value = sqlite3_column_int64(row, column);
            digest.addData(QByteArrayView(reinterpret_cast<const char*>(&value), sizeof value));
            return;
        }
        case SQLITE_FLOAT: {
            const double value = sqlite3_column_double(row, column);
            digest.addData(QByteArrayView(reinterpret_cast<const char*>(&value), sizeof value));
            return;
        }
        default: {
            const auto* bytes = static_cast<const char*>(sqlite3_column_blob(row, column));
            const qint64 length = sqlite3_column_bytes(row, column);
            digest.addData(QByteArrayView(reinterpret_cast<const char*>(&length), sizeof length));
            digest.addData(QByteArrayView(bytes, length));
        }
    }
}

void addRows(QCryptographicHash& digest, sqlite3* db, const QString& sql, const QString& doing) {
    statements::Statement rows(db, sql, doing);
    while (rows.step()) {
        sqlite3_stmt* row = rows.handle();
        for (int column = 0; column < sqlite3_column_count(row); ++column)
            addValue(digest, row, column);
    }
}

}  // namespace

QString backupFolderFor(const QString& databasePath) {
    return QFileInfo(databasePath).absoluteDir().filePath(QStringLiteral("backups"));
}

QStringList backupsOf(const QString& databasePath) {
    QStringList paths;
    for (const NamedBackup& backup :
         backupsIn(backupFolderFor(databasePath), baseName(databasePath)))
        paths << backup.path;
    return paths;
}

BackupNamed backupNamed(const QString& databasePath, const QString& backupPath) {
    const QRegularExpressionMatch m =
        backupName(baseName(databasePath)).match(QFileInfo(backupPath).fileName());
    if (!m.hasMatch()) return {};
    const QString seconds = m.captured(5).isEmpty() ? QStringLiteral("00") : m.captured(5);
    return {QDateTime::fromString(
                m.captured(1) + m.captured(2) + m.captured(3) + m.captured(4) + seconds,
                QStringLiteral("yyyyMMddHHmmss")),
            m.captured(6).isEmpty() ? 1 : m.captured(6).toInt(), makerTagged(m.captured(7))};
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
                 .arg(shown(from), shown(into), QString::fromUtf8(sqlite3_errmsg(copy.handle()))));
    copy.close();
}

namespace {

// Gives the complete copy `partial` in `folder` the backup name for `when`
// and `maker`, then makes room. Only a complete copy ever carries a
// backup's name, and never one that another backup carries: a backup in a
// second that has some already, whatever made them, counts on from theirs.
QString nameBackup(const QString& partial, const QString& folder, const QString& base,
                   const QDateTime& when, BackupMaker maker, const QStringList& spare) {
    const QString stamp = when.toString(QStringLiteral("yyyy-MM-dd-HHmmss"));
    const QString sortedStamp = when.toString(QStringLiteral("yyyyMMddHHmmss"));
    int counter = 1;
    for (const NamedBackup& backup : backupsIn(folder, base))
        if (backup.stamp == sortedStamp) counter = std::max(counter, backup.counter + 1);
    const QString tag = tagOf(maker).isEmpty() ? QString() : QLatin1Char('-') + tagOf(maker);
    QString target;
    try {
        for (; target.isEmpty(); ++counter) {
            if (counter > kMostInOneSecond)
                fail(ErrorCode::StoreFailure,
                     QStringLiteral("Cannot name the backup: %1 backups of %2 are named for the "
                                    "same second already.")
                         .arg(kMostInOneSecond)
                         .arg(stamp));
            const QString name =
                counter == 1
                    ? QStringLiteral("%1-%2%3.mdb").arg(base, stamp, tag)
                    : QStringLiteral("%1-%2-%3%4.mdb").arg(base, stamp).arg(counter).arg(tag);
            if (nameIfFree(partial, QDir(folder).filePath(name)))
                target = QDir(folder).filePath(name);
        }
    } catch (const LedgerError&) {
        removePartial(partial);
        throw;
    }
    removeOldest(folder, base, target, spare);
    return target;
}

// A byte for byte copy of `path` under a temporary name in `folder`, on
// the disk before it is named.
QString copyBytesIntoPartial(const QString& path, const QString& folder) {
    const QString partial = newPartialFile(folder, baseName(path));
    QFile from(path), into(partial);
    bool copied = from.open(QIODevice::ReadOnly) && into.open(QIODevice::WriteOnly);
    while (copied && !from.atEnd()) {
        const QByteArray piece = from.read(1 << 20);
        copied = !piece.isEmpty() && into.write(piece) == piece.size();
    }
    copied = copied && into.flush() && ::fsync(into.handle()) == 0;
    const QString why = from.error() != QFile::NoError ? from.errorString() : into.errorString();
    into.close();
    if (!copied) {
        removePartial(partial);
        fail(ErrorCode::StoreFailure,
             QStringLiteral("Cannot keep %1 as a backup: %2.").arg(shown(path), why));
    }
    return partial;
}

}  // namespace

QString backUpDatabase(const QString& databasePath, const QDateTime& when, BackupMaker maker,
                       const QString& folderGiven, const CopyProgress& progress,
                       const QStringList& spare) {
    const QString folder = folderGiven.isEmpty() ? backupFolderFor(databasePath) : folderGiven;
    makeOwnerOnlyFolder(folder);
    const QString partial = copyIntoPartial(databasePath, folder, progress);
    return nameBackup(partial, folder, baseName(databasePath), when, maker, spare);
}

QString keepAsBackup(const QString& path, BackupMaker maker, const QStringList& spare) {
    const FileKind kind = fileKindOf(path);
    if (kind == FileKind::Empty) return {};
    // A database too damaged for SQLite's copy is kept as its bytes.
    if (kind == FileKind::Sqlite) try {
            return backUpDatabase(path, QDateTime::currentDateTime(), maker, {}, {}, spare);
        } catch (const LedgerError&) {
        }
    const QString folder = backupFolderFor(path);
    makeOwnerOnlyFolder(folder);
    return nameBackup(copyBytesIntoPartial(path, folder), folder, baseName(path),
                      QDateTime::currentDateTime(), maker, spare);
}

void backUpDatabaseAs(const QString& databasePath, const QString& targetGiven,
                      const CopyProgress& progress) {
    const QString target = QFileInfo(targetGiven).absoluteFilePath();
    if (QFileInfo::exists(target) || QFileInfo(target).isSymLink())
        fail(ErrorCode::StoreFailure,
             QStringLiteral("%1 already exists; it was left as it is. Name a new file, or a "
                            "folder for the backup.")
                 .arg(shown(target)));
    const QString folder = QFileInfo(target).absolutePath();
    if (!QFileInfo(folder).isDir())
        fail(ErrorCode::FileNotFound,
             QStringLiteral("Cannot write the backup %1: the folder %2 does not exist.")
                 .arg(shown(target), shown(folder)));
    const QString partial = copyIntoPartial(databasePath, folder, progress);
    try {
        if (!nameIfFree(partial, target))
            fail(ErrorCode::StoreFailure,
                 QStringLiteral("%1 appeared while the backup was written; it was left as it is.")
                     .arg(shown(target)));
    } catch (const LedgerError&) {
        removePartial(partial);
        throw;
    }
}

QByteArray contentDigest(const QString& path) {
    statements::Connection db(path, statements::Connection::Mode::ReadOnly);
    const QString doing = QStringLiteral("Reading %1").arg(shown(path));
    QCryptographicHash digest(QCryptographicHash::Sha256);
    addRows(digest, db.handle(),
            QStringLiteral("SELECT type, name, tbl_name, sql FROM sqlite_master ORDER BY type, "
                           "name"),
            doing);
    QStringList tables;
    {
        statements::Statement names(
            db.handle(),
            QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'table' ORDER BY name"),
            doing);
        while (names.step()) tables << names.value(0).toString();
    }
    for (const QString& table : tables) {
        digest.addData(table.toUtf8());
        // Tables without row numbers come in the order of their keys.
        QString sql = QStringLiteral("SELECT * FROM %1 ORDER BY rowid").arg(quoteName(table));
        sqlite3_stmt* probe = nullptr;
        if (sqlite3_prepare_v2(db.handle(), sql.toUtf8().constData(), -1, &probe, nullptr) !=
            SQLITE_OK)
            sql = QStringLiteral("SELECT * FROM %1").arg(quoteName(table));
        sqlite3_finalize(probe);
        addRows(digest, db.handle(), sql, doing);
    }
    return digest.result();
}

}  // namespace ledger
