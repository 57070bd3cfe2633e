// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QVariant>
#include <vector>

namespace ledger {

class Store;

// One month of the ledger as the month sheet reads it: the month's text as
// the sheet shows it ("12/ 2002", or "Undated" for the days whose date is no
// year/month/day) and, for each of the day's 23 amount columns in the daily
// window's order, the month's sum: empty when the column is empty on every
// day, a number (infinite beyond the range of a number) otherwise.
struct MonthTotals {
    QString month;
    std::vector<QVariant> sums;
};

// Every month's totals in the month sheet's order (calendar order, the
// undated last). This is the one place the pictures and the report read the
// month totals from; today it reads the month sheet's own saved query.
// Throws LedgerError.
std::vector<MonthTotals> readMonthTotals(Store& store);

}  // namespace ledger
