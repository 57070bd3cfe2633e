#include <fcntl.h>
#include <sqlite3.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "ledger_error.h"
#include "schema_builder.h"
#include "schema_statements.h"

namespace ledger {

namespace {

QString systemError(int error) { return QString::fromLocal8Bit(std::strerror(error)); }

QByteArray encoded(const QString& path) { return QFile::encodeName(path); }

// A new, empty file beside the final one, with a name nobody else uses
// (created exclusively), removed again unless the build succeeds.
class PartialFile {
public:
    PartialFile(const QString& folder, const QString& finalName) {
        for (int attempt = 0; attempt < 100; ++attempt) {
            path_ = QDir(folder).filePath(
                QStringLiteral(".%1.%2.partial")
                    .arg(finalName)
                    .arg(QRandomGenerator::global()->generate(), 8, 16, QLatin1Char('0')));
            int fd =
                ::open(encoded(path_).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
            if (fd >= 0) {
                ::close(fd);
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
        if (path_.isEmpty()) return;
        QFile::remove(path_);
        QFile::remove(path_ + QStringLiteral("-journal"));
    }
    PartialFile(const PartialFile&) = delete;
    PartialFile& operator=(const PartialFile&) = delete;

    const QString& path() const { return path_; }
    void keep() { path_.clear(); }

private:
    QString path_;
};

void build(const QString& path, bool withDemoData) {
    statements::Connection db(path);
    statements::run(db.handle(), QStringLiteral("PRAGMA synchronous = FULL; BEGIN IMMEDIATE"),
                    QStringLiteral("Preparing %1").arg(path));
    try {
        createSchema(db.handle());
        if (withDemoData) fillDemoData(db.handle());
        statements::run(db.handle(), QStringLiteral("COMMIT"),
                        QStringLiteral("Writing %1").arg(path));
    } catch (...) {
        sqlite3_exec(db.handle(), "ROLLBACK", nullptr, nullptr, nullptr);
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

// A journal or write-ahead log left beside the old file belongs to the old
// contents; SQLite would otherwise play it back into the new file.
void removeLeftoversOf(const QString& path) {
    for (const char* suffix : {"-journal", "-wal", "-shm"}) {
        const QString leftover = path + QString::fromLatin1(suffix);
        if (QFileInfo::exists(leftover) && !QFile::remove(leftover))
            fail(ErrorCode::StoreFailure,
                 QStringLiteral("Cannot remove %1, which belongs to the old %2")
                     .arg(leftover, path));
    }
}

}  // namespace

void writeDatabaseFile(const QString& path, bool withDemoData, bool overwrite) {
    if (path.isEmpty()) fail(ErrorCode::FileNotFound, QStringLiteral("No database file named."));
    const QFileInfo target(path);
    const QString shown = QDir::toNativeSeparators(target.absoluteFilePath());
    const QString folder = target.absolutePath();
    if (!QFileInfo(folder).isDir())
        fail(ErrorCode::FileNotFound,
             QStringLiteral("Cannot create %1: the folder %2 does not exist.")
                 .arg(shown, QDir::toNativeSeparators(folder)));
    if (!overwrite && (target.exists() || target.isSymLink()))
        fail(ErrorCode::StoreFailure,
             QStringLiteral("%1 already exists; it was left as it is.").arg(shown));

    PartialFile partial(folder, target.fileName());
    build(partial.path(), withDemoData);
    syncToDisk(partial.path(), false);
    if (overwrite) removeLeftoversOf(target.absoluteFilePath());
    // rename() replaces the old file in one step: the name always shows
    // either the old file or the complete new one.
    if (::rename(encoded(partial.path()).constData(),
                 encoded(target.absoluteFilePath()).constData()) != 0)
        fail(
            ErrorCode::StoreFailure,
            QStringLiteral("Cannot put the new database at %1: %2").arg(shown, systemError(errno)));
    partial.keep();
    // The new file is complete under its name; making the rename itself
    // durable is a best effort that must not report a finished file as failed.
    try {
        syncToDisk(folder, true);
    } catch (const LedgerError&) {
    }
}

}  // namespace ledger
