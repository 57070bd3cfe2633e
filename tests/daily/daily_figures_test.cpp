// SPDX-License-Identifier: GPL-3.0-or-later
// The eight figures of the day sheet, driven through the window's fields the
// way the user and the other windows drive them.

#include <QSignalSpy>

#include "daily_fixture.h"

namespace {

using DailyFigures = DailyWindowTest;

TEST_F(DailyFigures, AnEmptyLedgerShowsZeroInEveryFigure) {
    openSheet();
    for (const QString& name : figureNames())
        EXPECT_EQ(figure(name)->text(), "0") << name.toStdString();
}

TEST_F(DailyFigures, ANewRowShowsZeroInEveryFigure) {
    insertDay("2002/2/12", {{"Rent", 100}, {"Bread trader", 30}, {"Turnover", 200}});
    openSheet();
    ASSERT_EQ(figure("Label28")->text(), "100");
    prompts.yesNoAnswers = {true};
    button("Command4")->click();
    for (const QString& name : figureNames())
        EXPECT_EQ(figure(name)->text(), "0") << name.toStdString();
    EXPECT_EQ(field("Text2")->text(), "");
}

TEST_F(DailyFigures, RentAndPartnerTypedKeyByKey) {
    insertDay("2002/2/12");
    openSheet();
    type("Text1", "100");
    type("Text3", "50");
    EXPECT_EQ(figure("Label28")->text(), "150");
    EXPECT_EQ(figure("Label44")->text(), "-150");
    EXPECT_TRUE(prompts.told.isEmpty());
}

TEST_F(DailyFigures, BreadTraderTurnoverSmallMoneyAndCashCounted) {
    insertDay("2002/2/12");
    openSheet();
    type("Text12", "30");
    type("Text25", "200");
    type("Text26", "20");
    type("Text31", "175");
    EXPECT_EQ(figure("Label38")->text(), "30");
    EXPECT_EQ(figure("Label39")->text(), "30");
    EXPECT_EQ(figure("Label40")->text(), "20");
    EXPECT_EQ(figure("Label41")->text(), "220");
    EXPECT_EQ(figure("Label42")->text(), "170");
    EXPECT_EQ(figure("Label43")->text(), "5");
    EXPECT_EQ(figure("Label44")->text(), "170");
}

TEST_F(DailyFigures, EveryKeystrokeInTurnoverUpdatesTheTotals) {
    insertDay("2002/2/12", {{"Bread trader", 30},
                            {"Small incidental money", 20},
                            {"Accept cashes in fact", 175},
                            {"Rent", 7}});
    openSheet();
    QMap<QString, double> amounts = {{"Bread trader", 30},
                                     {"Small incidental money", 20},
                                     {"Accept cashes in fact", 175},
                                     {"Rent", 7}};
    QLineEdit* turnover = field("Text25");
    turnover->setFocus();
    for (const QString& typed : {QString("1"), QString("12"), QString("125")}) {
        QTest::keyClick(turnover, typed.back().toLatin1());
        ASSERT_EQ(turnover->text(), typed);
        amounts["Turnover"] = typed.toDouble();
        const auto expected = expectedFigures(amounts);
        for (const char* name : {"Label41", "Label42", "Label43", "Label44"})
            EXPECT_EQ(figure(name)->text(), expected[name])
                << name << " after " << typed.toStdString();
    }
}

TEST_F(DailyFigures, TextWithALeadingNumberCountsAsThatNumber) {
    insertDay("2002/2/12");
    openSheet();
    type("Text12", "12abc");
    EXPECT_EQ(figure("Label38")->text(), "12");
    type("Text13", "abc");
    EXPECT_EQ(figure("Label38")->text(), "12");
    type("Text13", "1 200");
    EXPECT_EQ(figure("Label38")->text(), "1212");
    EXPECT_TRUE(prompts.told.isEmpty());
}

TEST_F(DailyFigures, CashCountedChangesOnlyTheDifference) {
    insertDay("2002/2/12", {{"Rent", 40},
                            {"Egg", 12.5},
                            {"Turnover", 300},
                            {"Small incidental money", 15},
                            {"Accept cashes in fact", 280}});
    openSheet();
    const auto before = figures();
    std::vector<std::unique_ptr<QSignalSpy>> spies;
    for (const QString& name : figureNames())
        spies.push_back(
            std::make_unique<QSignalSpy>(figure(name), &forms::ComputedFigure::textChanged));
    type("Text31", "290");
    for (int i = 0; i < figureNames().size(); ++i) {
        const QString& name = figureNames()[i];
        if (name == "Label43") {
            EXPECT_NE(figure(name)->text(), before[name]);
        } else {
            EXPECT_EQ(figure(name)->text(), before[name]) << name.toStdString();
            EXPECT_EQ(spies[i]->count(), 0) << name.toStdString();
        }
    }
    EXPECT_EQ(figure("Label43")->text(), ledger::amountText(290 - (300 - 12.5)));
}

TEST_F(DailyFigures, SmallIncidentalMoneyCancelsOutOfTheCashSubtotal) {
    insertDay("2002/2/12", {{"Egg", 12.5}, {"Turnover", 300}, {"Small incidental money", 15}});
    openSheet();
    const auto before = figures();
    type("Text26", "48");
    EXPECT_EQ(figure("Label42")->text(), before["Label42"]);
    EXPECT_EQ(figure("Label40")->text(), "48");
    EXPECT_EQ(figure("Label41")->text(), "348");
    EXPECT_NE(figure("Label41")->text(), before["Label41"]);
}

TEST_F(DailyFigures, FiguresWrittenByOtherWindowsReactAsTyping) {
    // Personnel rate (the wage window), Tableware and Articles in the shop
    // (the supply sheets) are written by code into the fields.
    insertDay("2002/2/12", {{"Rent", 100}, {"Turnover", 900}, {"Accept cashes in fact", 600}});
    openSheet();
    QMap<QString, double> amounts = {
        {"Rent", 100}, {"Turnover", 900}, {"Accept cashes in fact", 600}};

    field("Text7")->setText("64");
    amounts["Personnel rate"] = 64;
    EXPECT_EQ(figures(), expectedFigures(amounts));

    field("Text20")->setText("35.5");
    amounts["Tableware"] = 35.5;
    EXPECT_EQ(figures(), expectedFigures(amounts));

    field("Text21")->setText("120");
    amounts["Articles in the shop"] = 120;
    EXPECT_EQ(figures(), expectedFigures(amounts));

    // Written text is an edit like typed text: Save stores it with the day.
    button("Command5")->click();
    EXPECT_EQ(stored("Personnel rate", "2002/2/12").toDouble(), 64);
    EXPECT_EQ(stored("Tableware", "2002/2/12").toDouble(), 35.5);
    EXPECT_EQ(stored("Articles in the shop", "2002/2/12").toDouble(), 120);
}

TEST_F(DailyFigures, EveryRowShownBringsTheFiguresToItsDay) {
    const QMap<QString, double> first = {{"Rent", 120},
                                         {"Partner", 30},
                                         {"Bread trader", 45.5},
                                         {"Noodles", 12},
                                         {"Turnover", 780},
                                         {"Small incidental money", 25},
                                         {"Accept cashes in fact", 700}};
    const QMap<QString, double> second = {
        {"Water rate", 18}, {"Gas", 22.25}, {"Turnover", 410}, {"Accept cashes in fact", 390.75}};
    insertDay("2002/2/11", first);
    insertDay("2002/2/12", second);
    openSheet();
    EXPECT_EQ(figures(), expectedFigures(first));
    barButton("Next")->click();
    EXPECT_EQ(field("Text2")->text(), "2002/2/12");
    EXPECT_EQ(figures(), expectedFigures(second));
    barButton("Previous")->click();
    EXPECT_EQ(figures(), expectedFigures(first));
    EXPECT_TRUE(prompts.told.isEmpty());
}

TEST_F(DailyFigures, AnOverflowingSumIsReportedOnceAndTheSheetCarriesOn) {
    insertDay("2002/2/12");
    openSheet();
    type("Text1", "1E308");
    ASSERT_EQ(figure("Label28")->text(), "1E+308");
    ASSERT_TRUE(prompts.told.isEmpty());

    type("Text3", "1E308");
    ASSERT_EQ(prompts.told.size(), 1);
    EXPECT_TRUE(prompts.toldTexts[0].contains("Error 6")) << prompts.toldTexts[0].toStdString();
    EXPECT_TRUE(prompts.toldTexts[0].contains("beyond the range of a number"));
    // The subtotal is not written; what was written before keeps its text.
    EXPECT_EQ(figure("Label28")->text(), "1E+308");
    EXPECT_EQ(field("Text3")->text(), "1E308");

    type("Text3", "-1E308");
    EXPECT_EQ(figure("Label28")->text(), "0");
    EXPECT_EQ(figure("Label44")->text(), "0");
    EXPECT_EQ(prompts.told.size(), 1);
}

TEST_F(DailyFigures, AFailingReactionKeepsWhatItsEarlierStepsWrote) {
    insertDay("2002/2/12");
    openSheet();
    // Small incidental money: the deduction is written before the net amount
    // overflows, and the cash subtotal follows the deduction.
    field("Text25")->setText("1E308");
    ASSERT_EQ(figure("Label42")->text(), "1E+308");
    field("Text26")->setText("1E308");
    ASSERT_EQ(prompts.told.size(), 1);
    EXPECT_EQ(figure("Label40")->text(), "1E+308");
    EXPECT_EQ(figure("Label41")->text(), "1E+308");
    EXPECT_EQ(figure("Label42")->text(), "0");

    // The cash subtotal: the difference overflows first, so the day's total
    // is not written.
    field("Text26")->setText("");
    ASSERT_EQ(prompts.told.size(), 1);
    field("Text25")->setText("");
    field("Text31")->setText("-1E308");
    ASSERT_EQ(figure("Label44")->text(), "0");
    field("Text25")->setText("1E308");
    ASSERT_EQ(prompts.told.size(), 2);
    EXPECT_EQ(figure("Label42")->text(), "1E+308");
    EXPECT_EQ(figure("Label43")->text(), "-1E+308");
    EXPECT_EQ(figure("Label44")->text(), "0");
}

TEST_F(DailyFigures, AnOverflowingStoredDayStillShowsAllItsFields) {
    insertDay("2002/2/11");
    insertDay(
        "2002/2/12",
        {{"Rent", 1e308}, {"Partner", 1e308}, {"Turnover", 200}, {"Accept cashes in fact", 150}});
    openSheet();
    barButton("Next")->click();
    EXPECT_EQ(prompts.told.size(), 1);
    EXPECT_TRUE(prompts.toldTexts.value(0).contains("Error 6"));
    // Every field shows the new day, not the previous day's text.
    EXPECT_EQ(field("Text2")->text(), "2002/2/12");
    EXPECT_EQ(field("Text25")->text(), "200");
    EXPECT_EQ(field("Text31")->text(), "150");
    EXPECT_EQ(figure("Label41")->text(), "200");
    EXPECT_EQ(days().currentIndex(), 1);
}

TEST_F(DailyFigures, AChainFailingInsideACommandIsShownOnceWhenTheCommandEnds) {
    insertDay("2002/2/12");
    openSheet();
    type("Text1", "1E308");
    const auto outcome = setInsideCommand(field("Text3"), "1E308");
    EXPECT_FALSE(outcome.succeeded);
    EXPECT_TRUE(outcome.nextStepRan);
    ASSERT_EQ(prompts.toldTexts.size(), 1);
    EXPECT_TRUE(prompts.toldTexts[0].endsWith("(Error 6)")) << prompts.toldTexts[0].toStdString();
    EXPECT_EQ(figure("Label28")->text(), "1E+308");
}

}  // namespace
