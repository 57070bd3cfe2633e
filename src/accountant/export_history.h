// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <functional>

#include "ledger/calendar/ledger_calendar.h"

namespace ledger {
class Store;
}

namespace accountant {

// The books' history (schema.h, kHistory) as CSV for the accountant, one
// record per value changed (a change that changed no value, one record),
// oldest first: when, which till and program, who was logged in, the table,
// the row's date and name, what happened (added, changed, removed), the
// column and its value before and after. `range` keeps the changes made on
// those days. Each record is handed to `write` (the header first, behind
// the byte-order mark); it returns false to stop. Returns the number of
// changes written. Books without a history throw LedgerError saying so.
qint64 writeHistoryCsv(ledger::Store& books, const ledger::DayRange& range,
                       const std::function<bool(const QByteArray&)>& write);

}  // namespace accountant
