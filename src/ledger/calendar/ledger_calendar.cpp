#include "ledger/calendar/ledger_calendar.h"

#include <QStringList>
#include <algorithm>

namespace ledger {

namespace {

// Longer runs of digits cannot be a year a shop keeps books for; the month
// totals still key such a day, under a month that is no calendar month.
constexpr qsizetype kLongestNumber = 9;

bool isAsciiDigit(QChar c) { return c >= QLatin1Char('0') && c <= QLatin1Char('9'); }

// What the saved queries leave out around a day text before cutting it.
bool isOuterBlank(QChar c) {
    return c == QLatin1Char(' ') || c == QLatin1Char('\t') || c == QLatin1Char('\n') ||
           c == QLatin1Char('\r');
}

QStringView withoutOuterBlanks(QStringView text) {
    while (!text.isEmpty() && isOuterBlank(text.front())) text = text.mid(1);
    while (!text.isEmpty() && isOuterBlank(text.back())) text.chop(1);
    return text;
}

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
    if (!isCalendarMonth(year, month)) return std::nullopt;
    const QDate first(year, month, 1);
    return DaySpan{first, first.addMonths(1).addDays(-1)};
}

}  // namespace

std::optional<LedgerMonth> ledgerMonthOf(QStringView dayText) {
    const QStringView text = withoutOuterBlanks(dayText);
    const qsizetype firstSlash = text.indexOf(QLatin1Char('/'));
    if (firstSlash < 0) return std::nullopt;
    const qsizetype secondSlash = text.indexOf(QLatin1Char('/'), firstSlash + 1);
    if (secondSlash < 0) return std::nullopt;
    const auto year = numberOf(text.left(firstSlash));
    const auto month = numberOf(text.mid(firstSlash + 1, secondSlash - firstSlash - 1));
    const auto day = numberOf(text.mid(secondSlash + 1));
    if (!year || !month || !day) return std::nullopt;
    return LedgerMonth{*year, *month, *day};
}

bool isCalendarMonth(int year, int month) {
    return year >= 1 && month >= 1 && month <= 12 && QDate(year, month, 1).isValid();
}

std::optional<QDate> calendarDay(const QString& dayText) {
    const auto parts = ledgerMonthOf(dayText);
    if (!parts || !isCalendarMonth(parts->year, parts->month)) return std::nullopt;
    const QDate day(parts->year, parts->month, parts->day);
    if (!day.isValid()) return std::nullopt;
    return day;
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
