// tallowbrook-db backup / restore: a copy of the books made while they may be
// in use, and that copy put back in their place.

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <cstring>

#include "command.h"
#include "ledger/base/ledger_error.h"
#include "ledger/base/owner_only.h"
#include "ledger/store/backup.h"
#include "ledger/store/server_address.h"
#include "ledger_file_check.h"
#include "setup/database_target.h"

namespace tools {

namespace {

// Shows how far a copy of a large file is, on one line that it rewrites.
ledger::CopyProgress progressOn(QTextStream& err) {
    return [&err](int copied, int total) {
        if (total < 2048) return;  // small files are done before anyone looks
        err << "\rCopying: " << (100 * copied / total) << "% " << Qt::flush;
        if (copied == total) err << Qt::endl;
    };
}

// The running programs that have `file` open, found through the kernel's
// list of each process's open files.
QStringList programsHolding(const QString& file) {
    const QString wanted = QFileInfo(file).canonicalFilePath();
    QStringList holders;
    const QDir processes(QStringLiteral("/proc"));
    for (const QString& pid : processes.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        bool isPid = false;
        if (pid.toLongLong(&isPid) == QCoreApplication::applicationPid() || !isPid) continue;
        const QDir fds(processes.filePath(pid + QStringLiteral("/fd")));
        for (const QFileInfo& fd :
             fds.entryInfoList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot)) {
            if (fd.symLinkTarget() != wanted) continue;
            holders << pid;
            break;
        }
    }
    return holders;
}

// A backup named as a file rather than a folder: .mdb, .db or .sqlite.
bool namesADatabaseFile(const QString& destination) {
    const QString suffix = QFileInfo(destination).suffix().toLower();
    return suffix == QLatin1String("mdb") || suffix == QLatin1String("db") ||
           suffix == QLatin1String("sqlite");
}

int failed(const CommandCall& call, const QString& message) {
    call.err << "tallowbrook-db: " << message << Qt::endl;
    return 1;
}

// A server database is backed up by the server's own tools; a file copy of
// it is what copy makes.
int refuseServerDatabase(const CommandCall& call, const QString& address) {
    call.err << "tallowbrook-db: " << ledger::displayName(address)
             << " is a server database: back it up with the server's own tools (pg_dump), or "
                "copy it into a file with tallowbrook-db copy ADDRESS FILE."
             << Qt::endl;
    return 1;
}

}  // namespace

int backupCommand(const CommandCall& call) {
    const QString& path = call.arguments.at(0);
    const QString destination = call.arguments.size() > 1 ? call.arguments.at(1) : QString();
    if (ledger::isServerAddress(path)) return refuseServerDatabase(call, path);
    if (!QFileInfo(path).isFile())
        return failed(call,
                      QStringLiteral("%1 does not exist.").arg(QDir::toNativeSeparators(path)));
    const QFileInfo target(destination);
    // A folder there takes a dated backup; a file there is never replaced.
    if (!destination.isEmpty() && !target.isDir() && (target.exists() || target.isSymLink()))
        return failed(call, QStringLiteral("%1 already exists and is no folder; it was left as it "
                                           "is. Name a folder, or a new file ending in .mdb.")
                                .arg(QDir::toNativeSeparators(destination)));
    try {
        QString made = destination;
        if (!destination.isEmpty() && !target.isDir() && namesADatabaseFile(destination))
            ledger::backUpDatabaseAs(path, destination, progressOn(call.err));
        else
            made = ledger::backUpDatabase(path, QDateTime::currentDateTime(), destination,
                                          progressOn(call.err));
        call.out << "Backed up " << QDir::toNativeSeparators(path) << " to "
                 << QDir::toNativeSeparators(made) << "." << Qt::endl;
    } catch (const ledger::LedgerError& e) {
        return failed(call, e.message());
    }
    return 0;
}

int restoreCommand(const CommandCall& call) {
    const QString& backup = call.arguments.at(0);
    const QString& path = call.arguments.at(1);
    for (const QString& named : {backup, path})
        if (ledger::isServerAddress(named)) return refuseServerDatabase(call, named);
    const QString shown = QDir::toNativeSeparators(path);
    const QString shownBackup = QDir::toNativeSeparators(backup);
    if (!QFileInfo(backup).isFile())
        return failed(call, QStringLiteral("the backup %1 does not exist.").arg(shownBackup));
    // The same check as tallowbrook-db check: a backup the program could not
    // open as its books is never put in their place.
    if (const QStringList problems = ledgerFileProblems(backup); !problems.isEmpty())
        return failed(call, QStringLiteral("the backup %1 is not books the program can open; "
                                           "nothing was restored:\n%2")
                                .arg(shownBackup, problems.join(QLatin1Char('\n'))));
    const bool replacing = QFileInfo::exists(path);
    if (replacing && QFileInfo(path).canonicalFilePath() == QFileInfo(backup).canonicalFilePath())
        return failed(call,
                      QStringLiteral("%1 is the backup itself; nothing was restored.").arg(shown));
    QString kept;
    try {
        if (replacing) {
            if (const QStringList holders = programsHolding(path); !holders.isEmpty())
                return failed(call, QStringLiteral("%1 is open in a running program (process %2); "
                                                   "close it first. Nothing was restored.")
                                        .arg(shown, holders.join(QStringLiteral(", "))));
            ledger::ensureReplaceable(path);
            // The books being replaced stay as a backup of their own; the
            // backup being restored is never the one that makes room for it.
            kept = ledger::backUpDatabase(path, QDateTime::currentDateTime(), {}, {},
                                          {QFileInfo(backup).absoluteFilePath()});
            call.out << "Kept the replaced file as " << QDir::toNativeSeparators(kept) << "."
                     << Qt::endl;
        } else {
            ledger::ensureOpenablePath(path);
            if (!ledger::createOwnerOnlyFile(path))
                return failed(call, QStringLiteral("Cannot create %1: %2.")
                                        .arg(shown, QString::fromLocal8Bit(std::strerror(errno))));
        }
        ledger::copyDatabase(backup, path, progressOn(call.err));
        // Restored means the books now hold exactly what the backup holds.
        if (ledger::contentDigest(path) != ledger::contentDigest(backup))
            return failed(call,
                          QStringLiteral("after the restore %1 does not hold what the backup %2 "
                                         "holds (a program may have written to either "
                                         "meanwhile). Check the books before going on%3.")
                              .arg(shown, shownBackup,
                                   kept.isEmpty() ? QString()
                                                  : QStringLiteral("; the books as they were are "
                                                                   "kept as %1")
                                                        .arg(QDir::toNativeSeparators(kept))));
    } catch (const ledger::LedgerError& e) {
        if (!replacing) QFile::remove(path);  // made by this restore, never finished
        return failed(call, e.message());
    }
    call.out << "Restored " << shown << " from " << shownBackup << "." << Qt::endl;
    return 0;
}

}  // namespace tools
