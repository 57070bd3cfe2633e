#include "export_dates.h"

#include <QStringList>
#include <algorithm>

#include "ledger/calendar/calendar_day.h"

namespace tools {

namespace {

// The numbers of a text made of `count` runs of digits separated by `slash`,
// blanks around each run allowed; leading zeros are read as the numbers they
// are. Empty when the text is anything else.
std::optional<QList<int>> numbersBetween(const QString& text, int count) {
    const QStringList parts = text.split(QLatin1Char('/'));
    if (parts.size() != count) return std::nullopt;
    QList<int> numbers;
    for (const QString& part : parts) {
        const QString digits = part.trimmed();
        if (digits.isEmpty() || digits.size() > 9) return std::nullopt;
        if (!std::all_of(digits.begin(), digits.end(), [](QChar c) { return c.isDigit(); }))
            return std::nullopt;
        numbers << digits.toInt();
    }
    return numbers;
}

std::optional<DaySpan> monthSpan(int year, int month) {
    const QDate first(year, month, 1);
    if (!first.isValid() || year < 1) return std::nullopt;
    return DaySpan{first, first.addMonths(1).addDays(-1)};
}

}  // namespace

std::optional<QDate> calendarDay(const QString& dayText) {
    // The program's one rule of what a calendar day is.
    const auto day = ledger::calendar::dayOf(dayText);
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

}  // namespace tools
