// SPDX-License-Identifier: GPL-3.0-or-later
#include <QTest>

#include "forms/computed_figure.h"
#include "month_fixture.h"

namespace month_tests {
namespace {

class MonthFiguresTest : public MonthTest {};

TEST_F(MonthFiguresTest, TheExampleMonthBalancesLikeTheShopsSheet) {
    addDay("2002/11/30", {{"Turnover", 5}, {"Rent", 1}});
    addExampleMonth();
    addDay("2003/1/2", {{"Turnover", 7}});
    auto* sheet = openMonthSheet();
    inquire(sheet, "12/2002");
    ASSERT_EQ(month(sheet), "12/ 2002");

    EXPECT_EQ(text(sheet, "Text25"), "1000");
    EXPECT_EQ(text(sheet, "Text26"), "100");
    EXPECT_EQ(text(sheet, "Text13"), "650");
    EXPECT_EQ(text(sheet, "Text3"), "150");
    EXPECT_EQ(text(sheet, "Text12"), "50");
    EXPECT_EQ(text(sheet, "Text14"), "100");
    EXPECT_EQ(text(sheet, "Text22"), "50");
    EXPECT_EQ(text(sheet, "Text23"), "50");
    EXPECT_EQ(text(sheet, "Text4"), "");  // no partner that month

    EXPECT_EQ(text(sheet, "Label36"), "200");   // administration's subtotal
    EXPECT_EQ(text(sheet, "Label37"), "300");   // subtotal of the expenditure
    EXPECT_EQ(text(sheet, "Label38"), "1100");  // total net amount
    EXPECT_EQ(text(sheet, "Label39"), "300");   // out-of-pocket expenses
    EXPECT_EQ(text(sheet, "Label40"), "100");   // deduct the small incidental money
    EXPECT_EQ(text(sheet, "Label41"), "700");   // subtotal of the cash
    EXPECT_EQ(text(sheet, "Label42"), "-50");   // difference
    EXPECT_EQ(text(sheet, "Label43"), "500");   // total
    EXPECT_TRUE(prompts.told.isEmpty());
}

TEST_F(MonthFiguresTest, EachTotalFieldShowsItsOwnColumnsSum) {
    // A distinct amount per ledger column, so a field bound to the wrong
    // total shows.
    Amounts amounts;
    const QStringList& columns = schema::ledgerDayAmounts();
    for (int i = 0; i < columns.size(); ++i) amounts[columns[i]] = 1 + i;
    addDay("2002/12/1", amounts);
    addDay("2002/12/2", amounts);
    auto* sheet = openMonthSheet();
    // Administration Text3..12, expenditure Text14..23, then the income.
    QStringList fields;
    for (int n = 3; n <= 12; ++n) fields << QStringLiteral("Text%1").arg(n);
    for (int n = 14; n <= 23; ++n) fields << QStringLiteral("Text%1").arg(n);
    fields << "Text25"
           << "Text26"
           << "Text13";
    for (int i = 0; i < fields.size(); ++i)
        EXPECT_EQ(text(sheet, fields[i]), QString::number(2 * (1 + i))) << fields[i].toStdString();
}

TEST_F(MonthFiguresTest, OutOfPocketExpensesAlwaysRepeatTheExpenditureSubtotal) {
    addExampleMonth();
    auto* sheet = openMonthSheet();
    for (const char* typed : {"1", "12.5", "abc", "-3", "0.1"}) {
        field(sheet, "Text19")->setText(QString::fromLatin1(typed));
        EXPECT_EQ(text(sheet, "Label39"), text(sheet, "Label37")) << typed;
    }
    field(sheet, "Text20")->setText("0.2");
    EXPECT_EQ(text(sheet, "Label37"), "300.3");
    EXPECT_EQ(text(sheet, "Label39"), "300.3");
}

TEST_F(MonthFiguresTest, TypingTheCashCountedChangesOnlyTheDifference) {
    addExampleMonth();
    auto* sheet = openMonthSheet();
    QStringList before = figures(sheet);
    QTest::keyClick(field(sheet, "Text13"), Qt::Key_End);
    QTest::keyClicks(field(sheet, "Text13"), "0");
    QStringList after = figures(sheet);
    EXPECT_EQ(after[6], "5800");  // 6500 - 700
    before[6] = after[6];
    EXPECT_EQ(after, before);
}

TEST_F(MonthFiguresTest, SmallIncidentalMoneyCancelsOutOfTheCash) {
    addExampleMonth();
    auto* sheet = openMonthSheet();
    const QStringList before = figures(sheet);
    field(sheet, "Text26")->setText("250");
    const QStringList after = figures(sheet);
    EXPECT_EQ(after[2], "1250");  // total net amount
    EXPECT_EQ(after[4], "250");   // deduction
    EXPECT_EQ(after.mid(5), before.mid(5));
    EXPECT_EQ(after.mid(0, 2), before.mid(0, 2));
    EXPECT_EQ(after[3], before[3]);
}

TEST_F(MonthFiguresTest, SmallIncidentalMoneyRecomputesTheTotalNetAmountFirst) {
    addExampleMonth();
    auto* sheet = openMonthSheet();
    QStringList order;
    for (const char* name : {"Label38", "Label40"}) {
        auto* figure = sheet->findChild<forms::ComputedFigure*>(name);
        QObject::connect(figure, &forms::ComputedFigure::textChanged, sheet,
                         [&order, name] { order << name; });
    }
    field(sheet, "Text26")->setText("7");
    EXPECT_EQ(order, QStringList({"Label38", "Label40"}));
}

TEST_F(MonthFiguresTest, TheDeductionStaysEmptyUntilTheSmallMoneyFirstChanges) {
    addDay("2002/11/3", {{"Turnover", 10}});  // no small incidental money
    addDay("2002/12/3", {{"Turnover", 20}, {"Small incidental money", 4}});
    addDay("2003/1/3", {{"Turnover", 30}});
    auto* sheet = openMonthSheet();
    ASSERT_EQ(month(sheet), monthsInQueryOrder().first());
    ASSERT_EQ(month(sheet), "11/ 2002");
    EXPECT_EQ(text(sheet, "Label40"), "");
    EXPECT_EQ(text(sheet, "Label41"), "10");
    pressBar(sheet, "Next");
    EXPECT_EQ(text(sheet, "Label40"), "4");
    pressBar(sheet, "Next");
    EXPECT_EQ(text(sheet, "Text26"), "");
    EXPECT_EQ(text(sheet, "Label40"), "0");
}

TEST_F(MonthFiguresTest, TheLoadStepComputesInItsOwnOrderAndLeavesTheDeduction) {
    // Watch the figures of a window built by hand, before its load step.
    auto* sheet = new monthly::Form4;
    QStringList firstChanges;
    for (int n = 36; n <= 43; ++n) {
        const QString name = QStringLiteral("Label%1").arg(n);
        auto* figure = sheet->findChild<forms::ComputedFigure*>(name);
        QObject::connect(figure, &forms::ComputedFigure::textChanged, sheet, [&firstChanges, name] {
            if (!firstChanges.contains(name)) firstChanges << name;
        });
    }
    sheet->load();  // an empty query: only the load step writes
    // Each figure is recorded after the reactions it sets off (the window's
    // own reactions are connected first). Label36 sets off Label43; Label37
    // its copy Label39 and through it Label41 and Label42; Label38 comes
    // third and changes nothing further. Label40 is never written.
    EXPECT_EQ(firstChanges, QStringList({"Label43", "Label36", "Label42", "Label41", "Label39",
                                         "Label37", "Label38"}));
    EXPECT_EQ(figures(sheet), QStringList({"0", "0", "0", "0", "", "0", "0", "0"}));
}

TEST_F(MonthFiguresTest, AnEmptyQueryShowsEmptyFieldsAndZeroFigures) {
    auto* sheet = openMonthSheet();
    ASSERT_NE(sheet, nullptr);
    for (int n = 2; n <= 26; ++n) {
        if (n == 24) continue;  // no such field
        EXPECT_EQ(text(sheet, QStringLiteral("Text%1").arg(n)), "") << n;
    }
    EXPECT_EQ(figures(sheet), QStringList({"0", "0", "0", "0", "", "0", "0", "0"}));
    EXPECT_TRUE(prompts.told.isEmpty());
}

TEST_F(MonthFiguresTest, AnOverflowIsReportedOnceAndTheFigureKeepsItsText) {
    addExampleMonth();
    auto* sheet = openMonthSheet();
    field(sheet, "Text5")->setText("1e308");
    const QString before = text(sheet, "Label36");
    const QString totalBefore = text(sheet, "Label43");
    field(sheet, "Text6")->setText("1e308");
    EXPECT_EQ(text(sheet, "Label36"), before);
    EXPECT_EQ(text(sheet, "Label43"), totalBefore);
    ASSERT_EQ(prompts.told.size(), 1);
    EXPECT_TRUE(prompts.toldTexts[0].endsWith("(Error 6)")) << prompts.toldTexts[0].toStdString();
}

TEST_F(MonthFiguresTest, AChainFailingInsideACommandIsShownOnceWhenTheCommandEnds) {
    addExampleMonth();
    auto* sheet = openMonthSheet();
    field(sheet, "Text5")->setText("1e308");
    const QString before = text(sheet, "Label36");
    const auto outcome = setInsideCommand(field(sheet, "Text6"), "1e308");
    EXPECT_FALSE(outcome.succeeded);
    EXPECT_TRUE(outcome.nextStepRan);
    ASSERT_EQ(prompts.toldTexts.size(), 1);
    EXPECT_TRUE(prompts.toldTexts[0].endsWith("(Error 6)")) << prompts.toldTexts[0].toStdString();
    EXPECT_EQ(text(sheet, "Label36"), before);
}

}  // namespace
}  // namespace month_tests
