// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDate>
#include <QString>
#include <optional>

// The calendar behind the ledger's texts: a day is typed year/month/day
// (2002/2/12) and read by the program's one rule (calendar_day.h), a month
// of the month sheet reads month/ year (12/ 2002) and a month of the wage
// totals year/month (2002/12). Texts that name no real day or month
// (2002/2/30, "Undated", 2002/13) have no calendar span.
namespace ledger {

// The first and last day a row stands for: one day, or a whole month.
struct DaySpan {
    QDate first;
    QDate last;
};

std::optional<QDate> calendarDay(const QString& dayText);     // 2002/2/12
std::optional<DaySpan> sheetMonth(const QString& monthText);  // 12/ 2002
std::optional<DaySpan> wageMonth(const QString& monthText);   // 2002/12
std::optional<DaySpan> daySpan(const QString& dayText);       // the day alone

// The days asked for; an open end reaches as far as the ledger does.
struct DayRange {
    std::optional<QDate> from;
    std::optional<QDate> to;

    bool isWhole() const { return !from && !to; }
    // Whether any day of `span` lies in the range (ends included).
    bool overlaps(const DaySpan& span) const;
};

}  // namespace ledger
