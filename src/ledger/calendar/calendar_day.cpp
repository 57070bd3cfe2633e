// SPDX-License-Identifier: GPL-3.0-or-later
#include "ledger/calendar/calendar_day.h"

#include <algorithm>

namespace ledger::calendar {

namespace {

bool isCutOff(QChar c) { return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r'; }

QStringView withoutOuterBlanks(QStringView text) {
    qsizetype first = 0, end = text.size();
    while (first < end && isCutOff(text[first])) ++first;
    while (end > first && isCutOff(text[end - 1])) --end;
    return text.mid(first, end - first);
}

// A run of digits 0-9 as its number; a number beyond every year counts as
// 10000, which no part of a day may be. Empty when anything but a digit is
// there, or nothing.
std::optional<int> digitsValue(QStringView run) {
    if (run.isEmpty()) return std::nullopt;
    int value = 0;
    for (QChar c : run) {
        if (c < u'0' || c > u'9') return std::nullopt;
        value = std::min(10000, value * 10 + (c.unicode() - u'0'));
    }
    return value;
}

bool isLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int daysInMonth(int year, int month) {
    switch (month) {
        case 2:
            return isLeapYear(year) ? 29 : 28;
        case 4:
        case 6:
        case 9:
        case 11:
            return 30;
        default:
            return 31;
    }
}

}  // namespace

std::optional<Day> dayOf(QStringView dateText) {
    const QStringView text = withoutOuterBlanks(dateText);
    const qsizetype firstSlash = text.indexOf(u'/');
    if (firstSlash < 0) return std::nullopt;
    const qsizetype secondSlash = text.indexOf(u'/', firstSlash + 1);
    if (secondSlash < 0) return std::nullopt;
    const auto year = digitsValue(text.first(firstSlash));
    const auto month = digitsValue(text.mid(firstSlash + 1, secondSlash - firstSlash - 1));
    const auto day = digitsValue(text.mid(secondSlash + 1));  // a third slash is no digit
    if (!year || !month || !day) return std::nullopt;
    if (*year < 1 || *year > 9999 || *month < 1 || *month > 12) return std::nullopt;
    if (*day < 1 || *day > daysInMonth(*year, *month)) return std::nullopt;
    return Day{*year, *month, *day};
}

qint64 dayNumberOf(QStringView dateText) {
    const std::optional<Day> day = dayOf(dateText);
    if (!day) return kUndatedDayNumber;
    return qint64(day->year) * 10000 + day->month * 100 + day->day;
}

QString sheetMonthText(qint64 monthNumber) {
    if (monthNumber >= kUndatedMonthNumber) return kUndatedMonthText;
    return QStringLiteral("%1/ %2").arg(monthNumber % 100).arg(monthNumber / 100);
}

QString wageMonthText(qint64 monthNumber) {
    if (monthNumber >= kUndatedMonthNumber) return kUndatedMonthText;
    return QStringLiteral("%1/%2").arg(monthNumber / 100).arg(monthNumber % 100);
}

}  // namespace ledger::calendar
