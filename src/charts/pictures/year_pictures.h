// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

#include "charts/figures/books_at_a_glance.h"

class QBarSet;
class QChart;
class QLineSeries;
class QScatterSeries;

// The three pictures of the year at a glance, drawn with Qt Charts from the
// figures as the sheets show them. The window shows them and the year
// report prints them; each picture is a chart the caller owns.
namespace charts {

// The colours a reader learns once: takings green, spending orange, what is
// left blue; a shortfall of cash red, an overage green; wages that part from
// the books marked red.
struct PictureColours {
    static QColor income() { return QColor(0x43, 0xa0, 0x47); }
    static QColor expenditure() { return QColor(0xfb, 0x8c, 0x00); }
    static QColor settlementTotal() { return QColor(0x1e, 0x3a, 0x8a); }
    static QColor turnover() { return QColor(0x64, 0xb5, 0xf6); }
    static QColor shortfall() { return QColor(0xd3, 0x2f, 0x2f); }
    static QColor overage() { return QColor(0x2e, 0x7d, 0x32); }
    static QColor wages() { return QColor(0x7e, 0x57, 0xc2); }
    static QColor booked() { return QColor(0x90, 0xa4, 0xae); }
    static QColor differs() { return QColor(0xd3, 0x2f, 0x2f); }
};

// The twelve months' short names, the categories of two pictures.
const QStringList& monthNames();

// The months of a year: income and expenditure as bars, the settlement
// total as a line, each month at its place (a month without sheets, or one
// whose figures are beyond the range of a number, has no bar).
struct MonthsPicture {
    QChart* chart = nullptr;
    QBarSet* income = nullptr;
    QBarSet* expenditure = nullptr;
    std::vector<QLineSeries*> settlementTotal;  // one line per run of months
};
MonthsPicture drawMonths(int year, const std::vector<MonthFigures>& months);

// The days of a month: each sheet's turnover, and its cash difference with
// shortfalls and overages in their own colours. One category per day of the
// calendar month, in order, so a day without a sheet is a gap at its place,
// and one more for each further sheet of a day ("12", "12 (2)").
struct DaysPicture {
    QChart* turnover = nullptr;
    QBarSet* turnoverBars = nullptr;
    QChart* difference = nullptr;
    QBarSet* shortfall = nullptr;
    QBarSet* overage = nullptr;
    QStringList categories;
    std::vector<int> sheetAt;  // per category: the index of its sheet in `days`, or -1
};
// `month` is the calendar month the days belong to (none: no month).
DaysPicture drawDays(std::optional<YearMonth> month, const QString& monthText,
                     const std::vector<DayFigures>& days);

// A value axis of whole amounts: from `low` to `high` (zero always in view)
// in steps of 1, 2 or 5 times a power of ten, never less than 1, so no two
// labels read alike.
struct AmountScale {
    double low = 0;
    double high = 1;
    int ticks = 2;
};
AmountScale amountScale(double low, double high);

// Wages against the books: per month the wages of the wage rows and the
// Personnel rate booked in the days; months that part are marked.
struct WagesPicture {
    QChart* chart = nullptr;
    QBarSet* wages = nullptr;
    QBarSet* booked = nullptr;
    QScatterSeries* marks = nullptr;  // x: month index 0-11
};
WagesPicture drawWages(int year, const std::vector<MonthWages>& months);

}  // namespace charts
