// SPDX-License-Identifier: GPL-3.0-or-later
#include <QTest>

#include "ledger/amount/amount.h"
#include "sheet_fixture.h"

namespace sheet_tests {
namespace {

class SheetSubtotalTest : public SheetTest {};

TEST_F(SheetSubtotalTest, ADayWithoutItemsShowsZero) {
    addDay("2002/2/12");
    for (const char* name : {"Form2", "Form3"}) {
        auto* sheet = FormWindow::loadWindow(name);
        EXPECT_EQ(subtotal(sheet), "0") << name;
    }
}

TEST_F(SheetSubtotalTest, AnEmptyTableShowsEmptyFieldsAndZero) {
    auto* sheet = FormWindow::loadWindow("Form2");
    EXPECT_EQ(subtotal(sheet), "0");
    for (int i = 1; i <= 10; ++i) EXPECT_EQ(item(sheet, i)->text(), "");
    EXPECT_TRUE(prompts.told.isEmpty());
}

TEST_F(SheetSubtotalTest, TheFirstRowsItemsAreAddedWhenTheSheetOpens) {
    addDay("2002/2/11", {{"Soup cup", 10}, {"Other", 2.25}, {"Cup", 7}, {"Other2", 1}});
    EXPECT_EQ(subtotal(FormWindow::loadWindow("Form2")), "12.25");
    EXPECT_EQ(subtotal(FormWindow::loadWindow("Form3")), "8");
}

TEST_F(SheetSubtotalTest, EveryKeystrokeRecomputes) {
    addDay("2002/2/12");
    auto* sheet = FormWindow::loadWindow("Form2");
    QStringList seen;
    QTest::keyClick(item(sheet, 3), Qt::Key_1);
    seen << subtotal(sheet);
    QTest::keyClick(item(sheet, 3), Qt::Key_2);
    seen << subtotal(sheet);
    QTest::keyClicks(item(sheet, 10), "5");
    seen << subtotal(sheet);
    QTest::keyClick(item(sheet, 3), Qt::Key_Backspace);
    seen << subtotal(sheet);
    EXPECT_EQ(seen, QStringList({"1", "12", "17", "6"}));
}

TEST_F(SheetSubtotalTest, ItemsCountByTheirLeadingNumber) {
    addDay("2002/2/12");
    auto* sheet = FormWindow::loadWindow("Form3");
    QTest::keyClicks(item(sheet, 1), "12abc");
    QTest::keyClicks(item(sheet, 2), "abc");
    QTest::keyClicks(item(sheet, 3), "-5");
    QTest::keyClicks(item(sheet, 4), "12.5");
    EXPECT_EQ(subtotal(sheet), "19.5");
    // The texts stay as typed.
    EXPECT_EQ(item(sheet, 1)->text(), "12abc");
    EXPECT_EQ(item(sheet, 2)->text(), "abc");
    EXPECT_TRUE(prompts.told.isEmpty());
}

TEST_F(SheetSubtotalTest, TheSumIsTakenAtAmountTextPrecision) {
    addDay("2002/2/12");
    auto* sheet = FormWindow::loadWindow("Form2");
    item(sheet, 1)->setText("0.1");
    item(sheet, 2)->setText("0.2");
    EXPECT_EQ(subtotal(sheet), ledger::amountText(0.1 + 0.2));
    EXPECT_EQ(subtotal(sheet), "0.3");
}

TEST_F(SheetSubtotalTest, MovingToAnotherDayShowsThatDaysSubtotal) {
    addDay("2002/2/11", {{"Soup cup", 10}, {"Beverage cup", 5}});
    addDay("2002/2/12", {{"Chopsticks", 2.5}, {"Other", 4}});
    auto* sheet = FormWindow::loadWindow("Form2");
    EXPECT_EQ(subtotal(sheet), "15");
    pressBar(sheet, "Next");
    EXPECT_EQ(dateField(static_cast<supplies::SupplySheet*>(sheet))->text(), "2002/2/12");
    EXPECT_EQ(subtotal(sheet), "6.5");
    pressBar(sheet, "Previous");
    EXPECT_EQ(subtotal(sheet), "15");
}

TEST_F(SheetSubtotalTest, EditingTheDateLeavesTheSubtotalAlone) {
    addDay("2002/2/12", {{"Soup cup", 3}});
    auto* sheet = qobject_cast<supplies::SupplySheet*>(FormWindow::loadWindow("Form2"));
    QTest::keyClicks(dateField(sheet), "5");
    EXPECT_EQ(subtotal(sheet), "3");
}

TEST_F(SheetSubtotalTest, AnOverflowIsReportedOnceAndKeepsThePreviousSubtotal) {
    addDay("2002/2/12", {{"Soup cup", 1}});
    auto* sheet = FormWindow::loadWindow("Form2");
    item(sheet, 2)->setText("1e308");
    const QString before = subtotal(sheet);
    EXPECT_EQ(before, ledger::amountText(1 + 1e308));
    item(sheet, 3)->setText("1e308");
    EXPECT_EQ(subtotal(sheet), before);
    ASSERT_EQ(prompts.told.size(), 1);
    EXPECT_TRUE(prompts.toldTexts[0].contains("Error 6")) << prompts.toldTexts[0].toStdString();
    EXPECT_TRUE(prompts.told[0].startsWith(forms::programTitle() + "|"));
    // Back in range: the subtotal follows again.
    item(sheet, 3)->setText("-1e308");
    EXPECT_EQ(subtotal(sheet), ledger::amountText(1 + 1e308 - 1e308));
}

TEST_F(SheetSubtotalTest, AChainFailingInsideACommandIsShownOnceWhenTheCommandEnds) {
    addDay("2002/2/12", {{"Soup cup", 1}});
    auto* sheet = FormWindow::loadWindow("Form2");
    item(sheet, 2)->setText("1e308");
    const QString before = subtotal(sheet);
    const auto outcome = setInsideCommand(item(sheet, 3), "1e308");
    EXPECT_FALSE(outcome.succeeded);
    EXPECT_TRUE(outcome.nextStepRan);
    ASSERT_EQ(prompts.toldTexts.size(), 1);
    EXPECT_TRUE(prompts.toldTexts[0].contains("Error 6")) << prompts.toldTexts[0].toStdString();
    EXPECT_EQ(subtotal(sheet), before);
}

}  // namespace
}  // namespace sheet_tests
