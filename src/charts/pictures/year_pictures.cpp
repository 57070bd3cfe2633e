// SPDX-License-Identifier: GPL-3.0-or-later
#include "charts/pictures/year_pictures.h"

#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QDate>
#include <QLegend>
#include <QLegendMarker>
#include <QLineSeries>
#include <QScatterSeries>
#include <QStackedBarSeries>
#include <QValueAxis>
#include <algorithm>
#include <cmath>
#include <map>

namespace charts {

namespace {

QChart* newChart(const QString& title) {
    auto* chart = new QChart();
    chart->setTitle(title);
    // Drawn at once: the window is looked at, printed and grabbed as it opens.
    chart->setAnimationOptions(QChart::NoAnimation);
    chart->legend()->setAlignment(Qt::AlignBottom);
    chart->setMargins(QMargins(4, 4, 4, 4));
    chart->setBackgroundRoundness(0);
    return chart;
}

QBarSet* newSet(const QString& label, const QColor& colour) {
    auto* set = new QBarSet(label);
    set->setColor(colour);
    set->setBorderColor(colour);
    return set;
}

// A value axis that always shows the zero line and whole amounts, each
// label once.
QValueAxis* amountAxis(double low, double high) {
    auto* axis = new QValueAxis();
    const AmountScale scale = amountScale(low, high);
    axis->setRange(scale.low, scale.high);
    axis->setTickCount(scale.ticks);
    axis->setLabelFormat(QStringLiteral("%.0f"));
    return axis;
}

// Small enough that a month's 31 days and a year's 12 months keep their
// names on a narrow picture; never cut to "M...": a name fits its place.
QBarCategoryAxis* categoryAxis(const QStringList& categories) {
    auto* axis = new QBarCategoryAxis();
    axis->append(categories);
    QFont font = axis->labelsFont();
    font.setPointSizeF(7);
    axis->setLabelsFont(font);
    axis->setTruncateLabels(false);
    return axis;
}

// Attaches a series to the chart's two axes.
void attach(QChart* chart, QAbstractSeries* series, QAbstractAxis* x, QAbstractAxis* y) {
    chart->addSeries(series);
    series->attachAxis(x);
    series->attachAxis(y);
}

std::pair<double, double> rangeOf(std::initializer_list<const QBarSet*> sets) {
    double low = 0, high = 0;
    for (const QBarSet* set : sets)
        for (int i = 0; i < set->count(); ++i) {
            low = std::min(low, set->at(i));
            high = std::max(high, set->at(i));
        }
    return {low, high};
}

}  // namespace

AmountScale amountScale(double low, double high) {
    low = std::min(low, 0.0);
    high = std::max(high, 0.0);
    // About five steps over the span, each a whole 1, 2 or 5 times ten to
    // some power.
    const double rough = std::max((high - low) / 5, 1.0);
    const double power = std::pow(10.0, std::floor(std::log10(rough)));
    double step = power * 10;
    for (double factor : {1.0, 2.0, 5.0})
        if (power * factor >= rough) {
            step = power * factor;
            break;
        }
    AmountScale scale;
    scale.low = std::floor(low / step) * step;
    scale.high = std::ceil(high / step) * step;
    if (scale.high == scale.low) scale.high = scale.low + step;
    scale.ticks = static_cast<int>(std::lround((scale.high - scale.low) / step)) + 1;
    return scale;
}

const QStringList& monthNames() {
    static const QStringList names = {
        QStringLiteral("Jan"), QStringLiteral("Feb"), QStringLiteral("Mar"), QStringLiteral("Apr"),
        QStringLiteral("May"), QStringLiteral("Jun"), QStringLiteral("Jul"), QStringLiteral("Aug"),
        QStringLiteral("Sep"), QStringLiteral("Oct"), QStringLiteral("Nov"), QStringLiteral("Dec")};
    return names;
}

MonthsPicture drawMonths(int year, const std::vector<MonthFigures>& months) {
    MonthsPicture picture;
    // Books without a year show no "Year 0".
    picture.chart = newChart(year > 0 ? QStringLiteral("The months of %1").arg(year)
                                      : QStringLiteral("The months"));
    picture.income = newSet(QStringLiteral("Income (total net amount)"), PictureColours::income());
    picture.expenditure = newSet(QStringLiteral("Expenditure (subtotal of the expenditure)"),
                                 PictureColours::expenditure());

    std::map<int, const MonthFigures*> byMonth;
    for (const MonthFigures& month : months)
        if (month.month.year == year && month.problem.isEmpty())
            byMonth[month.month.month] = &month;
    double low = 0, high = 0;
    for (int m = 1; m <= 12; ++m) {
        auto it = byMonth.find(m);
        picture.income->append(it == byMonth.end() ? 0.0 : it->second->income());
        picture.expenditure->append(it == byMonth.end() ? 0.0 : it->second->expenditure());
        if (it != byMonth.end()) {
            low = std::min(low, it->second->settlementTotal());
            high = std::max(high, it->second->settlementTotal());
        }
    }
    auto* bars = new QBarSeries();
    bars->append(picture.income);
    bars->append(picture.expenditure);
    auto* x = categoryAxis(monthNames());
    const auto [barLow, barHigh] = rangeOf({picture.income, picture.expenditure});
    auto* y = amountAxis(std::min(low, barLow), std::max(high, barHigh));
    picture.chart->addAxis(x, Qt::AlignBottom);
    picture.chart->addAxis(y, Qt::AlignLeft);
    attach(picture.chart, bars, x, y);

    // The settlement total as a line through the months that have one; a
    // month without sheets breaks it rather than being drawn as 0.
    QLineSeries* line = nullptr;
    for (int m = 1; m <= 12; ++m) {
        auto it = byMonth.find(m);
        if (it == byMonth.end()) {
            line = nullptr;
            continue;
        }
        if (!line) {
            line = new QLineSeries();
            line->setName(QStringLiteral("Settlement total"));
            QPen pen(PictureColours::settlementTotal());
            pen.setWidth(3);
            line->setPen(pen);
            line->setPointsVisible(true);
            attach(picture.chart, line, x, y);
            // One entry in the legend for all the pieces of the line.
            if (!picture.settlementTotal.empty())
                for (QLegendMarker* marker : picture.chart->legend()->markers(line))
                    marker->setVisible(false);
            picture.settlementTotal.push_back(line);
        }
        line->append(m - 1, it->second->settlementTotal());
    }
    return picture;
}

DaysPicture drawDays(std::optional<YearMonth> month, const QString& monthText,
                     const std::vector<DayFigures>& days) {
    DaysPicture picture;
    picture.turnover = newChart(QStringLiteral("Turnover, day by day, %1").arg(monthText));
    picture.difference = newChart(
        QStringLiteral("Difference: cash counted against the cash subtotal, %1").arg(monthText));
    if (monthText.isEmpty()) {
        picture.turnover->setTitle(QStringLiteral("Turnover, day by day"));
        picture.difference->setTitle(
            QStringLiteral("Difference: cash counted against the cash subtotal"));
    }
    picture.turnoverBars = newSet(QStringLiteral("Turnover"), PictureColours::turnover());
    picture.shortfall = newSet(QStringLiteral("Shortfall"), PictureColours::shortfall());
    picture.overage = newSet(QStringLiteral("Overage"), PictureColours::overage());

    // Every day of the month in its place: the sheets of a day (in the
    // order given) after one another, a day without one an empty place.
    std::map<int, std::vector<int>> sheetsOfDay;
    for (size_t i = 0; i < days.size(); ++i)
        sheetsOfDay[days[i].sheet.day.day()].push_back(static_cast<int>(i));
    const int lastDay = month ? QDate(month->year, month->month, 1).daysInMonth() : 0;
    auto place = [&](const QString& category, int sheet) {
        picture.categories << category;
        picture.sheetAt.push_back(sheet);
        const DayFigures* day = sheet >= 0 ? &days[static_cast<size_t>(sheet)] : nullptr;
        picture.turnoverBars->append(day ? day->turnoverAmount() : 0.0);
        const double difference = day ? day->differenceAmount() : 0.0;
        picture.shortfall->append(std::min(difference, 0.0));
        picture.overage->append(std::max(difference, 0.0));
    };
    for (int number = 1;
         number <= std::max(lastDay, sheetsOfDay.empty() ? 0 : sheetsOfDay.rbegin()->first);
         ++number) {
        const auto it = sheetsOfDay.find(number);
        if (it == sheetsOfDay.end()) {
            place(QString::number(number), -1);
            continue;
        }
        for (size_t nth = 0; nth < it->second.size(); ++nth)
            place(nth == 0 ? QString::number(number)
                           : QStringLiteral("%1 (%2)").arg(number).arg(nth + 1),
                  it->second[nth]);
    }

    auto* turnoverSeries = new QBarSeries();
    turnoverSeries->append(picture.turnoverBars);
    auto* x = categoryAxis(picture.categories);
    const auto [low, high] = rangeOf({picture.turnoverBars});
    auto* y = amountAxis(low, high);
    picture.turnover->addAxis(x, Qt::AlignBottom);
    picture.turnover->addAxis(y, Qt::AlignLeft);
    attach(picture.turnover, turnoverSeries, x, y);
    picture.turnover->legend()->hide();

    // Stacked, so each sheet has one bar: below zero red, above green.
    auto* differenceSeries = new QStackedBarSeries();
    differenceSeries->append(picture.shortfall);
    differenceSeries->append(picture.overage);
    auto* dx = categoryAxis(picture.categories);
    const auto [dLow, dHigh] = rangeOf({picture.shortfall, picture.overage});
    auto* dy = amountAxis(dLow, dHigh);
    picture.difference->addAxis(dx, Qt::AlignBottom);
    picture.difference->addAxis(dy, Qt::AlignLeft);
    attach(picture.difference, differenceSeries, dx, dy);
    return picture;
}

WagesPicture drawWages(int year, const std::vector<MonthWages>& months) {
    WagesPicture picture;
    picture.chart = newChart(year > 0 ? QStringLiteral("Wages against the books, %1").arg(year)
                                      : QStringLiteral("Wages against the books"));
    picture.wages = newSet(QStringLiteral("Wages"), PictureColours::wages());
    picture.booked = newSet(QStringLiteral("Personnel rate booked"), PictureColours::booked());
    picture.marks = new QScatterSeries();
    picture.marks->setName(QStringLiteral("Red mark: wages and Personnel rate differ"));
    picture.marks->setColor(PictureColours::differs());
    picture.marks->setBorderColor(PictureColours::differs());
    picture.marks->setMarkerShape(QScatterSeries::MarkerShapeTriangle);
    picture.marks->setMarkerSize(14);
    // Three entries on a picture half the window wide, each read whole.
    QFont legendFont = picture.chart->legend()->font();
    legendFont.setPointSizeF(7.5);
    picture.chart->legend()->setFont(legendFont);

    std::map<int, const MonthWages*> byMonth;
    for (const MonthWages& month : months)
        if (month.month.year == year) byMonth[month.month.month] = &month;
    for (int m = 1; m <= 12; ++m) {
        auto it = byMonth.find(m);
        const bool drawn = it != byMonth.end() && it->second->check.problem.isEmpty();
        picture.wages->append(drawn ? it->second->check.wages : 0.0);
        picture.booked->append(drawn ? it->second->check.booked : 0.0);
    }
    const auto [low, high] = rangeOf({picture.wages, picture.booked});
    // The marks stand above the higher bar of their month.
    const double lift = (high - low) * 0.08 + 1;
    for (int m = 1; m <= 12; ++m) {
        auto it = byMonth.find(m);
        if (it == byMonth.end() || !it->second->check.differs()) continue;
        const double top = std::max({picture.wages->at(m - 1), picture.booked->at(m - 1), 0.0});
        picture.marks->append(m - 1, top + lift);
    }

    auto* bars = new QBarSeries();
    bars->append(picture.wages);
    bars->append(picture.booked);
    auto* x = categoryAxis(monthNames());
    auto* y = amountAxis(low, high + 2 * lift);
    picture.chart->addAxis(x, Qt::AlignBottom);
    picture.chart->addAxis(y, Qt::AlignLeft);
    attach(picture.chart, bars, x, y);
    attach(picture.chart, picture.marks, x, y);
    return picture;
}

}  // namespace charts
