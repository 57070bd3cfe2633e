// tallowbrook-db backup / restore: a copy of the books made while they may be
// in use, and that copy put back in their place.

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>

#include "command.h"
#include "ledger/base/ledger_error.h"
#include "ledger/store/backup.h"
#include "ledger/store/server_address.h"
#include "ledger/store/sqlite/sqlite_statements.h"
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

bool isSoundDatabase(const QString& path, QString& why) {
    try {
        ledger::statements::Connection db(path, ledger::statements::Connection::Mode::ReadOnly);
        ledger::statements::Statement check(db.handle(), QStringLiteral("PRAGMA integrity_check"),
                                            QStringLiteral("Checking %1").arg(path));
        why = check.step() ? check.value(0).toString() : QStringLiteral("no answer");
        return why == QStringLiteral("ok");
    } catch (const ledger::LedgerError& e) {
        why = e.message();
        return false;
    }
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
    const QString folder = call.arguments.size() > 1 ? call.arguments.at(1) : QString();
    if (ledger::isServerAddress(path)) return refuseServerDatabase(call, path);
    if (!QFileInfo(path).isFile()) {
        call.err << "tallowbrook-db: " << QDir::toNativeSeparators(path) << " does not exist."
                 << Qt::endl;
        return 1;
    }
    try {
        const QString made = ledger::backUpDatabase(path, QDateTime::currentDateTime(), folder,
                                                    progressOn(call.err));
        call.out << "Backed up " << QDir::toNativeSeparators(path) << " to "
                 << QDir::toNativeSeparators(made) << "." << Qt::endl;
    } catch (const ledger::LedgerError& e) {
        call.err << "tallowbrook-db: " << e.message() << Qt::endl;
        return 1;
    }
    return 0;
}

int restoreCommand(const CommandCall& call) {
    const QString& backup = call.arguments.at(0);
    const QString& path = call.arguments.at(1);
    for (const QString& named : {backup, path})
        if (ledger::isServerAddress(named)) return refuseServerDatabase(call, named);
    const QString shown = QDir::toNativeSeparators(path);
    if (!QFileInfo(backup).isFile()) {
        call.err << "tallowbrook-db: the backup " << QDir::toNativeSeparators(backup)
                 << " does not exist." << Qt::endl;
        return 1;
    }
    QString why;
    if (!isSoundDatabase(backup, why)) {
        call.err << "tallowbrook-db: the backup " << QDir::toNativeSeparators(backup)
                 << " is damaged (" << why << "); nothing was restored." << Qt::endl;
        return 1;
    }
    try {
        if (QFileInfo(path).exists()) {
            if (const QStringList holders = programsHolding(path); !holders.isEmpty()) {
                call.err << "tallowbrook-db: " << shown << " is open in a running program "
                         << "(process " << holders.join(QStringLiteral(", "))
                         << "); close it first. Nothing was restored." << Qt::endl;
                return 1;
            }
            ledger::ensureReplaceable(path);
            // The books being replaced stay as a backup of their own.
            const QString kept = ledger::backUpDatabase(path, QDateTime::currentDateTime());
            call.out << "Kept the replaced file as " << QDir::toNativeSeparators(kept) << "."
                     << Qt::endl;
        }
        ledger::copyDatabase(backup, path, progressOn(call.err));
    } catch (const ledger::LedgerError& e) {
        call.err << "tallowbrook-db: " << e.message() << Qt::endl;
        return 1;
    }
    call.out << "Restored " << shown << " from " << QDir::toNativeSeparators(backup) << "."
             << Qt::endl;
    return 0;
}

}  // namespace tools
