// SPDX-License-Identifier: GPL-3.0-or-later
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
    for (const char* name : kDataFields)
        EXPECT_FALSE(wages->findChild<QWidget*>(name)->isEnabled()) << name;
    EXPECT_FALSE(button(wages, "Command1")->isEnabled());
}

TEST_F(StaffTest, ARateTypedByHandStaysEditableAndOnlyCarriedRatesLock) {
    addEmployee("Tovena", "S1", 80, 100);
    addEmployee("Anna", "S2", 90, 110);
    addWage("2002/2/10", "Tovena", 80, 8);
    addDay("2002/2/12", 0);
    staff::Form5* wages = openWageWindow(openDailyOn("2002/2/12"));
    button(wages, "Command3")->click();
    ASSERT_TRUE(field(wages, "Text4")->isEnabled());
    EXPECT_FALSE(field(wages, "Text4")->isReadOnly());
    QTest::keyClicks(field(wages, "Text4"), "55");
    EXPECT_EQ(text(wages, "Text4"), "55");
    EXPECT_EQ(text(wages, "Label19"), "55");
    EXPECT_FALSE(field(wages, "Text4")->isReadOnly());

    // Login carries the name with the rates, and the carried rates lock.
    staff::Form6* reg = pickEmployee(wages, "Tovena");
    button(reg, "Command1")->click();
    EXPECT_EQ(text(wages, "Text4"), "80");
    EXPECT_EQ(text(wages, "Text2"), "S1");
    EXPECT_TRUE(field(wages, "Text4")->isReadOnly());
    EXPECT_TRUE(field(wages, "Text5")->isReadOnly());

    // Another name: the carried rates are not its rates, and go.
    choose(wages, "DBCombo1", "Anna");
    EXPECT_EQ(text(wages, "Text4"), "");
    EXPECT_EQ(text(wages, "Text5"), "");
    EXPECT_EQ(text(wages, "Text2"), "");
    EXPECT_FALSE(field(wages, "Text4")->isReadOnly());
}

TEST_F(StaffTest, LoginCarriesTheNameOfTheRowTheRegisterWasMovedTo) {
    addEmployee("Tovena", "S1", 80, 100);
    addEmployee("Anna", "S2", 90, 110);
    const qint64 day = addDay("2002/2/12", 0);
    FormWindow* main = openDailyOn("2002/2/12");
    staff::Form5* wages = openWageWindow(main);
    button(wages, "Command3")->click();
    staff::Form6* reg = pickEmployee(wages, "Tovena");
    pressBar(reg, "Next");
    ASSERT_EQ(text(reg, "Text3"), "Anna");
    button(reg, "Command1")->click();
    EXPECT_EQ(text(wages, "DBCombo1"), "Anna");
    EXPECT_EQ(text(wages, "Text4"), "90");
    EXPECT_EQ(text(wages, "Text2"), "S2");
    type(wages, "Text7", "2");
    button(wages, "Command1")->click();
    flushDeletes();
    EXPECT_EQ(lastWage("Name"), QVariant("Anna"));
    EXPECT_EQ(lastWage("Salary hour"), QVariant(90.0));
    EXPECT_EQ(stored(schema::kLedger, day, "Personnel rate"), QVariant(180.0));
}

TEST_F(StaffTest, TheEmptyNameBoxOpensTheRegisterAndLoginFillsTheName) {
    addEmployee("Tovena", "S1", 80, 100);
    addEmployee("Anna", "S2", 90, 110);
    addDay("2002/2/12", 0);
    staff::Form5* wages = openWageWindow(openDailyOn("2002/2/12"));
    button(wages, "Command3")->click();
    QTest::mouseClick(list(wages, "DBCombo1")->lineEdit(), Qt::LeftButton);
    auto* reg = qobject_cast<staff::Form6*>(FormWindow::find("Form6"));
    ASSERT_NE(reg, nullptr);
    EXPECT_EQ(text(reg, "Text3"), "Tovena");
    pressBar(reg, "Last");
    button(reg, "Command1")->click();
    EXPECT_EQ(text(wages, "DBCombo1"), "Anna");
    EXPECT_EQ(text(wages, "Text2"), "S2");
}

// The hours' lock after what the user does with the two yes / no lists.
struct ListStep {
    const char* list;  // "DBCombo2" (Ask for leave) or "DBCombo3" (Absent); nullptr: New
    const char* text;
    const char* how;  // "choose", "type", "popup": opened and closed, nothing chosen
};

struct HoursCase {
    const char* what;
    std::vector<ListStep> steps;
    bool locked;
    const char* hours;  // Main hour after the steps (8 typed before)
};

void PrintTo(const HoursCase& c, std::ostream* out) { *out << c.what; }

class HoursLock : public StaffTest, public ::testing::WithParamInterface<HoursCase> {};

TEST_P(HoursLock, FollowsWhatTheListsShow) {
    const HoursCase& c = GetParam();
    addEmployee("Tovena", "S1", 80, 100);
    addDay("2002/2/12", 0);
    staff::Form5* wages = openWageWindow(openDailyOn("2002/2/12"));
    beginWageFor(wages, "Tovena");
    type(wages, "Text7", "8");
    type(wages, "Text9", "2");
    for (const ListStep& step : c.steps) {
        if (!step.list) {
            prompts.choiceAnswers = {"Give it up"};
            button(wages, "Command3")->click();
            type(wages, "Text7", "8");
            continue;
        }
        auto* choices = list(wages, step.list);
        const QString how = step.how;
        if (how == "choose") {
            choose(wages, step.list, step.text);
        } else if (how == "type") {
            choices->lineEdit()->clear();
            QTest::keyClicks(choices->lineEdit(), step.text);
        } else {
            ASSERT_EQ(choices->currentText(), step.text);
            choices->showPopup();
            choices->hidePopup();
        }
    }
    EXPECT_EQ(field(wages, "Text7")->isReadOnly(), c.locked);
    EXPECT_EQ(field(wages, "Text9")->isReadOnly(), c.locked);
    EXPECT_EQ(text(wages, "Text7"), c.hours);
    // Locked, the keys go nowhere; open, they are typed.
    QTest::keyClicks(field(wages, "Text7"), "5");
    EXPECT_EQ(text(wages, "Text7"), c.locked ? QString(c.hours) : QString(c.hours) + "5");
}

const HoursCase kHoursCases[] = {
    {"leave Yes", {{"DBCombo2", "Yes", "choose"}}, true, "0"},
    {"absent Yes", {{"DBCombo3", "Yes", "choose"}}, true, "0"},
    {"leave No", {{"DBCombo2", "No", "choose"}}, false, "8"},
    {"absent No", {{"DBCombo3", "No", "choose"}}, false, "8"},
    {"absent Yes, then leave No",
     {{"DBCombo3", "Yes", "choose"}, {"DBCombo2", "No", "choose"}},
     false,
     "0"},
    {"leave Yes, then leave No",
     {{"DBCombo2", "Yes", "choose"}, {"DBCombo2", "No", "choose"}},
     false,
     "0"},
    {"leave Yes typed", {{"DBCombo2", "Yes", "type"}}, true, "0"},
    {"absent No typed after Yes",
     {{"DBCombo3", "Yes", "choose"}, {"DBCombo3", "No", "type"}},
     false,
     "0"},
    {"yes in small letters is no choice", {{"DBCombo2", "yes", "type"}}, false, "8"},
    {"empty text changes nothing",
     {{"DBCombo2", "Yes", "choose"}, {"DBCombo2", "", "type"}},
     true,
     "0"},
    {"the drop-down of a list saying Yes opened and closed",
     {{"DBCombo3", "Yes", "choose"}, {"DBCombo2", "No", "choose"}, {"DBCombo3", "Yes", "popup"}},
     true,
     "0"},
    {"the drop-down of a list saying No opened and closed",
     {{"DBCombo2", "Yes", "choose"}, {"DBCombo3", "No", "choose"}, {"DBCombo3", "No", "popup"}},
     false,
     "0"},
    {"a new row shows empty lists: open",
     {{"DBCombo2", "Yes", "choose"}, {nullptr, "", ""}},
     false,
     "8"},
};

INSTANTIATE_TEST_SUITE_P(Lists, HoursLock, ::testing::ValuesIn(kHoursCases));

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
