// SPDX-License-Identifier: GPL-3.0-or-later
#include "month_fixture.h"

namespace month_tests {
namespace {

class MonthInquiryTest : public MonthTest {
protected:
    void SetUp() override {
        MonthTest::SetUp();
        addExampleMonth();
        addDay("2003/1/4", {{"Turnover", 11}});
        addDay("2003/2/4", {{"Turnover", 22}});
    }

    // Starts the sheet on a month other than the one each test looks for.
    monthly::Form4* openOnLastMonth() {
        auto* sheet = openMonthSheet();
        pressBar(sheet, "Last");
        return sheet;
    }
};

TEST_F(MonthInquiryTest, AsksForTheMonthInTheButtonsStyle) {
    auto* sheet = openOnLastMonth();
    inquire(sheet, "12/2002");
    ASSERT_EQ(prompts.inputsAsked.size(), 1u);
    EXPECT_EQ(prompts.inputsAsked[0].message, "Please input month:");
    EXPECT_EQ(prompts.inputsAsked[0].title, "Inquiry");
    EXPECT_EQ(prompts.inputsAsked[0].preset, "");
    EXPECT_EQ(button(sheet, "Command1")->text(), "Inquiry  --Style:12/2002");
}

TEST_F(MonthInquiryTest, TheButtonsStyleFindsTheMonth) {
    auto* sheet = openOnLastMonth();
    inquire(sheet, "12/2002");
    EXPECT_EQ(month(sheet), "12/ 2002");
    EXPECT_EQ(text(sheet, "Label43"), "500");
}

TEST_F(MonthInquiryTest, BlanksAroundTheMonthAreIgnored) {
    auto* sheet = openOnLastMonth();
    inquire(sheet, " 12/2002 ");
    EXPECT_EQ(month(sheet), "12/ 2002");
}

TEST_F(MonthInquiryTest, OnlyBlanksAreCutATabIsPartOfTheMonth) {
    auto* sheet = openOnLastMonth();
    const QString before = month(sheet);
    inquire(sheet, "12/2002\t");
    EXPECT_EQ(month(sheet), before);
}

TEST_F(MonthInquiryTest, AMonthTypedWithTheBlankFindsNothingAndStays) {
    auto* sheet = openOnLastMonth();
    const QString before = month(sheet);
    inquire(sheet, "12/ 2002");  // becomes 12/  2002
    EXPECT_EQ(month(sheet), before);
    EXPECT_TRUE(prompts.told.isEmpty());
}

TEST_F(MonthInquiryTest, APatternFindsTheFirstMatchingMonthInTheQuerysOrder) {
    auto* sheet = openOnLastMonth();
    inquire(sheet, "*/2002");
    EXPECT_EQ(month(sheet), "12/ 2002");

    QString firstOf2003;
    for (const QString& m : monthsInQueryOrder())
        if (m.endsWith("/ 2003")) {
            firstOf2003 = m;
            break;
        }
    ASSERT_FALSE(firstOf2003.isEmpty());
    pressBar(sheet, "Last");
    inquire(sheet, "*/2003");
    EXPECT_EQ(month(sheet), firstOf2003);
}

// The search starts from the first month: the sheet moves there before it
// looks, and comes back when nothing matched.
TEST_F(MonthInquiryTest, TheSearchGoesToTheFirstMonthBeforeLooking) {
    auto* sheet = openOnLastMonth();
    const QString last = month(sheet);
    const QString first = monthsInQueryOrder().first();
    ASSERT_NE(first, last);
    QStringList shown;
    QObject::connect(&sheet->records(), &ledger::RecordSource::currentRowChanged, sheet,
                     [&] { shown << month(sheet); });

    inquire(sheet, "1/2003");
    EXPECT_EQ(shown, QStringList({first, "1/ 2003"}));

    shown.clear();
    inquire(sheet, "7/1999");
    EXPECT_EQ(shown, QStringList({first, "1/ 2003"}));
    EXPECT_TRUE(prompts.told.isEmpty());
}

TEST_F(MonthInquiryTest, ACancelledPromptLeavesTheMonthShown) {
    auto* sheet = openMonthSheet();
    pressBar(sheet, "Next");
    const QString before = month(sheet);
    const QStringList figuresBefore = figures(sheet);
    inquireCancelled(sheet);
    EXPECT_EQ(prompts.inputsAsked.size(), 1u);
    EXPECT_EQ(month(sheet), before);
    EXPECT_EQ(figures(sheet), figuresBefore);
    EXPECT_TRUE(prompts.told.isEmpty());
}

TEST_F(MonthInquiryTest, AnApostropheIsReportedOnce) {
    auto* sheet = openOnLastMonth();
    inquire(sheet, "12/20'02");
    ASSERT_EQ(prompts.told.size(), 1);
    EXPECT_TRUE(prompts.toldTexts[0].endsWith("(Error 3077)"))
        << prompts.toldTexts[0].toStdString();
    EXPECT_TRUE(monthsInQueryOrder().contains(month(sheet)));
}

TEST_F(MonthInquiryTest, OpeningAgainBringsTheSameSheetWithItsMonth) {
    auto* sheet = openOnLastMonth();
    const QString shown = month(sheet);
    EXPECT_EQ(openMonthSheet(), sheet);
    EXPECT_EQ(month(sheet), shown);
}

class EmptyMonthInquiryTest : public MonthTest {};

TEST_F(EmptyMonthInquiryTest, NoMonthIsReportedBeforeAnyPrompt) {
    auto* sheet = openMonthSheet();
    prompts.inputAnswers.push_back("12/2002");
    button(sheet, "Command1")->click();
    EXPECT_TRUE(prompts.inputsAsked.empty());
    ASSERT_EQ(prompts.told.size(), 1);
    EXPECT_TRUE(prompts.told[0].startsWith(forms::programTitle() + "|") &&
                prompts.told[0].endsWith("(Error 3021)"))
        << prompts.told[0].toStdString();
    EXPECT_TRUE(prompts.toldTexts[0].contains("the books hold no days. Begin a day with New"));
    EXPECT_EQ(month(sheet), "");
    EXPECT_EQ(text(sheet, "Label40"), "");
}

}  // namespace
}  // namespace month_tests
