// SPDX-License-Identifier: GPL-3.0-or-later
#include "setup/database_target.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include "ledger/base/ledger_error.h"
#include "ledger/store/file_kind.h"
#include "ledger/store/sqlite/sqlite_statements.h"

namespace setup {

using ledger::ErrorCode;
using ledger::fail;

namespace {

QString shown(const QString& path) { return QDir::toNativeSeparators(path); }

// A file made a minute ago or earlier is no longer being set up by a run that
// has just created it and not yet locked it.
constexpr qint64 kStaleAfterSeconds = 60;
constexpr int kMostLinksFollowed = 40;

void ensureShortEnough(const QString& path, int longest) {
    const qsizetype bytes = QFile::encodeName(path).size();
    if (bytes <= longest) return;
    const QString length = bytes == path.size() ? QStringLiteral("%1 characters").arg(bytes)
                                                : QStringLiteral("%1 bytes").arg(bytes);
    fail(ErrorCode::StoreFailure,
         QStringLiteral("The path %1 is too long for a database file: it is %2 long, and at most "
                        "%3 fit. Choose a shorter folder or name.")
             .arg(shown(path), length)
             .arg(longest));
}

// The file a chain of links ends at, even when that file is missing.
QString followLinks(const QString& path) {
    QString current = path;
    for (int hop = 0; hop < kMostLinksFollowed; ++hop) {
        const QFileInfo info(current);
        if (!info.isSymLink()) return current;
        current = info.symLinkTarget();
    }
    fail(ErrorCode::StoreFailure,
         QStringLiteral("%1 is a link in a chain of more than %2 links; it was left as it is.")
             .arg(shown(path))
             .arg(kMostLinksFollowed));
}

// Locked by another connection right now: the program holds its lock only
// while it writes, so a write in progress is what this finds.
bool lockedByAnotherConnection(const QString& file) {
    // Any failure but a lock (not a database, unreadable) says nothing about
    // a running program; replacing such a file is what --force is for.
    try {
        ledger::statements::Connection db(file);
        return db.lockedByAnother();
    } catch (const ledger::LedgerError&) {
        return false;
    }
}

bool heldByRunningTool(const QString& partial) {
    const int fd = ::open(QFile::encodeName(partial).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    const bool held = ::flock(fd, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK;
    ::close(fd);
    return held;
}

}  // namespace

void ensureOpenablePath(const QString& path) {
    ensureShortEnough(QFileInfo(path).absoluteFilePath(), kLongestOpenablePath);
}

DatabaseTarget resolveDatabaseTarget(const QString& path) {
    if (path.isEmpty()) fail(ErrorCode::FileNotFound, QStringLiteral("No database file named."));
    DatabaseTarget target;
    target.named = QFileInfo(path).absoluteFilePath();
    ensureShortEnough(target.named, kLongestDatabasePath);
    if (QFileInfo(target.named).isSymLink()) {
        target.linkTo = QFileInfo(followLinks(target.named)).absoluteFilePath();
        target.file = target.linkTo;
        ensureShortEnough(target.file, kLongestDatabasePath);
    } else {
        target.file = target.named;
    }
    const QFileInfo file(target.file);
    if (file.isDir())
        fail(ErrorCode::StoreFailure,
             QStringLiteral("%1 is a folder, not a database file; name a file in it, e.g. %2.")
                 .arg(shown(target.named),
                      shown(QDir(target.named).filePath(QStringLiteral("breakfast.mdb")))));
    // A named pipe or a device is never replaced (nor read: a pipe would
    // keep the copy of what it replaces waiting for ever).
    if (const QString what = ledger::notAFile(target.file); !what.isEmpty())
        fail(ErrorCode::StoreFailure, QStringLiteral("%1 is %2, not a database file; it was left "
                                                     "as it is.")
                                          .arg(shown(target.named), what));
    const QString folder = file.absolutePath();
    if (!QFileInfo(folder).isDir())
        fail(ErrorCode::FileNotFound,
             target.isLink()
                 ? QStringLiteral("Cannot create %1: it is a link to %2, whose folder %3 does "
                                  "not exist.")
                       .arg(shown(target.named), shown(target.file), shown(folder))
                 : QStringLiteral("Cannot create %1: the folder %2 does not exist.")
                       .arg(shown(target.named), shown(folder)));
    target.exists = file.exists();
    return target;
}

void ensureReplaceable(const QString& file) {
    const QString journal = file + QStringLiteral("-journal");
    const QString wal = file + QStringLiteral("-wal");
    const QString advice = QStringLiteral(
        " It was left as it is. Open it once in the program, so the write is rolled back or "
        "completed, then try again.");
    if (QFileInfo(journal).size() > 0)
        fail(ErrorCode::StoreFailure,
             QStringLiteral("%1 holds a write that did not finish (its journal %2 is there).")
                     .arg(shown(file), shown(journal)) +
                 advice);
    if (QFileInfo::exists(wal))
        fail(ErrorCode::StoreFailure,
             QStringLiteral("%1 holds writes not yet copied into it (its write-ahead log %2 is "
                            "there).")
                     .arg(shown(file), shown(wal)) +
                 advice);
    // Only a regular file can be a database; reading a pipe would wait forever.
    if (QFileInfo(file).isFile() && lockedByAnotherConnection(file))
        fail(ErrorCode::StoreFailure,
             QStringLiteral("%1 is open in a running program, which is writing to it. It was "
                            "left as it is. Close the program, then try again.")
                 .arg(shown(file)));
}

QStringList removeStalePartials(const QString& file) {
    const QFileInfo target(file);
    const QRegularExpression ours(QStringLiteral("^\\.%1\\.[0-9a-f]{8}\\.partial(-journal)?$")
                                      .arg(QRegularExpression::escape(target.fileName())));
    const QDateTime staleBefore = QDateTime::currentDateTimeUtc().addSecs(-kStaleAfterSeconds);
    QDir folder(target.absolutePath());
    QStringList removed;
    const auto entries =
        folder.entryInfoList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
    for (const QFileInfo& entry : entries) {
        if (!ours.match(entry.fileName()).hasMatch()) continue;
        if (entry.lastModified().toUTC() > staleBefore) continue;
        const QString partial = entry.fileName().endsWith(QStringLiteral("-journal"))
                                    ? entry.absoluteFilePath().chopped(8)
                                    : entry.absoluteFilePath();
        if (heldByRunningTool(partial)) continue;
        if (QFile::remove(entry.absoluteFilePath())) removed << entry.fileName();
    }
    return removed;
}

}  // namespace setup
