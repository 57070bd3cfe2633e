// SPDX-License-Identifier: GPL-3.0-or-later
#include "ledger/calendar/ledger_calendar.h"

#include <QStringList>
#include <algorithm>

#include "ledger/calendar/calendar_day.h"

namespace ledger {

namespace {

// Longer runs of digits cannot be a year a shop keeps books for.
constexpr qsizetype kLongestNumber = 9;

bool isAsciiDigit(QChar c) { return c >= QLatin1Char('0') && c <= QLatin1Char('9'); }

std::optional<int> numberOf(QStringView run) {
    if (run.isEmpty() || run.size() > kLongestNumber) return std::nullopt;
    if (!std::all_of(run.begin(), run.end(), isAsciiDigit)) return std::nullopt;
    return run.toInt();
}

// The numbers of a text made of `count` runs of digits separated by slashes,
// blanks around each run allowed (the saved queries write a blank after the
// slash of a month); leading zeros are read as the numbers they are. Empty
// when the text is anything else.
std::optional<QList<int>> numbersBetween(const QString& text, int count) {
    const QStringList parts = text.split(QLatin1Char('/'));
    if (parts.size() != count) return std::nullopt;
    QList<int> numbers;
    for (const QString& part : parts) {
        const auto number = numberOf(part.trimmed());
        if (!number) return std::nullopt;
        numbers << *number;
    }
    return numbers;
}

std::optional<DaySpan> monthSpan(int year, int month) {
    if (year < 1 || month < 1 || month > 12) return std::nullopt;
    const QDate first(year, month, 1);
    if (!first.isValid()) return std::nullopt;
    return DaySpan{first, first.addMonths(1).addDays(-1)};
}

}  // namespace

std::optional<QDate> calendarDay(const QString& dayText) {
    const auto day = calendar::dayOf(dayText);
    if (!day) return std::nullopt;
    return QDate(day->year, day->month, day->day);
}
std::optional<DaySpan> sheetMonth(const QString& monthText) {
    const auto numbers = numbersBetween(monthText, 2);
    if (!numbers) return std::nullopt;
    return monthSpan(numbers->at(1), numbers->at(0));
}

std::optional<DaySpan> wageMonth(const QString& monthText) {
    const auto numbers = numbersBetween(monthText, 2);
    if (!numbers) return std::nullopt;
    return monthSpan(numbers->at(0), numbers->at(1));
}

std::optional<DaySpan> daySpan(const QString& dayText) {
    const auto day = calendarDay(dayText);
    if (!day) return std::nullopt;
    return DaySpan{*day, *day};
}

bool DayRange::overlaps(const DaySpan& span) const {
    return (!from || span.last >= *from) && (!to || span.first <= *to);
}

}  // namespace ledger
