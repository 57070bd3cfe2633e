// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QtGlobal>
#include <vector>

namespace ledger {
class Store;
}

namespace salary {

// The wage rows dated `day`, the Date compared as typed, character for
// character (as a wage's day is matched with the daily window's), in the
// order they were stored. Read without going through every row where the
// books can find them by their text. Throws LedgerError.
std::vector<qint64> wageRowsOfDay(ledger::Store& books, const QString& day);

}  // namespace salary
