// SPDX-License-Identifier: GPL-3.0-or-later
#include <QTest>

#include "sheet_fixture.h"

namespace sheet_tests {
namespace {

class ByHereDayTest : public SheetTest {
protected:
    void SetUp() override {
        SheetTest::SetUp();
        addDay("2002/2/11", {{"Soup cup", 10}, {"Cup", 1}});
        addDay("2002/2/12", {{"Chopsticks", 2.5}, {"Oven", 30}});
        addDay("2002/2/13", {{"Meal box", 4}, {"Sanitizer", 6}});
    }
};

TEST_F(ByHereDayTest, DetailOpensTheSheetOnTheDailyWindowsDay) {
    auto* main = openDailyWindow();
    main->showDay("2002/2/12");
    for (const char* name : {"Form2", "Form3"}) {
        auto* sheet = openLikeDetailButton(name);
        EXPECT_EQ(dateField(sheet)->text(), "2002/2/12") << name;
    }
    EXPECT_EQ(subtotal(FormWindow::find("Form2")), "2.5");
    EXPECT_EQ(subtotal(FormWindow::find("Form3")), "30");
    EXPECT_TRUE(prompts.told.isEmpty());
}

TEST_F(ByHereDayTest, ANewDayBeforeSaveLeavesTheSheetWhereItWasAndSaysSo) {
    auto* main = openDailyWindow();
    main->showDay("2002/2/13");
    auto* sheet = openLikeDetailButton("Form2");
    ASSERT_EQ(dateField(sheet)->text(), "2002/2/13");

    // The daily window begins a new day that is not stored yet.
    main->data->source().addNew();
    QTest::keyClicks(main->date, "2002/3/1");
    button(sheet, "Command1")->click();
    EXPECT_EQ(dateField(sheet)->text(), "2002/2/13");
    EXPECT_EQ(subtotal(sheet), "4");
    // The sheet says that what it shows is not the new day's.
    ASSERT_EQ(prompts.toldTexts.size(), 1);
    EXPECT_TRUE(prompts.toldTexts[0].contains("not been saved"))
        << prompts.toldTexts[0].toStdString();
}

TEST_F(ByHereDayTest, FindsADaySavedSinceTheSheetOpened) {
    auto* main = openDailyWindow();
    main->showDay("2002/2/13");
    const std::vector<supplies::SupplySheet*> sheets = {openLikeDetailButton("Form2"),
                                                        openLikeDetailButton("Form3")};
    // The daily window saves a new day while the sheets stay open.
    main->data->source().addNew();
    QTest::keyClicks(main->date, "2002/3/1");
    QTest::keyClicks(main->rent, "5");
    main->data->source().writeBack();
    for (supplies::SupplySheet* sheet : sheets) {
        button(sheet, "Command1")->click();
        EXPECT_EQ(dateField(sheet)->text(), "2002/3/1") << sheet->objectName().toStdString();
        EXPECT_EQ(subtotal(sheet), "0");
    }
    EXPECT_TRUE(prompts.told.isEmpty()) << prompts.told.join("\n").toStdString();
}

TEST_F(ByHereDayTest, RightAfterOpeningADayWithoutARowLeavesTheFirstRow) {
    auto* main = openDailyWindow();
    main->data->source().addNew();
    QTest::keyClicks(main->date, "2003/1/1");
    auto* sheet = openLikeDetailButton("Form3");
    EXPECT_EQ(dateField(sheet)->text(), "2002/2/11");
    EXPECT_EQ(subtotal(sheet), "1");
}

TEST_F(ByHereDayTest, PressingAgainAfterMovingReturnsToTheDailyWindowsDay) {
    auto* main = openDailyWindow();
    main->showDay("2002/2/11");
    auto* sheet = openLikeDetailButton("Form2");
    pressBar(sheet, "Last");
    ASSERT_EQ(dateField(sheet)->text(), "2002/2/13");
    button(sheet, "Command1")->click();
    EXPECT_EQ(dateField(sheet)->text(), "2002/2/11");
}

TEST_F(ByHereDayTest, OpeningAnOpenSheetAgainSearchesAgain) {
    auto* main = openDailyWindow();
    main->showDay("2002/2/11");
    auto* first = openLikeDetailButton("Form2");
    main->showDay("2002/2/13");
    auto* again = openLikeDetailButton("Form2");
    EXPECT_EQ(first, again);
    EXPECT_EQ(dateField(again)->text(), "2002/2/13");
    EXPECT_TRUE(again->isVisible());
}

TEST_F(ByHereDayTest, ItemsTypedOnTheDayLeftAreStoredByTheMove) {
    auto* main = openDailyWindow();
    main->showDay("2002/2/11");
    auto* sheet = openLikeDetailButton("Form2");
    item(sheet, 2)->setText("7");
    main->showDay("2002/2/13");
    button(sheet, "Command1")->click();
    EXPECT_EQ(stored(1, "Beverage cup"), QVariant(7.0));
    EXPECT_EQ(stored(1, "Soup cup"), QVariant(10.0));
}

// Two sheets of one date, the second saved on purpose: the sheets show the
// daily window's own, never the first of the date, also while its date is
// typed over, and Confirm takes it.
TEST_F(ByHereDayTest, TheDailyWindowsOwnSheetIsShownOfTwoWithItsDate) {
    const qint64 second = addDay("2002/2/12", {{"Chopsticks", 99}, {"Oven", 7}});
    auto* main = openDailyWindow();
    for (const auto& [bar, tableware, articles] :
         {std::tuple{"Last", "99", "7"}, std::tuple{"Previous", "4", "6"},
          std::tuple{"Previous", "2.5", "30"}, std::tuple{"Last", "99", "7"}}) {
        pressBar(main, bar);
        EXPECT_EQ(subtotal(openLikeDetailButton("Form2")), tableware) << bar;
        EXPECT_EQ(subtotal(openLikeDetailButton("Form3")), articles) << bar;
    }
    main->date->setText("2002/2/1'3");
    auto* sheet = openLikeDetailButton("Form2");
    QTest::keyClicks(item(sheet, 1), "5");
    button(sheet, "Command2")->click();
    flushDeletes();
    EXPECT_EQ(main->tableware->text(), "104");
    EXPECT_EQ(stored(second, "Soup cup"), QVariant(5.0));
    db.exec(QStringLiteral("DELETE FROM \"daily settlement of accounts\" WHERE rowid = %1")
                .arg(second));
    EXPECT_EQ(subtotal(openLikeDetailButton("Form3")), "7");
    EXPECT_TRUE(prompts.toldTexts.value(0).startsWith("This day is no longer in the books"));
}

TEST_F(ByHereDayTest, AnEmptyTableSaysTheDayIsNotSavedAndDoesNothingElse) {
    db.exec("DELETE FROM \"daily settlement of accounts\"");
    auto* main = openDailyWindow();
    auto* sheet = openLikeDetailButton("Form2");
    ASSERT_EQ(prompts.told.size(), 1);
    EXPECT_TRUE(prompts.toldTexts[0].contains("not been saved"))
        << prompts.toldTexts[0].toStdString();
    EXPECT_EQ(subtotal(sheet), "0");
    EXPECT_EQ(dateField(sheet)->text(), "");
    EXPECT_EQ(main->date->text(), "");
}

TEST_F(ByHereDayTest, TheDailyWindowsDayIsLookedUpWithItsBlanks) {
    db.exec("DELETE FROM \"daily settlement of accounts\"");
    addDay("2002/2/12", {{"Soup cup", 1}});
    addDay("2002/2/12 ", {{"Soup cup", 2}});
    auto* main = openDailyWindow();
    main->showDay("2002/2/12 ");
    auto* sheet = openLikeDetailButton("Form2");
    EXPECT_EQ(dateField(sheet)->text(), "2002/2/12 ");
    EXPECT_EQ(subtotal(sheet), "2");
}

}  // namespace
}  // namespace sheet_tests
