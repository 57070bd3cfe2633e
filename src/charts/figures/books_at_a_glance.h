// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDate>
#include <QString>
#include <compare>
#include <map>
#include <optional>
#include <vector>

#include "charts/figures/wages_check.h"
#include "daily/rules/sheet_balance.h"

namespace ledger {
class Store;
}

// The figures behind the pictures of the year at a glance and the year
// report, read from the books once and balanced by the same rules as the
// month sheet, the daily window and the salary window.
namespace charts {

struct YearMonth {
    int year = 0;
    int month = 0;
    auto operator<=>(const YearMonth&) const = default;
};

// A day sheet of the ledger placed on the calendar.
struct DaySheet {
    qint64 key = -1;  // the row, for opening the daily window on it
    QString date;     // as typed
    QDate day;
};

// A calendar month as the month sheet balances it.
struct MonthFigures {
    YearMonth month;
    QString monthText;            // as the month sheet shows it: "12/ 2002"
    daily::SheetFigures figures;  // as the month sheet shows them
    QString personnelRate;        // the month's Personnel rate total, as shown
    QString problem;              // a total or figure beyond the range of a number

    // What the pictures draw: income is the total net amount, expenditure
    // the subtotal of the expenditure, the settlement total the sheet's
    // "Total". Zero when the month has a problem (it is then not drawn).
    double income() const;
    double expenditure() const;
    double administration() const;
    double settlementTotal() const;
};

// A month of wages beside its books.
struct MonthWages {
    YearMonth month;
    WagesCheck check;
};

class BooksAtAGlance {
public:
    // Reads the month totals, the dates of every day sheet and every wage
    // row with what it added to its day, each once. Throws LedgerError.
    static BooksAtAGlance read(ledger::Store& store);

    // No day sheet and no wage row at all.
    bool isEmpty() const { return sheets_ == 0 && wageRows_ == 0; }
    // Years with a calendar month of days or of wages, ascending.
    std::vector<int> years() const;
    std::optional<int> latestYear() const;

    // The year's months that have day sheets, in calendar order.
    std::vector<MonthFigures> monthsOf(int year) const;
    // The wages of each month of the year that has wage rows or day sheets.
    std::vector<MonthWages> wagesOf(int year) const;

    // The month's sheets dated a real day, by day (then in the ledger's order).
    std::vector<DaySheet> daysOf(YearMonth month) const;
    // Sheets and wage rows whose date is no calendar day (2002/2/30,
    // 2002/13/1, "Undated"): in no month's totals and no picture of any year.
    int sheetsOutsideMonths() const { return sheetsOutside_; }
    int wageRowsOutsideMonths() const { return wageRowsOutside_; }
    // The latest month of the year with a sheet dated a real day.
    std::optional<YearMonth> latestMonthWithDays(int year) const;

private:
    std::map<YearMonth, MonthFigures> months_;
    std::map<YearMonth, std::vector<DaySheet>> days_;
    std::map<YearMonth, int> wageRowsIn_;
    std::map<YearMonth, WagesCheck> wages_;
    int sheets_ = 0;
    int wageRows_ = 0;
    int sheetsOutside_ = 0;
    int wageRowsOutside_ = 0;
};

// One day sheet as the daily window shows it.
struct DayFigures {
    DaySheet sheet;
    QString turnover;    // Turnover, as its field shows it
    QString difference;  // the cash difference (counted cash − cash subtotal)
    QString problem;     // an amount or figure beyond the range of a number

    double turnoverAmount() const;
    double differenceAmount() const;
};

// Reads and balances the given sheets; a sheet removed meanwhile is left
// out. Throws LedgerError when the books cannot be read.
std::vector<DayFigures> readDays(ledger::Store& store, const std::vector<DaySheet>& sheets);

// "3 sheets with dates that are not days are left out": what a picture says
// of the sheets or wage rows it cannot place.
QString leftOutLine(int count, const QString& one, const QString& many);

}  // namespace charts
