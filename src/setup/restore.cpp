// SPDX-License-Identifier: GPL-3.0-or-later
#include "setup/restore.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <cstring>

#include "ledger/base/ledger_error.h"
#include "ledger/base/owner_only.h"
#include "ledger/schema/schema.h"
#include "ledger/store/file_kind.h"
#include "ledger/store/source_info.h"
#include "ledger/store/sqlite/sqlite_statements.h"
#include "setup/database_target.h"
#include "setup/history_upkeep.h"
#include "setup/kept_totals_upkeep.h"
#include "setup/ledger_file_check.h"

namespace setup {

namespace statements = ledger::statements;
using ledger::ErrorCode;
using ledger::fail;

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

Restored restoreBackup(const QString& backup, const QString& path,
                       const ledger::CopyProgress& progress) {
    const QString shown = QDir::toNativeSeparators(path);
    const QString shownBackup = QDir::toNativeSeparators(backup);
    for (const QString& named : {backup, path})
        if (const QString what = ledger::notAFile(named); !what.isEmpty())
            fail(ErrorCode::StoreFailure,
                 QStringLiteral("%1 is %2, not a database file; nothing was restored.")
                     .arg(QDir::toNativeSeparators(named), what));
    if (!QFileInfo(backup).isFile())
        fail(ErrorCode::FileNotFound,
             QStringLiteral("the backup %1 does not exist.").arg(shownBackup));
    if (const QStringList problems = ledgerFileProblems(backup); !problems.isEmpty())
        fail(ErrorCode::NotADatabase,
             QStringLiteral("the backup %1 is not books the program can open; nothing was "
                            "restored:\n%2")
                 .arg(shownBackup, problems.join(QLatin1Char('\n'))));
    const bool replacing = QFileInfo::exists(path);
    if (replacing && QFileInfo(path).canonicalFilePath() == QFileInfo(backup).canonicalFilePath())
        fail(ErrorCode::StoreFailure,
             QStringLiteral("%1 is the backup itself; nothing was restored.").arg(shown));
    QString kept;
    try {
        if (replacing) {
            if (const QStringList holders = programsHolding(path); !holders.isEmpty())
                fail(ErrorCode::StoreFailure,
                     QStringLiteral("%1 is open in a running program (process %2); close it "
                                    "first. Nothing was restored.")
                         .arg(shown, holders.join(QStringLiteral(", "))));
            ensureReplaceable(path);
            // The books being replaced stay as a backup of their own; the
            // backup being restored is never the one that makes room for it.
            kept = ledger::keepAsBackup(path, ledger::BackupMaker::BeforeRestore,
                                        {QFileInfo(backup).absoluteFilePath()});
        } else {
            ensureOpenablePath(path);
            if (!ledger::createOwnerOnlyFile(path))
                fail(ErrorCode::StoreFailure,
                     QStringLiteral("Cannot create %1: %2.")
                         .arg(shown, QString::fromLocal8Bit(std::strerror(errno))));
        }
        ledger::copyDatabase(backup, path, progress);
    } catch (const ledger::LedgerError& e) {
        if (!replacing) QFile::remove(path);  // made by this restore, never finished
        if (kept.isEmpty()) throw;
        fail(e.code(), e.message() + QStringLiteral(" The books as they were are kept as %1.")
                                         .arg(QDir::toNativeSeparators(kept)));
    }
    // Restored means the books now hold exactly what the backup holds.
    if (ledger::contentDigest(path) != ledger::contentDigest(backup))
        fail(ErrorCode::StoreFailure,
             QStringLiteral("after the restore %1 does not hold what the backup %2 holds (a "
                            "program may have written to either meanwhile). Check the books "
                            "before going on%3.")
                 .arg(shown, shownBackup,
                      kept.isEmpty() ? QString()
                                     : QStringLiteral("; the books as they were are kept as %1")
                                           .arg(QDir::toNativeSeparators(kept))));
    // The backup may come from a version whose triggers missed a change, or
    // hold totals changed by hand: they are kept as the check keeps them.
    return {kept, keptTotalsNotesAt(path) + historyNotesAt(path)};
}

int dayCountOf(const QString& file) {
    try {
        if (!notADatabaseReason(file).isEmpty()) return -1;
        statements::Connection db(file, statements::Connection::Mode::ReadOnly);
        statements::Statement count(db.handle(),
                                    QStringLiteral("SELECT count(*) FROM %1")
                                        .arg(ledger::quoteName(ledger::schema::kLedger)),
                                    QStringLiteral("Counting the days of %1").arg(file));
        return count.step() ? count.value(0).toInt() : -1;
    } catch (const ledger::LedgerError&) {
        return -1;
    }
}

}  // namespace setup
