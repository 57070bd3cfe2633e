// SPDX-License-Identifier: GPL-3.0-or-later
#include <QTest>

#include "daily/daily_windows.h"
#include "daily/screen_density.h"
#include "sheet_fixture.h"

namespace sheet_tests {
namespace {

// The sheets with the program's own daily window: its Detail buttons open
// them on its day, and Confirm feeds its figures.
class RealDailyWindowTest : public SheetTest {
protected:
    void SetUp() override {
        SheetTest::SetUp();
        daily::registerWindows();
        daily::setScreenDensityForTesting(100);
        day11 = addDay("2002/2/11", {{"Bread trader", 30}, {"Soup cup", 1}});
        day12 = addDay("2002/2/12", {{"Bread trader", 20}, {"Tableware", 5}, {"Cup", 4}});
    }
    void TearDown() override {
        SheetTest::TearDown();
        daily::setScreenDensityForTesting(0);
    }

    FormWindow* openDailyOn(const QString& day) {
        FormWindow* main = FormWindow::loadWindow("Form1");
        main->show();
        prompts.inputAnswers.push_back(day);
        button(main, "Command1")->click();
        EXPECT_EQ(field(main, "Text2")->text(), day);
        return main;
    }

    static QString figure(QWidget* window, const char* name) {
        return window->findChild<QLabel*>(QString::fromLatin1(name))->text();
    }

    qint64 day11 = 0, day12 = 0;
};

TEST_F(RealDailyWindowTest, DetailConfirmAndSaveCarryTheItemsAndTheSubtotal) {
    FormWindow* main = openDailyOn("2002/2/12");
    ASSERT_TRUE(button(main, "Command2")->isEnabled());
    ASSERT_TRUE(button(main, "Command3")->isEnabled());
    EXPECT_EQ(figure(main, "Label38"), "25");

    button(main, "Command2")->click();
    auto* sheet = qobject_cast<supplies::SupplySheet*>(FormWindow::find("Form2"));
    ASSERT_NE(sheet, nullptr);
    EXPECT_TRUE(sheet->isVisible());
    EXPECT_EQ(field(sheet, "Text12")->text(), "2002/2/12");

    QTest::keyClicks(item(sheet, 1), "6");
    QTest::keyClicks(item(sheet, 5), "2.5");
    QTest::keyClicks(field(main, "Text1"), "100");  // the daily window's own Rent
    button(sheet, "Command2")->click();
    flushDeletes();
    EXPECT_EQ(FormWindow::find("Form2"), nullptr);
    EXPECT_EQ(field(main, "Text20")->text(), "8.5");
    EXPECT_EQ(figure(main, "Label38"), "28.5");  // the day's expenditure follows

    button(main, "Command5")->click();  // Save
    EXPECT_EQ(stored(day12, "Soup cup"), QVariant(6.0));
    EXPECT_EQ(stored(day12, "Chopsticks"), QVariant(2.5));
    EXPECT_EQ(stored(day12, "Tableware"), QVariant(8.5));
    EXPECT_EQ(stored(day12, "Rent"), QVariant(100.0));
    EXPECT_EQ(stored(day12, "Cup"), QVariant(4.0));
    EXPECT_EQ(stored(day11, "Tableware"), QVariant());
    EXPECT_TRUE(prompts.told.isEmpty()) << prompts.told.join("\n").toStdString();
}

TEST_F(RealDailyWindowTest, ShopArticlesGoIntoArticlesInTheShop) {
    FormWindow* main = openDailyOn("2002/2/12");
    button(main, "Command3")->click();
    auto* sheet = FormWindow::find("Form3");
    ASSERT_NE(sheet, nullptr);
    EXPECT_EQ(subtotal(sheet), "4");
    QTest::keyClicks(item(sheet, 10), "0.5");
    button(sheet, "Command2")->click();
    flushDeletes();
    EXPECT_EQ(field(main, "Text21")->text(), "4.5");
    EXPECT_EQ(field(main, "Text20")->text(), "5");
}

TEST_F(RealDailyWindowTest, DetailAgainOnAnotherDayFindsThatDayInTheSameSheet) {
    FormWindow* main = openDailyOn("2002/2/11");
    button(main, "Command2")->click();
    FormWindow* sheet = FormWindow::find("Form2");
    ASSERT_EQ(subtotal(sheet), "1");
    prompts.inputAnswers.push_back("2002/2/12");
    button(main, "Command1")->click();
    button(main, "Command2")->click();
    EXPECT_EQ(FormWindow::find("Form2"), sheet);
    EXPECT_EQ(field(sheet, "Text12")->text(), "2002/2/12");
}

TEST_F(RealDailyWindowTest, AfterTheDailyWindowClosesTheSheetOnlyExplains) {
    FormWindow* main = openDailyOn("2002/2/12");
    button(main, "Command2")->click();
    FormWindow* sheet = FormWindow::find("Form2");
    main->close();
    flushDeletes();
    ASSERT_EQ(FormWindow::find("Form1"), nullptr);
    QTest::keyClicks(item(sheet, 2), "3");
    button(sheet, "Command1")->click();
    button(sheet, "Command2")->click();
    EXPECT_EQ(prompts.told.size(), 2);
    EXPECT_EQ(FormWindow::find("Form1"), nullptr);
    EXPECT_EQ(FormWindow::find("Form2"), sheet);
    EXPECT_EQ(stored(day12, "Tableware"), QVariant(5.0));
    EXPECT_TRUE(stored(day12, "Beverage cup").isNull());
}

TEST_F(RealDailyWindowTest, ADateCorrectedInASheetSurvivesTheDailyWindowsSave) {
    FormWindow* main = openDailyOn("2002/2/12");
    button(main, "Command2")->click();
    auto* sheet = dynamic_cast<supplies::SupplySheet*>(FormWindow::find("Form2"));
    ASSERT_NE(sheet, nullptr);
    QLineEdit* sheetDate = dateField(sheet);
    ASSERT_EQ(sheetDate->text(), "2002/2/12");
    sheetDate->setText("2002/2/14");
    sheet->close();
    flushDeletes();
    // The daily window still shows the old date text: its figure is not
    // stored into the row unseen, now that the row holds another day. Told
    // which day the row holds, the user saves again on purpose, and only
    // what the daily window changed itself is stored.
    QLineEdit* rent = field(main, "Text1");
    rent->setFocus();
    QTest::keyClicks(rent, "300");
    button(main, "Command5")->click();
    ASSERT_EQ(prompts.toldTexts.size(), 1);
    EXPECT_TRUE(prompts.toldTexts[0].contains("no longer holds the day"))
        << prompts.toldTexts[0].toStdString();
    EXPECT_TRUE(prompts.toldTexts[0].contains("2002/2/14"));
    EXPECT_EQ(stored(day12, "Rent"), QVariant());
    button(main, "Command5")->click();
    EXPECT_EQ(stored(day12, "Date"), QVariant("2002/2/14"));
    EXPECT_EQ(stored(day12, "Rent"), QVariant(300.0));
}

}  // namespace
}  // namespace sheet_tests
