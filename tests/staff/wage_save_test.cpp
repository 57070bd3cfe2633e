#include "staff_fixture.h"

namespace staff_tests {
namespace {

class WageSaveTest : public StaffTest {
protected:
    void SetUp() override {
        StaffTest::SetUp();
        addEmployee("Tovena", "S1", 80, 100);
    }

    // A wage of 810 entered and not yet saved.
    staff::Form5* enterExampleWage(FormWindow* main) {
        staff::Form5* wages = openWageWindow(main);
        beginWageFor(wages, "Tovena");
        type(wages, "Text7", "8");
        type(wages, "Text9", "2");
        type(wages, "Text13", "30");
        EXPECT_EQ(text(wages, "Label25"), "810");
        return wages;
    }
};

TEST_F(WageSaveTest, AnEmptyPersonnelRateIsRefusedUntilANumberIsTyped) {
    const qint64 day = addDay("2002/2/12", QVariant());
    FormWindow* main = openDailyOn("2002/2/12");
    staff::Form5* wages = enterExampleWage(main);

    button(wages, "Command1")->click();
    flushDeletes();
    ASSERT_EQ(prompts.toldTexts.size(), 1);
    EXPECT_TRUE(prompts.toldTexts[0].contains("Personnel rate"));
    EXPECT_TRUE(prompts.toldTexts[0].contains("then Save again"));
    // Nothing changed: the daily window, the file, the pending row.
    EXPECT_EQ(text(main, "Text7"), "");
    EXPECT_EQ(wageRowCount(), 0);
    ASSERT_EQ(FormWindow::find("Form5"), wages);
    EXPECT_TRUE(button(wages, "Command1")->isEnabled());
    EXPECT_TRUE(wages->records().isNewRow());
    // Save's first step has run: the rates and deductions are locked.
    EXPECT_TRUE(field(wages, "Text13")->isReadOnly());
    EXPECT_FALSE(field(wages, "Text7")->isReadOnly());

    type(main, "Text7", "0");
    button(wages, "Command1")->click();
    flushDeletes();
    EXPECT_EQ(prompts.toldTexts.size(), 1);
    EXPECT_EQ(FormWindow::find("Form5"), nullptr);
    EXPECT_EQ(text(main, "Text7"), "810");
    EXPECT_EQ(wageRowCount(), 1);
    button(main, "Command5")->click();
    EXPECT_EQ(stored(schema::kLedger, day, "Personnel rate"), QVariant(810.0));
}

TEST_F(WageSaveTest, APersonnelRateThatIsNotACompleteNumberIsRefused) {
    addDay("2002/2/12", 0);
    FormWindow* main = openDailyOn("2002/2/12");
    staff::Form5* wages = enterExampleWage(main);
    field(main, "Text7")->setText("12abc");
    button(wages, "Command1")->click();
    ASSERT_EQ(prompts.toldTexts.size(), 1);
    EXPECT_TRUE(prompts.toldTexts[0].startsWith("Error 13:"));
    EXPECT_EQ(text(main, "Text7"), "12abc");
    EXPECT_EQ(FormWindow::find("Form5"), wages);
}

TEST_F(WageSaveTest, ASumBeyondThirtyTwoBitsIsRefused) {
    addDay("2002/2/12", 2147483000.0);
    FormWindow* main = openDailyOn("2002/2/12");
    staff::Form5* wages = enterExampleWage(main);
    button(wages, "Command1")->click();
    ASSERT_EQ(prompts.toldTexts.size(), 1);
    EXPECT_TRUE(prompts.toldTexts[0].startsWith("Error 6:"));
    EXPECT_EQ(text(main, "Text7"), "2147483000");
    EXPECT_EQ(wageRowCount(), 0);
    EXPECT_TRUE(button(wages, "Command1")->isEnabled());
}

TEST_F(WageSaveTest, HoursThatAreNotANumberCountZeroButCannotBeStored) {
    const qint64 day = addDay("2002/2/12", 1200);
    FormWindow* main = openDailyOn("2002/2/12");
    staff::Form5* wages = openWageWindow(main);
    beginWageFor(wages, "Tovena");
    type(wages, "Text7", "8h");  // a leading number is read
    type(wages, "Text9", "x");   // no number at all counts 0
    EXPECT_EQ(figures(wages), QStringList({"80", "640", "100", "0", "640", "0", "640"}));

    // The row cannot be stored, so the day's cost must not count it.
    button(wages, "Command1")->click();
    flushDeletes();
    ASSERT_EQ(prompts.toldTexts.size(), 1);
    EXPECT_TRUE(prompts.toldTexts[0].contains("8h"));
    EXPECT_EQ(text(main, "Text7"), "1200");
    EXPECT_EQ(wageRowCount(), 0);
    ASSERT_EQ(FormWindow::find("Form5"), wages);
    EXPECT_TRUE(button(wages, "Command1")->isEnabled());

    // The hours stay editable: corrected, Save goes through.
    QTest::keyClick(field(wages, "Text7"), Qt::Key_Backspace);
    QTest::keyClick(field(wages, "Text9"), Qt::Key_Backspace);
    button(wages, "Command1")->click();
    flushDeletes();
    EXPECT_EQ(FormWindow::find("Form5"), nullptr);
    EXPECT_EQ(text(main, "Text7"), "1840");
    EXPECT_EQ(lastWage("Main hour"), QVariant(8.0));
    button(main, "Command5")->click();
    EXPECT_EQ(stored(schema::kLedger, day, "Personnel rate"), QVariant(1840.0));
}

TEST_F(WageSaveTest, LoginStoresTheRegistersEditsFirstAndCarriesNothingWhenItCannot) {
    addDay("2002/2/12", 1200);
    staff::Form5* wages = openWageWindow(openDailyOn("2002/2/12"));
    button(wages, "Command3")->click();
    staff::Form6* reg = pickEmployee(wages, "Tovena");
    ASSERT_NE(reg, nullptr);
    field(reg, "Text11")->setText("ten");
    button(reg, "Command1")->click();
    ASSERT_EQ(prompts.toldTexts.size(), 1);
    EXPECT_TRUE(prompts.toldTexts[0].contains("ten"));
    EXPECT_EQ(FormWindow::find("Form6"), reg);
    EXPECT_EQ(text(wages, "Text4"), "");
    EXPECT_EQ(text(wages, "Text2"), "");
}

TEST_F(WageSaveTest, TheCloseBoxAfterNewStoresTheRowAndAddsNothing) {
    const qint64 day = addDay("2002/2/12", 1200);
    FormWindow* main = openDailyOn("2002/2/12");
    staff::Form5* wages = enterExampleWage(main);
    wages->close();
    flushDeletes();
    EXPECT_EQ(FormWindow::find("Form5"), nullptr);
    EXPECT_EQ(wageRowCount(), 1);
    EXPECT_EQ(lastWage("Main hour"), QVariant(8.0));
    EXPECT_EQ(lastWage("Salary hour"), QVariant(80.0));
    EXPECT_EQ(text(main, "Text7"), "1200");
    button(main, "Command5")->click();
    EXPECT_EQ(stored(schema::kLedger, day, "Personnel rate"), QVariant(1200.0));
}

TEST_F(WageSaveTest, NewInsteadOfSaveStoresTheRowWithoutTouchingTheDay) {
    addDay("2002/2/12", 1200);
    FormWindow* main = openDailyOn("2002/2/12");
    staff::Form5* wages = enterExampleWage(main);
    button(wages, "Command3")->click();
    EXPECT_EQ(wageRowCount(), 1);
    EXPECT_EQ(figures(wages), QStringList({"0", "0", "0", "0", "0", "0", "0"}));
    EXPECT_EQ(text(wages, "Text1"), "2002/2/12");
    EXPECT_EQ(text(main, "Text7"), "1200");
}

TEST_F(WageSaveTest, WithTheDailyWindowClosedNewAndSaveOnlyExplain) {
    addDay("2002/2/12", 1200);
    addDay("2002/2/1", 5);
    FormWindow* main = openDailyOn("2002/2/12");
    staff::Form5* wages = enterExampleWage(main);
    main->close();
    flushDeletes();
    ASSERT_EQ(FormWindow::find("Form1"), nullptr);

    button(wages, "Command1")->click();
    button(wages, "Command3")->click();
    EXPECT_EQ(prompts.toldTexts.size(), 2);
    EXPECT_TRUE(prompts.toldTexts[0].contains("daily settlement window has been closed"));
    EXPECT_EQ(FormWindow::find("Form1"), nullptr);  // no hidden daily window
    EXPECT_EQ(wageRowCount(), 0);
    EXPECT_TRUE(wages->records().isNewRow());
    EXPECT_EQ(text(wages, "Label25"), "810");
    EXPECT_FALSE(field(wages, "Text13")->isReadOnly());  // Save did not begin
}

TEST_F(WageSaveTest, AWageIsNotAddedToAnotherDayThanItsOwn) {
    const qint64 day1 = addDay("2002/2/11", 100);
    addDay("2002/2/12", 1200);
    FormWindow* main = openDailyOn("2002/2/12");
    staff::Form5* wages = enterExampleWage(main);
    pressBar(main, "First");
    ASSERT_EQ(text(main, "Text2"), "2002/2/11");
    button(wages, "Command1")->click();
    ASSERT_EQ(prompts.toldTexts.size(), 1);
    EXPECT_TRUE(prompts.toldTexts[0].contains("2002/2/12"));
    EXPECT_EQ(text(main, "Text7"), "100");
    EXPECT_EQ(wageRowCount(), 0);

    pressBar(main, "Last");
    button(wages, "Command1")->click();
    flushDeletes();
    EXPECT_EQ(text(main, "Text7"), "2010");
    EXPECT_EQ(stored(schema::kLedger, day1, "Personnel rate"), QVariant(100.0));
}

}  // namespace
}  // namespace staff_tests
