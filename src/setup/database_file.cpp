// SPDX-License-Identifier: GPL-3.0-or-later
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "ledger/base/ledger_error.h"
#include "ledger/store/backup.h"
#include "ledger/store/sqlite/sqlite_statements.h"
#include "setup/database_target.h"
#include "setup/restore.h"
#include "setup/schema_builder.h"

namespace setup {

namespace statements = ledger::statements;
using ledger::ErrorCode;
using ledger::fail;

namespace {

QString systemError(int error) { return QString::fromLocal8Bit(std::strerror(error)); }

QByteArray encoded(const QString& path) { return QFile::encodeName(path); }

// A new, empty file beside the final one, with a name nobody else uses
// (created exclusively, for the owner only: the books hold wages and
// takings), removed again unless the build succeeds. It stays
// locked while it exists, so a later run can tell it from one left behind
// by a run that was stopped.
class PartialFile {
public:
    PartialFile(const QString& folder, const QString& finalName) {
        for (int attempt = 0; attempt < 100; ++attempt) {
            path_ = QDir(folder).filePath(
                QStringLiteral(".%1.%2.partial")
                    .arg(finalName)
                    .arg(QRandomGenerator::global()->generate(), 8, 16, QLatin1Char('0')));
            lockFd_ =
                ::open(encoded(path_).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
            if (lockFd_ >= 0) {
                ::flock(lockFd_, LOCK_EX);
                return;
            }
            if (errno != EEXIST)
                fail(ErrorCode::StoreFailure,
                     QStringLiteral("Cannot create a file in %1: %2")
                         .arg(QDir::toNativeSeparators(folder), systemError(errno)));
        }
        fail(ErrorCode::StoreFailure,
             QStringLiteral("Cannot find a free temporary name in %1").arg(folder));
    }
    ~PartialFile() {
        if (!path_.isEmpty()) {
            QFile::remove(path_);
            QFile::remove(path_ + QStringLiteral("-journal"));
        }
        if (lockFd_ >= 0) ::close(lockFd_);
    }
    PartialFile(const PartialFile&) = delete;
    PartialFile& operator=(const PartialFile&) = delete;

    const QString& path() const { return path_; }
    void keep() { path_.clear(); }

private:
    QString path_;
    int lockFd_ = -1;
};

void build(const QString& path, bool withDemoData) {
    statements::Connection db(path);
    statements::run(db.handle(), QStringLiteral("PRAGMA synchronous = FULL; BEGIN IMMEDIATE"),
                    QStringLiteral("Preparing %1").arg(path));
    try {
        createSchema(db);
        if (withDemoData) fillDemoData(db);
        // The history begins with the books as they are handed over.
        keepHistory(db);
        statements::run(db.handle(), QStringLiteral("COMMIT"),
                        QStringLiteral("Writing %1").arg(path));
    } catch (...) {
        db.rollBackQuietly();
        throw;
    }
    db.close();
}

// Flushes a file or folder to the disk, so the rename that follows cannot
// outrun its contents after a power loss.
void syncToDisk(const QString& path, bool folder) {
    int fd =
        ::open(encoded(path).constData(), (folder ? O_RDONLY | O_DIRECTORY : O_RDWR) | O_CLOEXEC);
    if (fd < 0 || ::fsync(fd) != 0) {
        int error = errno;
        if (fd >= 0) ::close(fd);
        fail(ErrorCode::StoreFailure,
             QStringLiteral("Cannot write %1 to the disk: %2").arg(path, systemError(error)));
    }
    ::close(fd);
}

}  // namespace

namespace {

// Books another program has open are theirs: replacing them would leave that
// program writing into a file nobody reads any more.
void refuseWhileOpenElsewhere(const QString& file, const QString& shown) {
    if (const QStringList holders = programsHolding(file); !holders.isEmpty())
        fail(ErrorCode::StoreFailure,
             QStringLiteral("%1 is open in a running program (process %2); close it first. It "
                            "was left as it is.")
                 .arg(shown, holders.join(QStringLiteral(", "))));
}

}  // namespace

QString writeDatabaseFile(const QString& path, bool withDemoData, bool overwrite,
                          const std::function<void(const QString& newFile)>& beforeNaming) {
    const DatabaseTarget target = resolveDatabaseTarget(path);
    const QString shown = QDir::toNativeSeparators(target.named);
    if (!overwrite && target.isDanglingLink())
        fail(ErrorCode::StoreFailure,
             QStringLiteral("%1 already exists: it is a link to the missing file %2. It was left "
                            "as it is.")
                 .arg(shown, QDir::toNativeSeparators(target.file)));
    if (!overwrite && (target.exists || target.isLink()))
        fail(ErrorCode::StoreFailure,
             QStringLiteral("%1 already exists; it was left as it is.").arg(shown));
    // Nothing beside the old file is ever removed: its journal may be the only
    // way back to a consistent old file. A file in the middle of a write is
    // refused instead, as SQLite would play its journal into the new file.
    if (target.exists) {
        ensureReplaceable(target.file);
        refuseWhileOpenElsewhere(target.file, shown);
    }

    // Built beside the file a link points to, so the rename replaces that
    // file and the link stays.
    const QFileInfo file(target.file);
    PartialFile partial(file.absolutePath(), file.fileName());
    build(partial.path(), withDemoData);
    if (beforeNaming) beforeNaming(partial.path());
    syncToDisk(partial.path(), false);
    // A program may have started writing to the old file while this one was
    // built. What is replaced stays as a backup.
    QString kept;
    if (target.exists) {
        ensureReplaceable(target.file);
        refuseWhileOpenElsewhere(target.file, shown);
        kept = ledger::keepAsBackup(target.file, ledger::BackupMaker::BeforeCreate);
    }
    // A file replaced keeps the permissions its owner gave it.
    struct stat old {};
    if (target.exists && ::stat(encoded(target.file).constData(), &old) == 0)
        ::chmod(encoded(partial.path()).constData(), old.st_mode & 07777);
    // rename() replaces the old file in one step: the name always shows
    // either the old file or the complete new one.
    if (::rename(encoded(partial.path()).constData(), encoded(target.file).constData()) != 0)
        fail(ErrorCode::StoreFailure,
             QStringLiteral("Cannot put the new database at %1: %2%3")
                 .arg(shown, systemError(errno),
                      kept.isEmpty() ? QString()
                                     : QStringLiteral(" (it was kept as %1 as well)")
                                           .arg(QDir::toNativeSeparators(kept))));
    partial.keep();
    // The new file is complete under its name; making the rename itself
    // durable is a best effort that must not report a finished file as failed.
    try {
        syncToDisk(file.absolutePath(), true);
    } catch (const ledger::LedgerError&) {
    }
    return kept;
}

}  // namespace setup
