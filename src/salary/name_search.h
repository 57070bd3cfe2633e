// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include "ledger/records/field_binding.h"

namespace ledger {
class RecordSource;
}

namespace salary {

// The guarded find of the salary window's name searches: remember the row,
// find, and go back to it when nothing matched, without a message. A name
// the criterion cannot hold (an apostrophe ends its quoted text, a [ list
// left open) simply matches no row, and so does a search in a row set that
// shows no row. Returns whether a row matched.
bool findByName(ledger::RecordSource& source, const QString& criterion,
                ledger::FindDirection direction = ledger::FindDirection::First);

}  // namespace salary
