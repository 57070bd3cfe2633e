// SPDX-License-Identifier: GPL-3.0-or-later
// The year at a glance among the other windows: opened from the month sheet
// and the daily window, a year picked with the spin box or the arrow keys,
// a month's days shown, a day and a month opened where they are kept.

#include <QBarSeries>
#include <QShortcut>
#include <QTest>

#include "charts_fixture.h"
#include "forms/data_control.h"
#include "ledger/records/record_source.h"

namespace chart_tests {
namespace {

// Where bar `index` of a series stands on the view's screen.
QPoint barOnScreen(QChartView* view, int index, double value) {
    QChart* chart = view->chart();
    const QPointF inChart =
        chart->mapToPosition(QPointF(index, value / 2), chart->series().first());
    return view->mapFromScene(chart->mapToScene(inChart));
}

TEST_F(ChartsTest, TheMonthSheetsButtonAndTheDailyWindowsShortcutOpenIt) {
    addDay("2002/12/1", {{"Turnover", 10}});
    FormWindow* sheet = FormWindow::loadWindow(windows::kMonthSheet);
    sheet->show();
    QPushButton* open = button(sheet, "yearAtAGlance");
    ASSERT_TRUE(open->isEnabled());
    EXPECT_EQ(open->text(), "The year at a glance");
    open->click();
    FormWindow* window = FormWindow::find(windows::kYearAtAGlance);
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->windowTitle(), "The year at a glance");
    window->close();
    flushDeletes();
    ASSERT_EQ(FormWindow::find(windows::kYearAtAGlance), nullptr);

    FormWindow* daily = FormWindow::loadWindow(windows::kDailyWindow);
    daily->show();
    QShortcut* shortcut = nullptr;
    for (QShortcut* candidate : daily->findChildren<QShortcut*>())
        if (candidate->key() == QKeySequence(Qt::CTRL | Qt::Key_G)) shortcut = candidate;
    ASSERT_NE(shortcut, nullptr) << "Ctrl+G in the daily window";
    Q_EMIT shortcut->activated();
    window = FormWindow::find(windows::kYearAtAGlance);
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->isVisible());
    EXPECT_TRUE(prompts.told.isEmpty()) << prompts.told.join("\n").toStdString();
}

TEST_F(ChartsTest, TheYearIsPickedWithTheSpinBoxOrTheArrowKeys) {
    addDay("2001/3/1", {{"Turnover", 30}});
    addDay("2003/7/1", {{"Turnover", 70}});
    auto* window = openCharts();
    EXPECT_EQ(window->year(), 2003);
    QSpinBox* year = yearBox(window);
    EXPECT_EQ(year->minimum(), 2001);
    EXPECT_EQ(year->maximum(), 2003);
    year->setValue(2001);
    EXPECT_EQ(window->year(), 2001);
    EXPECT_EQ(window->monthsPicture().income->at(2), 30);
    EXPECT_EQ(window->month()->month, 3);
    QTest::keyClick(window, Qt::Key_Right);
    EXPECT_EQ(window->year(), 2002);
    EXPECT_EQ(notes(window), "The books hold no days in 2002.");
    EXPECT_EQ(window->daysPicture().turnoverBars->count(), 0);
    QTest::keyClick(year, Qt::Key_Up);
    EXPECT_EQ(window->year(), 2003);
    EXPECT_EQ(window->monthsPicture().income->at(6), 70);
    EXPECT_TRUE(notes(window).isEmpty());
}

TEST_F(ChartsTest, ClickingAMonthShowsItsDaysAndItsFigures) {
    addDay("2002/11/4", {{"Turnover", 40}});
    addDay("2002/12/9", {{"Turnover", 90}, {"Bread trader", 15}});
    auto* window = openCharts();
    EXPECT_EQ(window->month()->month, 12);
    Q_EMIT window->monthsPicture().expenditure->clicked(10);
    EXPECT_EQ(window->month()->month, 11);
    ASSERT_EQ(window->daysPicture().turnoverBars->count(), 30) << "November's days";
    EXPECT_EQ(window->daysPicture().turnoverBars->at(3), 40);
    EXPECT_TRUE(details(window).startsWith("11/ 2002: income 40, expenditure 0"))
        << details(window).toStdString();
    Q_EMIT window->monthsPicture().income->hovered(true, 11);
    EXPECT_TRUE(
        details(window).contains("12/ 2002: income 90, expenditure 15, administration 0, "
                                 "settlement total 75"))
        << details(window).toStdString();
    Q_EMIT window->monthsPicture().income->clicked(0);  // January has no days
    EXPECT_EQ(window->month()->month, 11);
    EXPECT_TRUE(details(window).contains("no days")) << details(window).toStdString();
}

// Two sheets of one day are two bars; a click opens the very sheet clicked,
// even one added after the daily window read its days.
TEST_F(ChartsTest, ClickingADayOpensTheDailyWindowOnThatVerySheet) {
    addDay("2002/5/2", {{"Turnover", 10}});
    FormWindow* daily = FormWindow::loadWindow(windows::kDailyWindow);
    daily->show();
    const qint64 second = addDay("2002/5/2", {{"Turnover", 20}});
    addDay("2002/5/1", {{"Turnover", 5}});
    auto* window = openCharts();
    window->resize(1100, 800);
    QCoreApplication::processEvents();
    EXPECT_EQ(window->daysPicture().categories.mid(0, 4), QStringList({"1", "2", "2 (2)", "3"}));
    EXPECT_EQ(window->daysPicture().categories.size(), 32) << "May's 31 days and a second sheet";

    auto* view = window->findChild<QChartView*>("turnoverChart");
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, barOnScreen(view, 2, 20));
    EXPECT_EQ(text(daily, "Text2"), "2002/5/2");
    EXPECT_EQ(text(daily, "Text25"), "20");
    auto* days = daily->findChild<forms::DataControl*>("Data1");
    EXPECT_EQ(days->source().bookmark().key, second);
    EXPECT_TRUE(prompts.told.isEmpty()) << prompts.told.join("\n").toStdString();
}

TEST_F(ChartsTest, ADayRemovedMeanwhileIsSaidAndTheDailyWindowStaysWhereItWas) {
    addDay("2002/5/1", {{"Turnover", 5}});
    const qint64 gone = addDay("2002/5/2", {{"Turnover", 10}});
    FormWindow* daily = FormWindow::loadWindow(windows::kDailyWindow);
    daily->show();
    auto* window = openCharts();
    db.exec(QStringLiteral("DELETE FROM %1 WHERE rowid = %2")
                .arg(ledger::quoteName(schema::kLedger))
                .arg(gone));
    window->openDay(1);
    ASSERT_EQ(prompts.toldTexts.size(), 1);
    EXPECT_TRUE(prompts.toldTexts[0].contains("The day 2002/5/2 is no longer in the books"))
        << prompts.toldTexts[0].toStdString();
    EXPECT_EQ(text(daily, "Text2"), "2002/5/1");
}

TEST_F(ChartsTest, AMonthTheOpenMonthSheetHasNotReadIsSaid) {
    addDay("2002/5/1", {{"Turnover", 5}});
    FormWindow* sheet = FormWindow::loadWindow(windows::kMonthSheet);
    sheet->show();
    sheet->findChild<forms::DataControl*>("Data1")->source().moveLast();  // every month read
    addDay("2002/6/1", {{"Turnover", 6}});
    auto* window = openCharts();
    window->openMonthSheet(5);
    ASSERT_EQ(prompts.toldTexts.size(), 1);
    EXPECT_TRUE(prompts.toldTexts[0].contains("The month sheet has no month 6/ 2002"))
        << prompts.toldTexts[0].toStdString();
    EXPECT_EQ(text(sheet, "Text2"), "5/ 2002");
    window->openMonthSheet(4);
    EXPECT_EQ(prompts.toldTexts.size(), 1);
    EXPECT_EQ(text(sheet, "Text2"), "5/ 2002");
}

}  // namespace
}  // namespace chart_tests

namespace chart_tests {
namespace {

TEST_F(ChartsTest, BooksThatCannotBeReadAreSaidOnceAndTheWindowCanBeLeft) {
    addDay("2002/5/1", {{"Turnover", 5}});
    db.exec(QStringLiteral("DROP VIEW %1").arg(ledger::quoteName(schema::kMonthTotals)));
    auto* window = openCharts();
    ASSERT_EQ(prompts.toldTexts.size(), 1);
    EXPECT_TRUE(prompts.toldTexts[0].contains(schema::kMonthTotals, Qt::CaseInsensitive))
        << "told: " << prompts.toldTexts[0].toStdString();
    EXPECT_EQ(notes(window), "The books could not be read, so the pictures are empty.");
    EXPECT_EQ(window->monthsPicture().income->at(4), 0);
    window->close();
    flushDeletes();
    EXPECT_EQ(FormWindow::find(windows::kYearAtAGlance), nullptr);
}

}  // namespace
}  // namespace chart_tests
