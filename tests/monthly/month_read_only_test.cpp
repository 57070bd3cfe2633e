// SPDX-License-Identifier: GPL-3.0-or-later
#include <QPointer>
#include <QTest>

#include "month_fixture.h"

namespace month_tests {
namespace {

// Month rows are sums of the daily ledger: what is typed into a total shows
// in the figures but can never be stored. The user hears so once, and the
// move or the closing goes ahead.
class MonthReadOnlyTest : public MonthTest {
protected:
    void SetUp() override {
        MonthTest::SetUp();
        addExampleMonth();
        addDay("2003/1/4", {{"Turnover", 11}});
        turnoverBefore = ledgerSum("Turnover");
    }

    void expectNothingStored() {
        EXPECT_EQ(ledgerSum("Turnover"), turnoverBefore);
        EXPECT_EQ(db.scalar("SELECT COUNT(*) FROM \"daily settlement of accounts\""),
                  QVariant(3.0));
    }

    void expectOneReadOnlyMessage() {
        ASSERT_EQ(prompts.told.size(), 1) << prompts.told.join("\n").toStdString();
        EXPECT_TRUE(prompts.told[0].startsWith(forms::programTitle() + "|"));
        EXPECT_TRUE(prompts.toldTexts[0].startsWith("Month totals cannot be edited"))
            << prompts.toldTexts[0].toStdString();
    }

    QVariant turnoverBefore;
};

TEST_F(MonthReadOnlyTest, TypedTotalsChangeTheFiguresOnScreen) {
    auto* sheet = openMonthSheet();
    ASSERT_EQ(month(sheet), "12/ 2002");
    QTest::keyClick(field(sheet, "Text25"), Qt::Key_End);
    QTest::keyClicks(field(sheet, "Text25"), "0");
    EXPECT_EQ(text(sheet, "Label38"), "10100");
    EXPECT_TRUE(prompts.told.isEmpty());
}

TEST_F(MonthReadOnlyTest, MovingOnTellsOnceMovesAndStoresNothing) {
    auto* sheet = openMonthSheet();
    QTest::keyClicks(field(sheet, "Text25"), "9");
    QTest::keyClicks(field(sheet, "Text3"), "9");
    pressBar(sheet, "Next");
    expectOneReadOnlyMessage();
    EXPECT_EQ(month(sheet), "1/ 2003");
    expectNothingStored();

    // Coming back shows the month as stored; nothing more is said.
    pressBar(sheet, "Previous");
    EXPECT_EQ(text(sheet, "Text25"), "1000");
    EXPECT_EQ(text(sheet, "Label43"), "500");
    EXPECT_EQ(prompts.told.size(), 1);
}

TEST_F(MonthReadOnlyTest, ClosingTellsOnceAndCloses) {
    QPointer<monthly::Form4> sheet = openMonthSheet();
    sheet->show();
    QTest::keyClicks(field(sheet, "Text13"), "1");
    sheet->close();
    flushDeletes();
    expectOneReadOnlyMessage();
    EXPECT_TRUE(sheet.isNull());
    EXPECT_EQ(FormWindow::find("Form4"), nullptr);
    expectNothingStored();
}

TEST_F(MonthReadOnlyTest, AnInquiryAfterTypingTellsOnceAndStillFinds) {
    auto* sheet = openMonthSheet();
    pressBar(sheet, "Last");
    QTest::keyClicks(field(sheet, "Text26"), "5");
    inquire(sheet, "12/2002");
    expectOneReadOnlyMessage();
    EXPECT_EQ(month(sheet), "12/ 2002");
    EXPECT_EQ(text(sheet, "Label40"), "100");
    expectNothingStored();
}

TEST_F(MonthReadOnlyTest, TheTitleFieldIsNotATotal) {
    auto* sheet = openMonthSheet();
    EXPECT_EQ(text(sheet, "Text1"), "Settle account in the month");
    field(sheet, "Text1")->setText("December, for the accountant");
    pressBar(sheet, "Next");
    EXPECT_TRUE(prompts.told.isEmpty());
    EXPECT_EQ(text(sheet, "Text1"), "December, for the accountant");
}

}  // namespace
}  // namespace month_tests
