// SPDX-License-Identifier: GPL-3.0-or-later
// tallowbrook-db check: what an existing file lacks for the program.

#include <QDir>
#include <QFileInfo>

#include "command.h"
#include "ledger/base/ledger_error.h"
#include "ledger/store/server_address.h"
#include "server_commands.h"
#include "setup/database_target.h"
#include "setup/history_upkeep.h"
#include "setup/kept_totals_upkeep.h"
#include "setup/ledger_file_check.h"
#include "setup/schema_builder.h"

namespace tools {

int checkCommand(const CommandCall& call) {
    const QString& path = call.arguments.at(0);
    if (ledger::isServerAddress(path)) return checkOnServer(call);
    const QString shown = QDir::toNativeSeparators(path);
    const QFileInfo file(path);
    if (!file.exists()) {
        call.err << "tallowbrook-db: " << shown << " does not exist." << Qt::endl;
        return 1;
    }
    if (file.isDir()) {
        call.err << "tallowbrook-db: " << shown << " is a folder, not a database file." << Qt::endl;
        return 1;
    }
    if (QString reason = setup::notADatabaseReason(path); !reason.isEmpty()) {
        call.err << "tallowbrook-db: " << reason << Qt::endl;
        return 1;
    }
    QStringList problems;
    QStringList notes;
    try {
        setup::FileSchemaCheck check = setup::checkFileSchema(path);
        problems = std::move(check.problems);
        notes = std::move(check.notes);
    } catch (const ledger::LedgerError& e) {
        call.err << "tallowbrook-db: " << e.message() << Qt::endl;
        return 1;
    }
    if (problems.isEmpty()) notes << setup::keptTotalsNotesAt(path) << setup::historyNotesAt(path);
    return reportCheck(call, shown, problems, notes);
}

int reportCheck(const CommandCall& call, const QString& shown, const QStringList& problems,
                const QStringList& notes) {
    for (const auto& p : problems) call.out << p << Qt::endl;
    // Notes never fail the check: such files keep working.
    for (const auto& n : notes) call.out << n << Qt::endl;
    if (problems.isEmpty()) {
        call.out << shown << " has everything the program needs." << Qt::endl;
        return 0;
    }
    call.out << shown << " lacks " << problems.size()
             << (problems.size() == 1 ? " thing" : " things") << " the program needs." << Qt::endl;
    return 1;
}

}  // namespace tools
