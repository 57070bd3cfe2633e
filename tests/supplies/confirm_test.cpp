// SPDX-License-Identifier: GPL-3.0-or-later
#include <QPointer>
#include <QTest>

#include "sheet_fixture.h"

namespace sheet_tests {
namespace {

class ConfirmTest : public SheetTest {
protected:
    void SetUp() override {
        SheetTest::SetUp();
        day11 = addDay("2002/2/11", {{"Soup cup", 10}, {"Cup", 1}});
        day12 = addDay("2002/2/12", {{"Tableware", 40}, {"Articles in the shop", 50}});
        day13 = addDay("2002/2/13", {{"Meal box", 4}, {"Sanitizer", 6}});
    }

    // Confirm, then let the closed sheet go.
    void confirm(QWidget* sheet) {
        button(sheet, "Command2")->click();
        flushDeletes();
    }

    qint64 day11 = 0, day12 = 0, day13 = 0;
};

TEST_F(ConfirmTest, EmptyItemsWriteZeroIntoTheDailyWindow) {
    auto* main = openDailyWindow();
    main->showDay("2002/2/12");
    QPointer<QWidget> sheet = openLikeDetailButton("Form2");
    ASSERT_EQ(subtotal(sheet), "0");
    confirm(sheet);
    EXPECT_EQ(main->tableware->text(), "0");
    EXPECT_TRUE(main->tableware->isChanged());
    EXPECT_EQ(main->articles->text(), "50");
    EXPECT_TRUE(sheet.isNull());
    EXPECT_EQ(FormWindow::find("Form2"), nullptr);
    EXPECT_TRUE(main->isVisible());
}

TEST_F(ConfirmTest, TheSubtotalGoesCharacterForCharacterIntoTheTargetField) {
    auto* main = openDailyWindow();
    main->showDay("2002/2/12");
    auto* sheet = openLikeDetailButton("Form3");
    QTest::keyClicks(item(sheet, 1), "-5");
    QTest::keyClicks(item(sheet, 2), "12.5");
    QTest::keyClicks(item(sheet, 5), "0.1");
    QTest::keyClicks(item(sheet, 6), "0.2");
    const QString shown = subtotal(sheet);
    EXPECT_EQ(shown, "7.8");
    confirm(sheet);
    EXPECT_EQ(main->articles->text(), shown);
    EXPECT_EQ(main->tableware->text(), "40");
}

TEST_F(ConfirmTest, ClosingTheSheetStoresItsItems) {
    auto* main = openDailyWindow();
    main->showDay("2002/2/12");
    auto* sheet = openLikeDetailButton("Form2");
    item(sheet, 1)->setText("3");
    item(sheet, 10)->setText("12.5");
    confirm(sheet);
    EXPECT_EQ(stored(day12, "Soup cup"), QVariant(3.0));
    EXPECT_EQ(stored(day12, "Other"), QVariant(12.5));
    EXPECT_TRUE(stored(day12, "Beverage cup").isNull());
    // The daily figure waits for the daily window's own write-back.
    EXPECT_EQ(stored(day12, "Tableware"), QVariant(40.0));
    main->data->source().writeBack();
    EXPECT_EQ(stored(day12, "Tableware"), QVariant(15.5));
}

TEST_F(ConfirmTest, ASheetMovedToAnotherDayConfirmsNothingUntilBackOnTheDay) {
    auto* main = openDailyWindow();
    main->showDay("2002/2/12");
    auto* sheet = openLikeDetailButton("Form2");
    pressBar(sheet, "Next");
    ASSERT_EQ(dateField(sheet)->text(), "2002/2/13");
    confirm(sheet);
    // 2002/2/13's subtotal (4) is not filed under 2002/2/12.
    ASSERT_EQ(prompts.toldTexts.size(), 1);
    EXPECT_TRUE(prompts.toldTexts[0].contains("2002/2/13") &&
                prompts.toldTexts[0].contains("2002/2/12"))
        << prompts.toldTexts[0].toStdString();
    EXPECT_EQ(main->tableware->text(), "40");
    EXPECT_FALSE(main->tableware->isChanged());
    EXPECT_EQ(FormWindow::find("Form2"), sheet);

    button(sheet, "Command1")->click();
    ASSERT_EQ(dateField(sheet)->text(), "2002/2/12");
    QTest::keyClicks(item(sheet, 3), "7");
    confirm(sheet);
    EXPECT_EQ(main->tableware->text(), "7");
    EXPECT_EQ(FormWindow::find("Form2"), nullptr);
}

TEST_F(ConfirmTest, ANewDayBeforeSaveGetsNeitherItemsNorASubtotal) {
    auto* main = openDailyWindow();
    main->data->source().addNew();
    QTest::keyClicks(main->date, "2002/3/1");
    auto* sheet = openLikeDetailButton("Form2");
    // Opening says why there is nothing of this day to show.
    ASSERT_EQ(prompts.toldTexts.size(), 1);
    EXPECT_TRUE(prompts.toldTexts[0].contains("not been saved"))
        << prompts.toldTexts[0].toStdString();
    confirm(sheet);
    ASSERT_EQ(prompts.toldTexts.size(), 2);
    EXPECT_EQ(prompts.toldTexts[1], prompts.toldTexts[0]);
    EXPECT_EQ(main->tableware->text(), "");
    EXPECT_FALSE(main->tableware->isChanged());
    EXPECT_EQ(FormWindow::find("Form2"), sheet);
}

TEST_F(ConfirmTest, AnEmptyLedgerGetsNoSubtotal) {
    db.exec("DELETE FROM \"daily settlement of accounts\"");
    auto* main = openDailyWindow();
    auto* sheet = openLikeDetailButton("Form3");
    confirm(sheet);
    EXPECT_EQ(prompts.toldTexts.size(), 2);  // at opening, and at Confirm
    EXPECT_EQ(main->articles->text(), "");
    EXPECT_FALSE(main->articles->isChanged());
    // Nothing is left pending: both windows close at once.
    EXPECT_TRUE(sheet->unload());
    EXPECT_TRUE(main->unload());
    EXPECT_EQ(db.scalar("SELECT COUNT(*) FROM \"daily settlement of accounts\"").toInt(), 0);
}

TEST_F(ConfirmTest, TheCloseBoxStoresItemsAndLeavesTheDailyWindowAlone) {
    auto* main = openDailyWindow();
    main->showDay("2002/2/12");
    QPointer<QWidget> sheet = openLikeDetailButton("Form2");
    item(sheet, 4)->setText("9");
    sheet->close();
    flushDeletes();
    EXPECT_TRUE(sheet.isNull());
    EXPECT_EQ(stored(day12, "Soup spoon"), QVariant(9.0));
    EXPECT_EQ(main->tableware->text(), "40");
    EXPECT_FALSE(main->tableware->isChanged());
}

TEST_F(ConfirmTest, TextNotANumberIsNotStoredAndTheSheetStaysOpen) {
    auto* main = openDailyWindow();
    main->showDay("2002/2/12");
    auto* sheet = openLikeDetailButton("Form2");
    QTest::keyClicks(item(sheet, 1), "12abc");
    QTest::keyClicks(item(sheet, 2), "8");
    prompts.yesNoAnswers = {false};
    confirm(sheet);
    // The daily window got the subtotal; the items could not be stored. The
    // user is told why and keeps the sheet with what was typed (the answer
    // No, which is also the default).
    EXPECT_EQ(main->tableware->text(), "20");
    ASSERT_EQ(prompts.defaultNoAsked.size(), 1);
    EXPECT_TRUE(prompts.defaultNoAsked[0].message.contains("(Error 3421)"))
        << prompts.defaultNoAsked[0].message.toStdString();
    EXPECT_EQ(FormWindow::find("Form2"), sheet);
    EXPECT_EQ(item(sheet, 1)->text(), "12abc");
    EXPECT_TRUE(stored(day12, "Soup cup").isNull());
    EXPECT_TRUE(stored(day12, "Beverage cup").isNull());

    item(sheet, 1)->setText("12");
    confirm(sheet);
    EXPECT_EQ(FormWindow::find("Form2"), nullptr);
    EXPECT_EQ(stored(day12, "Soup cup"), QVariant(12.0));
    EXPECT_EQ(stored(day12, "Beverage cup"), QVariant(8.0));
}

// A day edited in the daily window and in a sheet at once: each window
// stores only its own changed columns, whichever stores first.
class BothWindowsEditOneDay : public ConfirmTest, public ::testing::WithParamInterface<bool> {};

TEST_P(BothWindowsEditOneDay, BothSetsOfColumnsEndUpStored) {
    const bool sheetStoresFirst = GetParam();
    auto* main = openDailyWindow();
    main->showDay("2002/2/12");
    auto* sheet = openLikeDetailButton("Form2");
    QTest::keyClicks(main->rent, "300");
    main->articles->setText("505");
    QTest::keyClicks(item(sheet, 1), "8");
    QTest::keyClicks(item(sheet, 7), "2");

    if (sheetStoresFirst) {
        confirm(sheet);
        main->data->source().writeBack();
    } else {
        main->data->source().writeBack();
        sheet->close();
        flushDeletes();
    }

    EXPECT_EQ(stored(day12, "Rent"), QVariant(300.0));
    EXPECT_EQ(stored(day12, "Articles in the shop"), QVariant(505.0));
    EXPECT_EQ(stored(day12, "Soup cup"), QVariant(8.0));
    EXPECT_EQ(stored(day12, "Meal box"), QVariant(2.0));
    EXPECT_EQ(stored(day12, "Tableware"), QVariant(sheetStoresFirst ? 10.0 : 40.0));
    EXPECT_EQ(stored(day12, "Date"), QVariant("2002/2/12"));
    // The neighbouring days are untouched.
    EXPECT_EQ(stored(day11, "Soup cup"), QVariant(10.0));
    EXPECT_TRUE(stored(day13, "Soup cup").isNull());
}

INSTANTIATE_TEST_SUITE_P(EitherOrder, BothWindowsEditOneDay, ::testing::Bool());

}  // namespace
}  // namespace sheet_tests
