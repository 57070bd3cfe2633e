// SPDX-License-Identifier: GPL-3.0-or-later
// The figures behind every bar and point: worked out here from the stored
// amounts, and held against the month sheet and the daily window
// themselves.

#include <QLineSeries>
#include <QScatterSeries>

#include "charts_fixture.h"
#include "ledger/amount/amount.h"

namespace chart_tests {
namespace {

// The settlement-total line's points, by month index.
std::map<int, double> linePoints(const charts::MonthsPicture& picture) {
    std::map<int, double> points;
    for (const QLineSeries* line : picture.settlementTotal)
        for (const QPointF& point : line->points()) points[qRound(point.x())] = point.y();
    return points;
}

TEST_F(ChartsTest, OnTheDemoShopEveryMonthEqualsItsDaysAndTheMonthSheet) {
    TempDatabase demo(true);
    const std::vector<DayExpected> days = expectedDays(demo);
    auto* window = openCharts();
    ASSERT_EQ(window->year(), 2002) << "the latest year in the books";
    const charts::MonthsPicture& picture = window->monthsPicture();
    const std::map<int, double> line = linePoints(picture);
    ASSERT_EQ(line.size(), 2u) << "November and December";
    for (int m = 1; m <= 12; ++m) {
        SCOPED_TRACE(m);
        const DayExpected month = monthOf(days, 2002, m);
        EXPECT_EQ(picture.income->at(m - 1), month.income());
        EXPECT_EQ(picture.expenditure->at(m - 1), month.expenditure);
        if (line.count(m - 1)) EXPECT_EQ(line.at(m - 1), month.settlementTotal());
    }
    // Double-clicking a month opens the month sheet on it, showing the same.
    for (int m : {11, 12}) {
        window->openMonthSheet(m - 1);
        FormWindow* sheet = FormWindow::find(windows::kMonthSheet);
        ASSERT_NE(sheet, nullptr);
        EXPECT_EQ(text(sheet, "Text2"), QStringLiteral("%1/ 2002").arg(m));
        EXPECT_EQ(shown(sheet, "Label38"), picture.income->at(m - 1));
        EXPECT_EQ(shown(sheet, "Label37"), picture.expenditure->at(m - 1));
        EXPECT_EQ(shown(sheet, "Label43"), line.at(m - 1));
    }
    EXPECT_TRUE(notes(window).isEmpty()) << notes(window).toStdString();
    EXPECT_TRUE(prompts.told.isEmpty()) << prompts.told.join("\n").toStdString();
    closeWindows();
}

TEST_F(ChartsTest, OnTheDemoShopEveryDayEqualsItsAmountsAndTheDailyWindow) {
    TempDatabase demo(true);
    std::map<QString, DayExpected> byDate;
    for (const DayExpected& day : expectedDays(demo)) byDate[day.date] = day;
    auto* window = openCharts();
    ASSERT_TRUE(window->month());
    EXPECT_EQ(window->month()->month, 12) << "the latest month with days";
    const charts::DaysPicture& picture = window->daysPicture();
    ASSERT_EQ(window->days().size(), 26u) << "December's business days";
    ASSERT_EQ(picture.turnoverBars->count(), 26);
    int shortfalls = 0, overages = 0;
    for (int i = 0; i < 26; ++i) {
        const charts::DayFigures& day = window->days()[static_cast<size_t>(i)];
        SCOPED_TRACE(day.sheet.date.toStdString());
        const DayExpected& expected = byDate.at(day.sheet.date);
        EXPECT_EQ(picture.turnoverBars->at(i), expected.turnover);
        EXPECT_EQ(picture.shortfall->at(i) + picture.overage->at(i), expected.difference());
        EXPECT_LE(picture.shortfall->at(i), 0);
        EXPECT_GE(picture.overage->at(i), 0);
        shortfalls += picture.shortfall->at(i) < 0;
        overages += picture.overage->at(i) > 0;
        if (i > 0) EXPECT_LE(window->days()[i - 1].sheet.day, day.sheet.day) << "calendar order";
    }
    EXPECT_GT(shortfalls, 0);
    EXPECT_GT(overages, 0);
    // Clicking a day opens the daily window on it, showing the same.
    for (int i : {0, 7, 25}) {
        window->openDay(i);
        FormWindow* daily = FormWindow::find(windows::kDailyWindow);
        ASSERT_NE(daily, nullptr);
        EXPECT_TRUE(daily->isVisible());
        EXPECT_EQ(text(daily, "Text2"), window->days()[static_cast<size_t>(i)].sheet.date);
        EXPECT_EQ(shown(daily, "Text25"), picture.turnoverBars->at(i));
        EXPECT_EQ(shown(daily, "Label43"), picture.shortfall->at(i) + picture.overage->at(i));
    }
    EXPECT_TRUE(prompts.told.isEmpty()) << prompts.told.join("\n").toStdString();
    closeWindows();
}

// Months without days, dates that are no day or in no month, and a month
// whose total is beyond the range of a number.
TEST_F(ChartsTest, GapsOddDatesAndAMonthBeyondTheRangeAreSaidNotDrawnAsNumbers) {
    addDay("2003/1/10", {{"Turnover", 100}, {"Bread trader", 5}, {"Accept cashes in fact", 90}});
    addDay("2003/3/5", {{"Turnover", 200}, {"Small incidental money", 8}});
    addDay("2003/2/30", {{"Turnover", 50}});  // no calendar day: in no month
    addDay("Stocktaking", {{"Turnover", 70}});
    addDay("2003/13/1", {{"Turnover", 30}});
    addDay(QVariant(), {{"Turnover", 11}});
    addDay("2003/5/1", {{"Rent", 1e308}, {"Turnover", 40}});
    addDay("2003/5/2", {{"Rent", 1e308}});
    auto* window = openCharts();
    ASSERT_EQ(window->year(), 2003);
    EXPECT_EQ(yearBox(window)->minimum(), 2003);
    EXPECT_EQ(yearBox(window)->maximum(), 2003);
    const charts::MonthsPicture& picture = window->monthsPicture();
    const std::vector<double> income = {100, 0, 208, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    const std::vector<double> expenditure = {5, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    for (int m = 0; m < 12; ++m) {
        EXPECT_EQ(picture.income->at(m), income[m]) << m;
        EXPECT_EQ(picture.expenditure->at(m), expenditure[m]) << m;
    }
    const std::map<int, double> line = linePoints(picture);
    EXPECT_EQ(line, (std::map<int, double>{{0, 95}, {2, 200}}))
        << "a month without days breaks the line; May is not drawn";
    EXPECT_EQ(picture.settlementTotal.size(), 2u) << "January and March apart";

    const QString said = notes(window);
    EXPECT_TRUE(
        said.contains("4 sheets with dates that are not days are left out (they are in no "
                      "month)."))
        << said.toStdString();
    EXPECT_TRUE(
        said.contains("5/ 2003 is not drawn: 'Rent 之 總計' is beyond the range of a number."))
        << said.toStdString();

    // May's days are real days, each within range: drawn.
    ASSERT_TRUE(window->month());
    EXPECT_EQ(window->month()->month, 5);
    EXPECT_EQ(window->daysPicture().turnoverBars->count(), 2);
    // February's only sheet is no day: February has nothing to show, and
    // clicking it leaves May; March shows its one day.
    Q_EMIT window->monthsPicture().income->clicked(1);
    EXPECT_EQ(window->month()->month, 5);
    Q_EMIT window->monthsPicture().income->clicked(2);
    EXPECT_EQ(window->month()->month, 3);
    EXPECT_EQ(window->daysPicture().turnoverBars->count(), 1);
    // The month sheet agrees on the months drawn.
    window->openMonthSheet(2);
    FormWindow* sheet = FormWindow::find(windows::kMonthSheet);
    ASSERT_NE(sheet, nullptr);
    EXPECT_EQ(text(sheet, "Label38"), "208");
    EXPECT_EQ(text(sheet, "Label43"), "200");
}

TEST_F(ChartsTest, AnEmptyLedgerShowsEmptyPicturesAndOneLineSayingSo) {
    auto* window = openCharts();
    EXPECT_EQ(notes(window), "The books hold no days yet.");
    EXPECT_FALSE(yearBox(window)->isEnabled());
    for (const QBarSet* set : {window->monthsPicture().income, window->monthsPicture().expenditure,
                               window->wagesPicture().wages, window->wagesPicture().booked}) {
        ASSERT_EQ(set->count(), 12);
        for (int m = 0; m < 12; ++m) EXPECT_EQ(set->at(m), 0);
    }
    EXPECT_EQ(window->daysPicture().turnoverBars->count(), 0);
    EXPECT_EQ(window->wagesPicture().marks->count(), 0);
    EXPECT_TRUE(prompts.told.isEmpty()) << prompts.told.join("\n").toStdString();
}

// Each wage is booked rounded to a whole number: half a unit per wage row is
// no difference. A wage never added, a cost booked without wages and a wage
// of someone the register lacks are.
TEST_F(ChartsTest, TheWagesCheckMarksExactlyTheMonthsThatDiffer) {
    addStaff("Ana", 80, 100);
    addStaff("Bo", 81, 100);
    addWage("2004/1/5", "Ana", 80, 8);  // 640, booked
    addDay("2004/1/5", {{"Personnel rate", 640}});
    addWage("2004/2/3", "Ana", 80, 8);  // stored, never added to its day
    addDay("2004/2/3", {{"Turnover", 500}});
    addWage("2004/3/2", "Bo", 81, 0.5);  // 40.5, booked as 40
    addDay("2004/3/2", {{"Personnel rate", 40}});
    addDay("2004/4/1", {{"Personnel rate", 100}});  // a cost with no wage rows
    addWage("2004/5/6", "Ghost", 80, 8);            // no such name in the register
    addDay("2004/5/6", {{"Personnel rate", 640}});
    addWage("2004/6/7", "Ana", 80, 2, 10);  // 150 after insurance, booked
    addDay("2004/6/7", {{"Personnel rate", 150}});
    auto* window = openCharts();
    ASSERT_EQ(window->year(), 2004);

    std::vector<int> marked;
    for (const QPointF& point : window->wagesPicture().marks->points())
        marked.push_back(qRound(point.x()) + 1);
    EXPECT_EQ(marked, (std::vector<int>{2, 4, 5}));
    std::vector<int> differing;
    for (const charts::MonthWages& month : window->wages())
        if (month.check.differs()) differing.push_back(month.month.month);
    EXPECT_EQ(differing, (std::vector<int>{2, 4, 5}));

    const charts::WagesPicture& picture = window->wagesPicture();
    const std::vector<double> wages = {640, 640, 40.5, 0, 0, 150};
    const std::vector<double> booked = {640, 0, 40, 100, 640, 150};
    for (int m = 0; m < 6; ++m) {
        EXPECT_EQ(picture.wages->at(m), wages[m]) << m;
        EXPECT_EQ(picture.booked->at(m), booked[m]) << m;
    }
    Q_EMIT picture.wages->hovered(true, 1);
    EXPECT_TRUE(details(window).contains("the wages come to 640 but 0 is booked"))
        << details(window).toStdString();
    Q_EMIT picture.wages->hovered(true, 4);
    EXPECT_TRUE(details(window).contains("the staff register has no such name"))
        << details(window).toStdString();
    Q_EMIT picture.booked->hovered(true, 2);
    EXPECT_TRUE(details(window).contains("they agree")) << details(window).toStdString();
}

TEST(WagesCheck, PartsOnlyBeyondHalfAUnitPerWageRow) {
    struct Vector {
        double wages, booked;
        int rows, unpriced;
        bool differs;
    };
    for (const Vector& v : {Vector{100, 100, 0, 0, false}, Vector{100.5, 100, 1, 0, false},
                            Vector{101.5, 102, 1, 0, false}, Vector{100.51, 100, 1, 0, true},
                            Vector{201, 200, 2, 0, false}, Vector{201.01, 200, 2, 0, true},
                            Vector{0, 1, 0, 0, true}, Vector{640, 640, 1, 1, true}}) {
        charts::WagesCheck check;
        check.wages = v.wages;
        check.booked = v.booked;
        check.wageRows = v.rows;
        check.unpriced = v.unpriced;
        EXPECT_EQ(check.differs(), v.differs) << v.wages << " " << v.booked << " " << v.rows;
        EXPECT_EQ(check.why().isEmpty(), !v.differs);
    }
}

}  // namespace
}  // namespace chart_tests

#include "salary/salary_windows.h"

namespace chart_tests {
namespace {

// The wages of a month are what the salary window shows for each of its
// employees that month, added up.
TEST_F(ChartsTest, OnTheDemoShopTheWagesAreTheSalaryWindowsMonthsAddedUp) {
    TempDatabase demo(true);
    salary::registerWindows();
    FormWindow* salaries = FormWindow::loadWindow("Form7");
    std::map<QString, double> byMonth;  // "2002/11"
    QString last;
    for (int row = 0; row < 100; ++row) {
        const QString here = text(salaries, "Text1") + "|" + text(salaries, "Text3");
        if (here == last) break;
        last = here;
        byMonth[text(salaries, "Text1")] += shown(salaries, "Label13");
        pressBar(salaries, "Next", "Data2");
    }
    ASSERT_EQ(byMonth.size(), 2u);
    auto* window = openCharts();
    ASSERT_EQ(window->wages().size(), 2u);
    for (const charts::MonthWages& month : window->wages()) {
        const QString key = QStringLiteral("%1/%2").arg(month.month.year).arg(month.month.month);
        EXPECT_EQ(month.check.wages, byMonth.at(key)) << key.toStdString();
        EXPECT_FALSE(month.check.differs()) << month.check.why().toStdString();
    }
    EXPECT_TRUE(prompts.told.isEmpty()) << prompts.told.join("\n").toStdString();
    closeWindows();
}

}  // namespace
}  // namespace chart_tests
