// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace history {

// Opens the History… window (loading it when it is not open) on the day
// `date` and brings it forward. Throws LedgerError when this program has no
// such window or the books cannot be read.
void openHistoryOfDay(const QString& date);

}  // namespace history
