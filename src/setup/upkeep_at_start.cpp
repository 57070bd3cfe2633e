// SPDX-License-Identifier: GPL-3.0-or-later
#include "setup/upkeep_at_start.h"

#include "ledger/base/ledger_error.h"
#include "ledger/store/server_address.h"
#include "setup/history_upkeep.h"
#include "setup/kept_totals_upkeep.h"
#include "setup/ledger_file_check.h"
#include "setup/postgres/server_setup.h"

namespace setup {

namespace {

// Books this version has not been at yet, and that it can use: the check's
// upkeep is for them alone. Only the quick look at the history's triggers
// is made at every start; the whole check, once.
bool wantsUpkeep(const QString& where) {
    if (keepsHistory(where)) return false;
    const QStringList problems =
        ledger::isServerAddress(where) ? checkServerSchema(where) : checkFileSchema(where).problems;
    return problems.isEmpty();
}

}  // namespace

QStringList upkeepAtStart(const QString& where) {
    try {
        if (!wantsUpkeep(where)) return {};
    } catch (const ledger::LedgerError&) {
        return {};
    }
    return keptTotalsNotesAt(where) + historyNotesAt(where);
}

}  // namespace setup
