// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace daily {

// How a day's date text stands with the shop's form, year/month/day without
// leading zeros (2026/12/5), by the program's one rule of what a calendar
// day is (ledger/calendar).
enum class DayForm {
    CalendarDay,  // a real calendar day in that very form
    OtherDay,     // a calendar day, so its month counts it, but not in that
                  // form (2026/12/05, blanks around it)
    NoSuchDay,    // three runs of digits that name no day (2026/2/30,
                  // 2026/13/1): no month counts it
    Undated,      // no year/month/day at all (2026-12-05, empty): no month
                  // counts it; the month sheet totals it under "Undated"
};

DayForm dayFormOf(const QString& date);

}  // namespace daily
