// SPDX-License-Identifier: GPL-3.0-or-later
// tallowbrook-db create / demo / check on a PostgreSQL database.

#include "server_commands.h"

#include "ledger/base/ledger_error.h"
#include "ledger/store/server_address.h"
#include "setup/history_upkeep.h"
#include "setup/kept_totals_upkeep.h"
#include "setup/postgres/server_setup.h"
#include "setup/schema_builder.h"

namespace tools {

int createOnServer(const CommandCall& call, bool withDemoData) {
    const QString& address = call.arguments.at(0);
    const QString shown = ledger::displayName(address);
    try {
        setup::createServerSchema(address, withDemoData, call.force);
    } catch (const ledger::LedgerError& e) {
        call.err << "tallowbrook-db: " << e.message();
        if (!call.force && e.code() == ledger::ErrorCode::StoreFailure &&
            e.message().contains(QLatin1String("already holds")))
            call.err << " Use --force to drop them and make them anew.";
        call.err << Qt::endl;
        return 1;
    }
    call.out << "Created the tables in " << shown << (withDemoData ? " with demo data." : ".")
             << Qt::endl;
    if (withDemoData)
        call.out << "Log in as " << setup::kDemoLoginName << " with the password "
                 << setup::kDemoLoginPassword << "." << Qt::endl;
    else
        call.out << "The staff register is empty; add the first member of staff with" << Qt::endl
                 << "  tallowbrook-db add-staff \"" << shown << "\" NAME" << Qt::endl;
    return 0;
}

int checkOnServer(const CommandCall& call) {
    const QString shown = ledger::displayName(call.arguments.at(0));
    QStringList problems;
    try {
        problems = setup::checkServerSchema(call.arguments.at(0));
    } catch (const ledger::LedgerError& e) {
        call.err << "tallowbrook-db: " << e.message() << Qt::endl;
        return 1;
    }
    QStringList notes;
    if (problems.isEmpty())
        notes = setup::keptTotalsNotesAt(call.arguments.at(0)) +
                setup::historyNotesAt(call.arguments.at(0));
    return reportCheck(call, shown, problems, notes);
}

}  // namespace tools
