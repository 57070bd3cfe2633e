// SPDX-License-Identifier: GPL-3.0-or-later
// tallowbrook-db backup / restore: a copy of the books made while they may be
// in use, and that copy put back in their place.

#include <QDateTime>
#include <QDir>
#include <QFileInfo>

#include "command.h"
#include "ledger/base/ledger_error.h"
#include "ledger/store/backup.h"
#include "ledger/store/file_kind.h"
#include "ledger/store/server_address.h"
#include "setup/restore.h"

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
    if (const QString what = ledger::notAFile(path); !what.isEmpty())
        return failed(call, QStringLiteral("%1 is %2, not a database file.")
                                .arg(QDir::toNativeSeparators(path), what));
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
            made = ledger::backUpDatabase(path, QDateTime::currentDateTime(),
                                          ledger::BackupMaker::Tool, destination,
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
    try {
        const setup::Restored restored = setup::restoreBackup(backup, path, progressOn(call.err));
        if (!restored.kept.isEmpty())
            call.out << "Kept the replaced file as " << QDir::toNativeSeparators(restored.kept)
                     << "." << Qt::endl;
        call.out << "Restored " << QDir::toNativeSeparators(path) << " from "
                 << QDir::toNativeSeparators(backup) << "." << Qt::endl;
        for (const QString& note : restored.notes) call.out << note << Qt::endl;
    } catch (const ledger::LedgerError& e) {
        return failed(call, e.message());
    }
    return 0;
}

}  // namespace tools
