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
    ASSERT_EQ(picture.turnoverBars->count(), 31) << "every day of December in its place";
    // Each sheet's bar stands at its day; the other five days are gaps.
    std::vector<int> barOf(26, -1);
    for (int bar = 0; bar < 31; ++bar) {
        EXPECT_EQ(picture.categories[bar], QString::number(bar + 1));
        const int sheet = picture.sheetAt[static_cast<size_t>(bar)];
        if (sheet >= 0) {
            barOf[static_cast<size_t>(sheet)] = bar;
            EXPECT_EQ(window->days()[static_cast<size_t>(sheet)].sheet.day.day(), bar + 1);
        } else {
            EXPECT_EQ(picture.turnoverBars->at(bar), 0) << "a gap at " << bar + 1;
        }
    }
    int shortfalls = 0, overages = 0;
    for (int i = 0; i < 26; ++i) {
        const charts::DayFigures& day = window->days()[static_cast<size_t>(i)];
        SCOPED_TRACE(day.sheet.date.toStdString());
        const DayExpected& expected = byDate.at(day.sheet.date);
        const int bar = barOf[static_cast<size_t>(i)];
        ASSERT_GE(bar, 0);
        EXPECT_EQ(picture.turnoverBars->at(bar), expected.turnover);
        EXPECT_EQ(picture.shortfall->at(bar) + picture.overage->at(bar), expected.difference());
        EXPECT_LE(picture.shortfall->at(bar), 0);
        EXPECT_GE(picture.overage->at(bar), 0);
        shortfalls += picture.shortfall->at(bar) < 0;
        overages += picture.overage->at(bar) > 0;
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
        const int bar = barOf[static_cast<size_t>(i)];
        EXPECT_EQ(text(daily, "Text2"), window->days()[static_cast<size_t>(i)].sheet.date);
        EXPECT_EQ(shown(daily, "Text25"), picture.turnoverBars->at(bar));
        EXPECT_EQ(shown(daily, "Label43"), picture.shortfall->at(bar) + picture.overage->at(bar));
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
    EXPECT_EQ(window->daysPicture().turnoverBars->count(), 31);
    // February's only sheet is no day: February has nothing to show, and
    // clicking it leaves May; March shows its one day.
    Q_EMIT window->monthsPicture().income->clicked(1);
    EXPECT_EQ(window->month()->month, 5);
    Q_EMIT window->monthsPicture().income->clicked(2);
    EXPECT_EQ(window->month()->month, 3);
    ASSERT_EQ(window->daysPicture().turnoverBars->count(), 31);
    EXPECT_EQ(window->daysPicture().turnoverBars->at(4), 200) << "the 5th, in its place";
    EXPECT_EQ(window->daysPicture().turnoverBars->sum(), 200);
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
    // No "Year 0" anywhere.
    EXPECT_EQ(yearBox(window)->text(), "none");
    EXPECT_EQ(window->monthsPicture().chart->title(), "The months");
    EXPECT_EQ(window->wagesPicture().chart->title(), "Wages against the books");
    EXPECT_EQ(window->daysPicture().turnover->title(), "Turnover, day by day");
    for (const QBarSet* set : {window->monthsPicture().income, window->monthsPicture().expenditure,
                               window->wagesPicture().wages, window->wagesPicture().booked}) {
        ASSERT_EQ(set->count(), 12);
        for (int m = 0; m < 12; ++m) EXPECT_EQ(set->at(m), 0);
    }
    EXPECT_EQ(window->daysPicture().turnoverBars->count(), 0);
    EXPECT_EQ(window->wagesPicture().marks->count(), 0);
    EXPECT_TRUE(prompts.told.isEmpty()) << prompts.told.join("\n").toStdString();
}

// Each wage row is priced as its Save added it: at the rates on the row (a
// raise in the register since changes nothing, a name the register no
// longer has is still priced), or the monthly pay it records, rounded to a
// whole number, ties to the even one. A wage never added and a cost booked
// without wages are marked.
TEST_F(ChartsTest, TheWagesCheckMarksExactlyTheMonthsThatDiffer) {
    addStaff("Ana", 90, 100);           // raised since: the rows were paid at 80
    addWage("2004/1/5", "Ana", 80, 8);  // 640, booked
    addDay("2004/1/5", {{"Personnel rate", 640}});
    addWage("2004/2/3", "Ana", 80, 8);  // stored, never added to its day
    addDay("2004/2/3", {{"Turnover", 500}});
    addWage("2004/3/2", "Bo", 81, 0.5);  // 40.5, booked as 40
    addDay("2004/3/2", {{"Personnel rate", 40}});
    addDay("2004/4/1", {{"Personnel rate", 100}});  // a cost with no wage rows
    addWage("2004/5/6", "Ghost", 80, 8);            // renamed in the register since
    addDay("2004/5/6", {{"Personnel rate", 640}});
    addWage("2004/6/7", "Ana", 80, 2, 10);  // 150 after insurance, booked
    addDay("2004/6/7", {{"Personnel rate", 150}});
    db.insert(schema::kWages, {"Date", "Name", "Salary hour", "Main hour", "Monthly pay"},
              {"2004/7/1", "Lee", 80.0, 8.0, 24000.0});  // the monthly pay, not 640
    addDay("2004/7/1", {{"Personnel rate", 24000}});
    addWage("2004/8/2", "Bo", 203, 0.5);  // 101.5, booked as 102
    addDay("2004/8/2", {{"Personnel rate", 102}});
    addWage("2004/9/1", "Bo", 201, 0.5);  // 100.5, booked as 100, not 101
    addDay("2004/9/1", {{"Personnel rate", 101}});
    addWage("2004/10/1", "Bo", 80, 1);  // two rows of one day: 80 + 80
    addWage("2004/10/1", "Ana", 80, 1);
    addDay("2004/10/1", {{"Personnel rate", 160.5}});  // half a unit typed by hand
    auto* window = openCharts();
    ASSERT_EQ(window->year(), 2004);

    std::vector<int> marked;
    for (const QPointF& point : window->wagesPicture().marks->points())
        marked.push_back(qRound(point.x()) + 1);
    EXPECT_EQ(marked, (std::vector<int>{2, 4, 9, 10}));
    std::vector<int> differing;
    for (const charts::MonthWages& month : window->wages())
        if (month.check.differs()) differing.push_back(month.month.month);
    EXPECT_EQ(differing, (std::vector<int>{2, 4, 9, 10}));

    const charts::WagesPicture& picture = window->wagesPicture();
    const std::vector<double> wages = {640, 640, 40, 0, 640, 150, 24000, 102, 100, 160, 0, 0};
    const std::vector<double> booked = {640, 0, 40, 100, 640, 150, 24000, 102, 101, 160.5, 0, 0};
    for (int m = 0; m < 12; ++m) {
        EXPECT_EQ(picture.wages->at(m), wages[m]) << m;
        EXPECT_EQ(picture.booked->at(m), booked[m]) << m;
    }
    Q_EMIT picture.wages->hovered(true, 1);
    EXPECT_TRUE(details(window).contains("the wage rows added 640 to their days but 0 is booked"))
        << details(window).toStdString();
    Q_EMIT picture.booked->hovered(true, 4);
    EXPECT_TRUE(details(window).contains("they agree")) << details(window).toStdString();
}

TEST(WagesCheck, DiffersByACentOrMoreOrWhenItCannotCompare) {
    struct Vector {
        double wages, booked;
        const char* problem;
        bool differs;
    };
    for (const Vector& v :
         {Vector{100, 100, "", false}, Vector{100, 100.004, "", false},
          Vector{100, 100.01, "", true}, Vector{100.5, 100, "", true}, Vector{0, 1, "", true},
          Vector{-640, -640, "", false}, Vector{640, 640, "beyond the range", true}}) {
        charts::WagesCheck check;
        check.wages = v.wages;
        check.booked = v.booked;
        check.problem = QString::fromLatin1(v.problem);
        EXPECT_EQ(check.differs(), v.differs) << v.wages << " " << v.booked << " " << v.problem;
        EXPECT_EQ(check.why().isEmpty(), !v.differs);
    }
}

}  // namespace
}  // namespace chart_tests

#include <cmath>

namespace chart_tests {
namespace {

// On the demo shop every month's wages are its wage rows' day wages (the
// wage detail's, each rounded as Save rounds it) and agree with the books.
TEST_F(ChartsTest, OnTheDemoShopTheWagesAreTheWageDetailRoundedAndAgreeWithTheBooks) {
    TempDatabase demo(true);
    std::map<QString, double> byMonth;  // "2002/11"
    for (const auto& row :
         demo.query("SELECT \"Date\", \"Daily settlement of accounts\" FROM \"Inquiry detail\"")) {
        const QStringList day = row[0].toString().split('/');
        byMonth[day[0] + "/" + day[1]] += std::nearbyint(row[1].toDouble());
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
}

}  // namespace
}  // namespace chart_tests
