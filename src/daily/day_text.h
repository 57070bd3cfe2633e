#pragma once

#include <QString>

namespace daily {

// How a day's date text stands with the shop's form, year/month/day without
// leading zeros (2026/12/5).
enum class DayForm {
    CalendarDay,  // a real calendar day in that very form
    OtherDay,     // three runs of digits, so a month counts it, but not a real
                  // day in that form (2026/12/05, 2026/2/30, blanks around it)
    Undated,      // no year/month/day at all (2026-12-05, empty): no month
                  // counts it; the month sheet totals it under "Undated"
};

DayForm dayFormOf(const QString& date);

}  // namespace daily
