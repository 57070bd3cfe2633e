// SPDX-License-Identifier: GPL-3.0-or-later
#include "charts/figures/books_at_a_glance.h"

#include <algorithm>
#include <cmath>
#include <set>
#include <tuple>

#include "ledger/amount/amount.h"
#include "ledger/amount/checked_figure.h"
#include "ledger/base/ledger_error.h"
#include "ledger/calendar/calendar_day.h"
#include "ledger/calendar/ledger_calendar.h"
#include "ledger/records/row_set.h"
#include "ledger/schema/schema.h"
#include "ledger/store/store.h"
#include "ledger/totals/month_totals.h"
#include "salary/rules/wage_row.h"

namespace charts {

namespace schema = ledger::schema;

namespace {

const QString kDate = QStringLiteral("Date");
constexpr int kPersonnelRate = 5;  // among the day's amounts, in field order

// A sum or amount beyond the range of a number is never drawn as 0: the
// month sheet and the daily window show it empty and say so.
QString beyondRange(const std::vector<QVariant>& values, const QStringList& columns) {
    for (size_t i = 0; i < values.size(); ++i)
        if (values[i].typeId() == QMetaType::Double && !std::isfinite(values[i].toDouble()))
            return QStringLiteral("'%1' is beyond the range of a number")
                .arg(columns.value(static_cast<qsizetype>(i)));
    return {};
}

// A column of a table or saved query as the file spells it.
QString spelled(const ledger::SourceInfo& info, const QString& column) {
    const int at = info.indexOf(column);
    if (at < 0)
        ledger::fail(ledger::ErrorCode::UnknownName,
                     QStringLiteral("'%1' has no column '%2'.").arg(info.name, column));
    return info.columns.at(at);
}

std::optional<YearMonth> calendarMonthOf(const std::optional<ledger::DaySpan>& span) {
    if (!span) return std::nullopt;
    return YearMonth{span->first.year(), span->first.month()};
}

// The calendar month of a day text, if it names a calendar day.
std::optional<YearMonth> monthOfDay(const QString& date) {
    const auto day = ledger::calendar::dayOf(date);
    if (!day) return std::nullopt;
    return YearMonth{day->year, day->month};
}

double shown(const QString& text) {
    try {
        return ledger::parseAmount(text);
    } catch (const ledger::LedgerError&) {
        return 0;
    }
}

}  // namespace

double MonthFigures::income() const {
    return problem.isEmpty() ? shown(figures.totalNetAmount) : 0;
}
double MonthFigures::expenditure() const {
    return problem.isEmpty() ? shown(figures.expenditureSubtotal) : 0;
}
double MonthFigures::administration() const {
    return problem.isEmpty() ? shown(figures.administrationSubtotal) : 0;
}
double MonthFigures::settlementTotal() const {
    return problem.isEmpty() ? shown(figures.settlementTotal) : 0;
}

double DayFigures::turnoverAmount() const { return problem.isEmpty() ? shown(turnover) : 0; }
double DayFigures::differenceAmount() const { return problem.isEmpty() ? shown(difference) : 0; }

BooksAtAGlance BooksAtAGlance::read(ledger::Store& store) {
    BooksAtAGlance books;

    // The months as the month sheet shows them.
    QStringList sumNames;
    for (const QString& column : schema::ledgerDayAmounts())
        sumNames << schema::monthTotalOf(column);
    for (const ledger::MonthTotals& totals : ledger::readMonthTotals(store)) {
        const auto month = calendarMonthOf(ledger::sheetMonth(totals.month));
        if (!month || books.months_.count(*month)) continue;
        MonthFigures figures;
        figures.month = *month;
        figures.monthText = totals.month;
        figures.problem = beyondRange(totals.sums, sumNames);
        if (figures.problem.isEmpty()) {
            try {
                figures.figures = daily::balanceSheet(daily::SheetAmounts::fromStored(totals.sums));
                figures.personnelRate = ledger::fieldText(totals.sums.at(kPersonnelRate));
            } catch (const ledger::LedgerError& error) {
                figures.problem = error.message();
            }
        }
        books.months_.emplace(*month, std::move(figures));
    }

    // Every day sheet on the calendar by the month totals' own rule.
    store.scan(schema::kLedger, {kDate}, [&](ledger::Store::RowKey key, const auto& values) {
        ++books.sheets_;
        const QString date = ledger::fieldText(values.front());
        if (const auto day = ledger::calendarDay(date))
            books.days_[YearMonth{day->year(), day->month()}].push_back({key, date, *day});
        else
            ++books.sheetsOutside_;
        return true;
    });
    for (auto& [month, sheets] : books.days_)
        std::stable_sort(sheets.begin(), sheets.end(),
                         [](const DaySheet& a, const DaySheet& b) { return a.day < b.day; });

    // What each wage row added to its day, as its Save added it: at the
    // rates stored on the row (or the monthly pay it records), rounded to
    // a whole number. Read from the rows alone, once each.
    const ledger::SourceInfo wageTable = store.describe(schema::kWages);
    QStringList wageColumns{kDate};
    for (const QString& column : salary::wageRowColumns())
        if (wageTable.indexOf(column) >= 0) wageColumns << spelled(wageTable, column);
    const bool recordsMonthlyPay = wageColumns.size() == salary::wageRowColumns().size() + 1;
    store.scan(wageTable.name, wageColumns, [&](ledger::Store::RowKey, const auto& values) {
        ++books.wageRows_;
        const auto month = monthOfDay(ledger::fieldText(values.front()));
        if (!month) {
            ++books.wageRowsOutside_;
            return true;
        }
        ++books.wageRowsIn_[*month];
        WagesCheck& check = books.wages_[*month];
        if (!check.problem.isEmpty()) return true;
        salary::WageRowAmounts row{values[1], values[2], values[3], values[4],
                                   values[5], values[6], QVariant()};
        if (recordsMonthlyPay) row.monthlyPay = values[7];
        try {
            const std::optional<double> added = salary::addedToDay(row);
            if (!added) {
                check.problem = QStringLiteral(
                                    "a wage row of %1 has a wage beyond the whole numbers a day "
                                    "can take, so it cannot have been added")
                                    .arg(ledger::fieldText(values.front()));
                return true;
            }
            check.wages = ledger::checkedFigure(check.wages + *added, QStringLiteral("the wages"));
        } catch (const ledger::LedgerError& error) {
            check.problem = error.message();
        }
        return true;
    });
    return books;
}

std::vector<int> BooksAtAGlance::years() const {
    std::set<int> years;
    for (const auto& [month, figures] : months_) years.insert(month.year);
    for (const auto& [month, rows] : wageRowsIn_) years.insert(month.year);
    return {years.begin(), years.end()};
}

std::optional<int> BooksAtAGlance::latestYear() const {
    const std::vector<int> all = years();
    if (all.empty()) return std::nullopt;
    return all.back();
}

std::vector<MonthFigures> BooksAtAGlance::monthsOf(int year) const {
    std::vector<MonthFigures> months;
    for (auto it = months_.lower_bound({year, 1}); it != months_.end() && it->first.year == year;
         ++it)
        months.push_back(it->second);
    return months;
}

std::vector<MonthWages> BooksAtAGlance::wagesOf(int year) const {
    std::set<YearMonth> months;
    for (const auto& [month, figures] : months_)
        if (month.year == year) months.insert(month);
    for (const auto& [month, rows] : wageRowsIn_)
        if (month.year == year) months.insert(month);
    for (const auto& [month, check] : wages_)
        if (month.year == year) months.insert(month);

    std::vector<MonthWages> result;
    for (const YearMonth& month : months) {
        WagesCheck check;
        if (auto it = wages_.find(month); it != wages_.end()) check = it->second;
        if (auto it = wageRowsIn_.find(month); it != wageRowsIn_.end()) check.wageRows = it->second;
        if (auto it = months_.find(month); it != months_.end()) {
            if (it->second.problem.isEmpty())
                check.booked = shown(it->second.personnelRate);
            else if (check.problem.isEmpty())
                check.problem = it->second.problem;
        }
        result.push_back({month, check});
    }
    return result;
}

std::vector<DaySheet> BooksAtAGlance::daysOf(YearMonth month) const {
    auto it = days_.find(month);
    return it == days_.end() ? std::vector<DaySheet>() : it->second;
}

std::optional<YearMonth> BooksAtAGlance::latestMonthWithDays(int year) const {
    std::optional<YearMonth> latest;
    for (const auto& [month, sheets] : days_)
        if (month.year == year && !sheets.empty()) latest = month;
    return latest;
}

std::vector<DayFigures> readDays(ledger::Store& store, const std::vector<DaySheet>& sheets) {
    const ledger::SourceInfo info = store.describe(schema::kLedger);
    QStringList columns;
    for (const QString& column : schema::ledgerDayAmounts()) columns << spelled(info, column);

    std::vector<DayFigures> days;
    for (const DaySheet& sheet : sheets) {
        const std::vector<QVariant> values = store.readRow(info.name, sheet.key, columns);
        if (values.empty()) continue;  // removed since the dates were read
        DayFigures day;
        day.sheet = sheet;
        day.problem = beyondRange(values, columns);
        if (day.problem.isEmpty()) {
            try {
                const daily::SheetAmounts amounts = daily::SheetAmounts::fromStored(values);
                day.turnover = amounts.turnover;
                day.difference = daily::balanceSheet(amounts).difference;
                ledger::parseAmount(day.turnover);  // as the field reads it: may overflow
            } catch (const ledger::LedgerError& error) {
                day.problem = error.message();
            }
        }
        days.push_back(std::move(day));
    }
    return days;
}

QString leftOutLine(int count, const QString& one, const QString& many) {
    if (count <= 0) return {};
    return count == 1 ? QStringLiteral("1 %1 is left out").arg(one)
                      : QStringLiteral("%1 %2 are left out").arg(count).arg(many);
}

}  // namespace charts
