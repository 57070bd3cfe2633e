// SPDX-License-Identifier: GPL-3.0-or-later
#include "salary/name_search.h"

#include "ledger/base/ledger_error.h"
#include "ledger/records/record_source.h"

namespace salary {

bool findByName(ledger::RecordSource& source, const QString& criterion,
                ledger::FindDirection direction) {
    // Nothing shown (an empty row set): nothing to search from or return to.
    if (!source.isOpen() || !source.hasCurrentRow()) return false;
    try {
        return ledger::guardedFind(source, criterion, direction);
    } catch (const ledger::LedgerError& error) {
        // The criterion is checked before anything moves or is stored, so
        // the row shown is still the one the search started from.
        if (error.code() == ledger::ErrorCode::SyntaxErrorInCriteria) return false;
        throw;
    }
}

}  // namespace salary
