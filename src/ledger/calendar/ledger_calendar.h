#pragma once

#include <QDate>
#include <QString>
#include <QStringView>
#include <optional>

// The calendar behind the ledger's texts: a day is typed year/month/day
// (2002/2/12), a month of the month sheet reads month/ year (12/ 2002) and a
// month of the wage totals year/month (2002/12). Texts that name no real
// day or month (2002/2/30, "Undated", 2002/13) have no calendar span.
//
// One rule decides the month of a day everywhere: the month totals and the
// wage totals of the ledger's saved queries, the export and the charts.
namespace ledger {

// The month a day text is summed into by the month totals: the text, blanks,
// tabs and line ends at either end left out, is three runs of the digits 0-9
// between two slashes (leading zeros allowed, nothing else inside), and the
// first two runs are its year and month as numbers. The numbers need not
// make a calendar month (2002/13/1 is summed as 13/ 2002). None for any
// other text, and for runs too long to be a year.
struct LedgerMonth {
    int year = 0;
    int month = 0;
    int day = 0;
};
std::optional<LedgerMonth> ledgerMonthOf(QStringView dayText);

// A real calendar month: year 1 or later, month 1 to 12.
bool isCalendarMonth(int year, int month);

// The first and last day a row stands for: one day, or a whole month.
struct DaySpan {
    QDate first;
    QDate last;
};

// A day text that names a real day: the month rule above, and a day of
// that month (2002/2/30 is summed into February but is no day).
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
