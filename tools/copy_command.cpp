// SPDX-License-Identifier: GPL-3.0-or-later
// tallowbrook-db copy: a whole ledger from one database to another, between
// a file and a server database either way, compared value for value on both
// sides.

#include "command.h"
#include "ledger/base/ledger_error.h"
#include "ledger/store/server_address.h"
#include "setup/postgres/ledger_copy.h"

namespace tools {

int copyCommand(const CommandCall& call) {
    const QString& from = call.arguments.at(0);
    const QString& to = call.arguments.at(1);
    std::vector<setup::TableTally> copied;
    try {
        copied = setup::copyLedger(from, to, call.force);
    } catch (const ledger::LedgerError& e) {
        call.err << "tallowbrook-db: " << e.message();
        if (!call.force && ledger::isServerAddress(to) &&
            e.message().contains(QLatin1String("already holds")))
            call.err << " Use --force to replace them with the copy.";
        call.err << Qt::endl;
        return 1;
    }
    for (const auto& t : copied) {
        call.out << t.table << ": " << t.rows << (t.rows == 1 ? " row" : " rows");
        if (!t.amountTotals.empty()) {
            double all = 0;
            for (double total : t.amountTotals) all += total;
            call.out << ", amounts totalling " << QString::number(all, 'g', 15);
        }
        call.out << Qt::endl;
    }
    call.out << "Copied " << ledger::displayName(from) << " to " << ledger::displayName(to)
             << "; every value agrees on both sides (the rows, the total of every amount "
                "column and a digest of every column)."
             << Qt::endl;
    return 0;
}

}  // namespace tools
