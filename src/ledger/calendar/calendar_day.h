// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringView>
#include <optional>

// What a calendar day is, for every part of the program that reads a day
// from its Date text: the windows' calendar order, the month totals (and
// the wage months) and the export. The same rule is written in SQL for the
// saved queries, the kept month totals and the store's calendar order
// (calendar_sql.h); a test holds the two to the same answers.
//
// A Date names a calendar day when, once blanks, tabs and line ends around
// it are cut off, it reads year/month/day: three runs of the digits 0-9
// between two slashes (leading zeros allowed, so 2002/02/12 is February 12,
// 2002), naming a real day of the calendar in the years 1 to 9999. Anything
// else is undated: 2002/2/30, 2002/13/1, "2002 / 4 / 12", 2002-4-12, an
// empty Date. Undated days are counted in no month; the month totals gather
// them in one row, "Undated", after the months, and calendar order puts them
// after every day.
namespace ledger::calendar {

struct Day {
    int year = 0;
    int month = 0;
    int day = 0;
};

std::optional<Day> dayOf(QStringView dateText);

// Numbers that sort as the calendar does: year*10000 + month*100 + day for a
// day, year*100 + month for its month; an undated Date has the number after
// every day (and month).
inline constexpr qint64 kUndatedDayNumber = 100000000;
inline constexpr qint64 kUndatedMonthNumber = kUndatedDayNumber / 100;

qint64 dayNumberOf(QStringView dateText);
inline qint64 monthNumberOfDay(qint64 dayNumber) { return dayNumber / 100; }

// A month as the month sheet names it, "12/ 2002" (no leading zero, a blank
// after the slash), and as the wage totals name it, "2002/12"; "Undated" for
// the undated ones.
QString sheetMonthText(qint64 monthNumber);
QString wageMonthText(qint64 monthNumber);
inline const QString kUndatedMonthText = QStringLiteral("Undated");

}  // namespace ledger::calendar
