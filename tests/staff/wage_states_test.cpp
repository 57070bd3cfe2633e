#include "staff_fixture.h"

namespace staff_tests {
namespace {

const char* const kDataFields[] = {"Text1",    "Text2",  "DBCombo1", "Text4", "Text5", "DBCombo2",
                                   "DBCombo3", "Text13", "Text14",   "Text7", "Text9"};

TEST_F(StaffTest, WithAnEmptyWageTableTheWindowOpensOnZerosWithItsFieldsDisabled) {
    addDay("2002/2/12", 0);
    FormWindow* main = openDailyOn("2002/2/12");
    ASSERT_TRUE(button(main, "Command1")->isEnabled());
    staff::Form5* wages = openWageWindow(main);
    ASSERT_NE(wages, nullptr);
    EXPECT_TRUE(wages->isVisible());
    EXPECT_FALSE(button(main, "Command1")->isEnabled());  // Inquiry, for good
    EXPECT_EQ(figures(wages), QStringList({"0", "0", "0", "0", "0", "0", "0"}));
    for (const char* name : kDataFields)
        EXPECT_FALSE(wages->findChild<QWidget*>(name)->isEnabled()) << name;
    EXPECT_FALSE(button(wages, "Command1")->isEnabled());
    EXPECT_TRUE(button(wages, "Command3")->isEnabled());
    EXPECT_TRUE(prompts.told.isEmpty()) << prompts.told.join("\n").toStdString();

    button(wages, "Command3")->click();
    for (const char* name : kDataFields)
        EXPECT_TRUE(wages->findChild<QWidget*>(name)->isEnabled()) << name;
    EXPECT_TRUE(button(wages, "Command1")->isEnabled());
    EXPECT_EQ(text(wages, "Text1"), "2002/2/12");
    // The names and the yes / no choices come from their tables.
    addEmployee("Late", "S0", 1, 1);  // after the window opened: not listed
    EXPECT_EQ(list(wages, "DBCombo2")->count(), 2);
    EXPECT_EQ(list(wages, "DBCombo2")->itemText(0), "Yes");
    EXPECT_EQ(list(wages, "DBCombo3")->itemText(1), "No");
    EXPECT_EQ(list(wages, "DBCombo1")->count(), 0);
}

TEST_F(StaffTest, StoredWagesAreBrowsedWithTheirFiguresAndCannotBeEdited) {
    addEmployee("Tovena", "S1", 80, 100);
    addWage("2002/2/10", "Tovena", 80, 8);
    addWage("2002/2/11", "Tovena", 90, 2);
    addDay("2002/2/12", 0);
    staff::Form5* wages = openWageWindow(openDailyOn("2002/2/12"));
    EXPECT_EQ(text(wages, "Text1"), "2002/2/10");
    EXPECT_EQ(text(wages, "DBCombo1"), "Tovena");
    EXPECT_EQ(text(wages, "Label20"), "640");
    EXPECT_EQ(text(wages, "Label25"), "640");
    pressBar(wages, "Next");
    EXPECT_EQ(text(wages, "Label19"), "90");
    EXPECT_EQ(text(wages, "Label25"), "180");
    EXPECT_FALSE(field(wages, "Text7")->isEnabled());
    // The salary hour changed when the rows came in: locked for good. The
    // overtime rate, empty in both rows, never changed and is not locked yet.
    EXPECT_TRUE(field(wages, "Text4")->isReadOnly());
    EXPECT_FALSE(field(wages, "Text5")->isReadOnly());
}

TEST_F(StaffTest, TheRatesStayLockedAndOnlyTheTransferFillsThem) {
    addEmployee("Tovena", "S1", 80, 100);
    addWage("2002/2/10", "Tovena", 80, 8);
    addDay("2002/2/12", 0);
    staff::Form5* wages = openWageWindow(openDailyOn("2002/2/12"));
    button(wages, "Command3")->click();
    ASSERT_TRUE(field(wages, "Text4")->isEnabled());
    EXPECT_TRUE(field(wages, "Text4")->isReadOnly());
    QTest::keyClicks(field(wages, "Text4"), "99");
    EXPECT_EQ(text(wages, "Text4"), "");
    staff::Form6* reg = pickEmployee(wages, "Tovena");
    button(reg, "Command1")->click();
    EXPECT_EQ(text(wages, "Text4"), "80");
    EXPECT_TRUE(field(wages, "Text4")->isReadOnly());
}

TEST_F(StaffTest, LeaveYesKeepsTheHoursLockedAcrossNew) {
    addEmployee("Tovena", "S1", 80, 100);
    addDay("2002/2/12", 0);
    staff::Form5* wages = openWageWindow(openDailyOn("2002/2/12"));
    beginWageFor(wages, "Tovena");
    choose(wages, "DBCombo2", "Yes");
    button(wages, "Command3")->click();
    EXPECT_TRUE(field(wages, "Text7")->isReadOnly());
    EXPECT_TRUE(field(wages, "Text9")->isReadOnly());
    choose(wages, "DBCombo2", "No");
    EXPECT_FALSE(field(wages, "Text7")->isReadOnly());
}

TEST_F(StaffTest, KeyboardFocusFollowsTheWageSheetOrder) {
    addDay("2002/2/12", 0);
    staff::Form5* wages = openWageWindow(openDailyOn("2002/2/12"));
    button(wages, "Command3")->click();
    const QStringList expected = {"Text2",    "Text4",    "Text5",    "Text7",    "Text9",
                                  "Text12",   "Text13",   "Text14",   "Command1", "Command3",
                                  "DBCombo1", "DBCombo2", "DBCombo3", "Text1"};
    EXPECT_EQ(focusOrder(field(wages, "Text2"), expected.size()), expected);
}

}  // namespace
}  // namespace staff_tests
