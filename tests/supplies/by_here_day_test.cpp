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

TEST_F(ByHereDayTest, TheFirstOfTwoRowsWithTheSameDateIsShown) {
    addDay("2002/2/12", {{"Chopsticks", 99}});
    auto* main = openDailyWindow();
    main->showDay("2002/2/13");
    auto* sheet = openLikeDetailButton("Form2");
    pressBar(sheet, "Last");
    ASSERT_EQ(subtotal(sheet), "99");
    main->showDay("2002/2/12");
    button(sheet, "Command1")->click();
    EXPECT_EQ(subtotal(sheet), "2.5");
}

TEST_F(ByHereDayTest, BothCriterionPrefixesSelectTheSameRows) {
    addDay("2002/12/1", {{"Other", 1}, {"Other2", 1}});
    addDay("2002/2/12 ", {{"Other", 2}, {"Other2", 2}});
    auto* main = openDailyWindow();
    auto* form2 = openLikeDetailButton("Form2");
    auto* form3 = openLikeDetailButton("Form3");
    auto& rows2 = form2->records();
    auto& rows3 = form3->records();
    // Typed days with pattern characters and blanks: both sheets must agree.
    for (const char* day : {"2002/2/12", "2002/2/13", "2002/12/1", "2002/2/1?", "2002/1*", "*/1",
                            "2002/2/12 ", "2002/2/#2", "nothing"}) {
        main->date->setText(QString::fromLatin1(day));
        form2->records().moveFirst();
        form3->records().moveFirst();
        button(form2, "Command1")->click();
        button(form3, "Command1")->click();
        EXPECT_EQ(rows2.currentIndex(), rows3.currentIndex()) << day;
        EXPECT_EQ(dateField(form2)->text(), dateField(form3)->text()) << day;
    }
    // The blanks differ, the criteria are the sheets' own.
    EXPECT_EQ(form2->design().criterionPrefix, " Date like   '");
    EXPECT_EQ(form2->design().criterionPrefix.size(), 14);
    EXPECT_EQ(form3->design().criterionPrefix, " Date like '");
    EXPECT_EQ(form3->design().criterionPrefix.size(), 12);
    EXPECT_TRUE(prompts.told.isEmpty());
}

TEST_F(ByHereDayTest, AnApostropheInTheDayIsReportedAndTheSheetStays) {
    auto* main = openDailyWindow();
    main->showDay("2002/2/12");
    auto* sheet = openLikeDetailButton("Form2");
    main->date->setText("2002/2/1'3");
    button(sheet, "Command1")->click();
    ASSERT_EQ(prompts.told.size(), 1);
    EXPECT_TRUE(prompts.toldTexts[0].endsWith("(Error 3077)"))
        << prompts.toldTexts[0].toStdString();
    EXPECT_EQ(dateField(sheet)->text(), "2002/2/12");
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
