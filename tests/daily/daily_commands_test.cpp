// SPDX-License-Identifier: GPL-3.0-or-later
// Inquiry, New, Save and moving between days in the daily window, checked in
// the window and in the database file itself.

#include "daily_fixture.h"

namespace {

using DayCommands = DailyWindowTest;

class DayCommandsOnThreeDays : public DailyWindowTest {
protected:
    void SetUp() override {
        DailyWindowTest::SetUp();
        insertDay("2002/1/31", {{"Rent", 10}});
        insertDay("2002/2/11", {{"Rent", 20}});
        insertDay("2002/2/12", {{"Rent", 30}});
        insertDay("2002/3/1", {{"Rent", 40}});
        openSheet();
        barButton("Last")->click();
        ASSERT_EQ(field("Text2")->text(), "2002/3/1");
    }
};

TEST_F(DayCommandsOnThreeDays, InquiryAsksForTheDateAndFindsItWithBlanksAround) {
    prompts.inputAnswers = {"  2002/2/12  "};
    button("Command1")->click();
    ASSERT_EQ(prompts.inputsAsked.size(), 1u);
    EXPECT_EQ(prompts.inputsAsked[0].message, "Please input date");
    EXPECT_EQ(prompts.inputsAsked[0].title, "Inquiry");
    EXPECT_EQ(prompts.inputsAsked[0].preset, "");
    EXPECT_EQ(field("Text2")->text(), "2002/2/12");
    EXPECT_EQ(figure("Label28")->text(), "30");
    EXPECT_TRUE(prompts.told.isEmpty());
}

TEST_F(DayCommandsOnThreeDays, InquiryTrimsBlanksOnly) {
    // A pasted tab is part of the date asked for, so no day matches.
    prompts.inputAnswers = {"2002/2/12\t"};
    button("Command1")->click();
    EXPECT_EQ(field("Text2")->text(), "2002/3/1");
    EXPECT_TRUE(prompts.told.isEmpty()) << prompts.told.join("\n").toStdString();
}

TEST_F(DayCommandsOnThreeDays, InquiryWithAWildcardFindsTheFirstDayOfTheMonth) {
    prompts.inputAnswers = {"2002/2/*"};
    button("Command1")->click();
    EXPECT_EQ(field("Text2")->text(), "2002/2/11");
}

TEST_F(DayCommandsOnThreeDays, InquiryWithoutAWildcardMatchesOnlyTheWholeDate) {
    prompts.inputAnswers = {"2002/2/1"};
    button("Command1")->click();
    EXPECT_EQ(field("Text2")->text(), "2002/3/1");
}

TEST_F(DayCommandsOnThreeDays, InquiryWithNoMatchStaysSilentlyOnTheDay) {
    barButton("Previous")->click();
    prompts.inputAnswers = {"2003/1/1"};
    button("Command1")->click();
    EXPECT_EQ(field("Text2")->text(), "2002/2/12");
    EXPECT_EQ(days().currentIndex(), 2);
    EXPECT_TRUE(prompts.told.isEmpty());
}

TEST_F(DayCommandsOnThreeDays, ACancelledInquiryStaysOnTheDay) {
    button("Command1")->click();  // no scripted answer: cancelled
    EXPECT_EQ(prompts.inputsAsked.size(), 1u);
    EXPECT_EQ(field("Text2")->text(), "2002/3/1");
    EXPECT_TRUE(prompts.told.isEmpty());
}

TEST_F(DayCommandsOnThreeDays, AnApostropheInTheInquiryIsOneErrorMessage) {
    type("Text1", "41");
    prompts.inputAnswers = {"2002'/2/12"};
    button("Command1")->click();
    ASSERT_EQ(prompts.told.size(), 1);
    EXPECT_TRUE(prompts.toldTexts[0].contains("Error 3077")) << prompts.toldTexts[0].toStdString();
    EXPECT_EQ(field("Text2")->text(), "2002/3/1");
    // The command went no further: the edit is still pending, not lost.
    EXPECT_EQ(field("Text1")->text(), "41");
    EXPECT_EQ(stored("Rent", "2002/3/1").toDouble(), 40);
    button("Command1")->click();
    EXPECT_EQ(stored("Rent", "2002/3/1").toDouble(), 41);
}

TEST_F(DayCommands, InquiryOnAnEmptyLedgerFailsBeforeAsking) {
    openSheet();
    button("Command1")->click();
    EXPECT_TRUE(prompts.inputsAsked.empty());
    ASSERT_EQ(prompts.told.size(), 1);
    EXPECT_EQ(prompts.toldTexts[0],
              "No current record: there is no day in the books yet. Press New first to begin one. "
              "(Error 3021)");
    prompts.yesNoAnswers = {true};
    button("Command4")->click();
    button("Command1")->click();
    EXPECT_TRUE(prompts.toldTexts.value(1).contains("Save the new day first. (Error 3021)"));
}

TEST_F(DayCommandsOnThreeDays, NewAnsweredNoLeavesEverything) {
    const auto before = figures();
    prompts.yesNoAnswers = {false};
    button("Command4")->click();
    ASSERT_EQ(prompts.yesNoAsked.size(), 1u);
    EXPECT_EQ(prompts.yesNoAsked[0].message, "Whether fix and increase newly!");
    EXPECT_EQ(prompts.yesNoAsked[0].title, forms::programTitle());
    EXPECT_EQ(field("Text2")->text(), "2002/3/1");
    EXPECT_EQ(figures(), before);
    EXPECT_FALSE(days().isNewRow());
    button("Command5")->click();  // stores nothing new
    EXPECT_EQ(storedRows(), 4);
}

TEST_F(DayCommandsOnThreeDays, NewTypeAndSaveStoresTheDayAndShowsItInRed) {
    prompts.yesNoAnswers = {true};
    button("Command4")->click();
    ASSERT_TRUE(days().isNewRow());
    type("Text2", "2002/3/2");
    type("Text1", "55");
    type("Text12", "30");
    type("Text25", "200");
    button("Command5")->click();

    EXPECT_EQ(storedRows(), 5);
    EXPECT_EQ(stored("Rent", "2002/3/2").toDouble(), 55);
    EXPECT_EQ(stored("Bread trader", "2002/3/2").toDouble(), 30);
    EXPECT_EQ(stored("Turnover", "2002/3/2").toDouble(), 200);
    EXPECT_TRUE(stored("Egg", "2002/3/2").isNull());

    EXPECT_EQ(field("Text2")->text(), "2002/3/2");
    EXPECT_EQ(figures(), expectedFigures({{"Rent", 55}, {"Bread trader", 30}, {"Turnover", 200}}));
    const QColor red = forms::bgrColor(1000);
    EXPECT_EQ(field("Text2")->palette().color(QPalette::Text), red);
    // The date stays red on every day from then on.
    barButton("First")->click();
    EXPECT_EQ(field("Text2")->text(), "2002/1/31");
    EXPECT_EQ(field("Text2")->palette().color(QPalette::Text), red);
    EXPECT_TRUE(prompts.told.isEmpty());
}

TEST_F(DayCommandsOnThreeDays, TheDateIsBlackUntilTheFirstSave) {
    EXPECT_NE(field("Text2")->palette().color(QPalette::Text), forms::bgrColor(1000));
}

TEST_F(DayCommandsOnThreeDays, SaveKeepsTheBlanksOfTheTypedDate) {
    // New, then Save it anyway although the blank makes it no calendar day.
    prompts.yesNoAnswers = {true, true};
    button("Command4")->click();
    type("Text2", "2002/3/5 ");
    type("Text1", "9");
    button("Command5")->click();
    EXPECT_EQ(stored("Rent", "2002/3/5 ").toDouble(), 9);
    // Found again by the untrimmed text: the new day is shown, not the first.
    EXPECT_EQ(field("Text2")->text(), "2002/3/5 ");
    ASSERT_EQ(prompts.defaultNoAsked.size(), 1u);
    EXPECT_TRUE(prompts.defaultNoAsked[0].message.contains("not a calendar day"));
}

TEST_F(DayCommandsOnThreeDays, SaveWithAnEmptyDateShowsTheFirstDay) {
    // New, then Save it anyway without a date.
    prompts.yesNoAnswers = {true, true};
    button("Command4")->click();
    type("Text1", "66");
    button("Command5")->click();
    EXPECT_EQ(storedRows(), 5);
    EXPECT_EQ(db.scalar("SELECT Rent FROM \"daily settlement of accounts\" WHERE Date IS NULL")
                  .toDouble(),
              66);
    EXPECT_EQ(field("Text2")->text(), "2002/1/31");
    EXPECT_EQ(days().currentIndex(), 0);
    EXPECT_TRUE(prompts.told.isEmpty());
}

TEST_F(DayCommandsOnThreeDays, SaveOfAnEditedDayStoresItAndFindsItAgain) {
    barButton("Previous")->click();
    type("Text16", "14.25");
    button("Command5")->click();
    EXPECT_EQ(stored("Egg", "2002/2/12").toDouble(), 14.25);
    EXPECT_EQ(field("Text2")->text(), "2002/2/12");
    EXPECT_EQ(figure("Label38")->text(), "14.25");
}

TEST_F(DayCommandsOnThreeDays, AnEditIsStoredWhenTheBarMovesToAnotherDay) {
    type("Text1", "77");
    type("Text26", "3");
    barButton("First")->click();
    EXPECT_EQ(field("Text2")->text(), "2002/1/31");
    EXPECT_EQ(stored("Rent", "2002/3/1").toDouble(), 77);
    EXPECT_EQ(stored("Small incidental money", "2002/3/1").toDouble(), 3);
    EXPECT_EQ(stored("Rent", "2002/1/31").toDouble(), 10);
}

TEST_F(DayCommandsOnThreeDays, AnEditTheColumnCannotTakeStaysOnItsDayWithOneMessage) {
    type("Text1", "abc");
    type("Text3", "5");
    EXPECT_EQ(figure("Label28")->text(), "5");  // abc counts as 0 in the figures
    barButton("First")->click();
    ASSERT_EQ(prompts.told.size(), 1);
    EXPECT_TRUE(prompts.toldTexts[0].contains("Error 3421")) << prompts.toldTexts[0].toStdString();
    EXPECT_EQ(field("Text2")->text(), "2002/3/1");
    EXPECT_EQ(field("Text1")->text(), "abc");
    EXPECT_EQ(field("Text3")->text(), "5");
    EXPECT_EQ(stored("Rent", "2002/3/1").toDouble(), 40);
    EXPECT_TRUE(stored("Partner", "2002/3/1").isNull());

    // Save fails the same way and goes no further: the date does not turn red.
    button("Command5")->click();
    EXPECT_EQ(prompts.told.size(), 2);
    EXPECT_NE(field("Text2")->palette().color(QPalette::Text), forms::bgrColor(1000));

    // Corrected, the day is stored with both edits.
    type("Text1", "12");
    button("Command5")->click();
    EXPECT_EQ(prompts.told.size(), 2);
    EXPECT_EQ(stored("Rent", "2002/3/1").toDouble(), 12);
    EXPECT_EQ(stored("Partner", "2002/3/1").toDouble(), 5);
}

TEST_F(DayCommandsOnThreeDays, ClosingTheWindowStoresPendingEdits) {
    type("Text19", "8.5");
    sheet()->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(forms::FormWindow::find("Form1"), nullptr);
    EXPECT_EQ(stored("Miscellaneous", "2002/3/1").toDouble(), 8.5);
}

TEST_F(DayCommands, ADateHeldByTwoRowsIsFoundAtTheFirstOfThem) {
    insertDay("2002/2/12", {{"Rent", 1}});
    insertDay("2002/2/13", {{"Rent", 2}});
    insertDay("2002/2/12", {{"Rent", 3}});
    openSheet();
    barButton("Last")->click();
    prompts.inputAnswers = {"2002/2/12"};
    button("Command1")->click();
    EXPECT_EQ(days().currentIndex(), 0);
    EXPECT_EQ(field("Text1")->text(), "1");

    // Save of the second row of that date shows the first one again.
    barButton("Last")->click();
    type("Text3", "4");
    button("Command5")->click();
    EXPECT_EQ(days().currentIndex(), 0);
    EXPECT_EQ(field("Text1")->text(), "1");
    EXPECT_EQ(
        db.scalar("SELECT Partner FROM \"daily settlement of accounts\" WHERE Rent = 3").toDouble(),
        4);
}

}  // namespace
