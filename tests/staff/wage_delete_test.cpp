// SPDX-License-Identifier: GPL-3.0-or-later
// Putting a wrong wage right: hours no day has are asked about before Save
// stores them, and Delete removes a stored wage row and takes exactly what
// it added off its day, or refuses and changes nothing.

#include "staff_fixture.h"

namespace staff_tests {
namespace {

const QString kDay = QStringLiteral("2002/2/12");

class WageDelete : public StaffTest {
protected:
    // The stored wage row of `name`, reached with the bar.
    static void showWageOf(QWidget* wages, const QString& name) {
        pressBar(wages, "First");
        for (int i = 0; i < 20 && list(wages, "DBCombo1")->currentText() != name; ++i)
            pressBar(wages, "Next");
        ASSERT_EQ(list(wages, "DBCombo1")->currentText(), name);
    }

    void deleteWageOf(FormWindow* main, const QString& name) {
        staff::Form5* wages = openWageWindow(main);
        showWageOf(wages, name);
        prompts.yesNoAnswers = {true};
        button(wages, "Command2")->click();
        flushDeletes();
        EXPECT_EQ(FormWindow::find("Form5"), nullptr) << prompts.toldTexts.join("\n").toStdString();
    }
};

TEST_F(WageDelete, IsOfferedForAStoredRowOnly) {
    addDay(kDay, 80);
    addWage(kDay, "Tovena", 10, 8);
    FormWindow* main = openDailyOn(kDay);
    staff::Form5* wages = openWageWindow(main);
    QPushButton* deleteButton = button(wages, "Command2");
    EXPECT_EQ(deleteButton->text(), "Delete");
    EXPECT_TRUE(deleteButton->isVisibleTo(wages));
    button(wages, "Command3")->click();  // New
    EXPECT_FALSE(deleteButton->isVisibleTo(wages));
}

TEST_F(WageDelete, TakesExactlyTheRowsRoundedWageOffItsDay) {
    // Twelve wages of 10.25 an hour for 1 to 12 hours, each added rounded
    // to the even whole number: 10 20 31 41 51 62 72 82 92 102 113 123.
    const qint64 day = addDay(kDay, 799);
    for (int hours = 1; hours <= 12; ++hours)
        addWage(kDay, QStringLiteral("N%1").arg(hours), 10.25, hours);
    FormWindow* main = openDailyOn(kDay);

    deleteWageOf(main, "N6");  // 61.5 added 62
    EXPECT_EQ(stored(schema::kLedger, day, "Personnel rate"), QVariant(737.0));
    EXPECT_EQ(text(main, "Text7"), "737");
    deleteWageOf(main, "N10");  // 102.5 added 102
    EXPECT_EQ(stored(schema::kLedger, day, "Personnel rate"), QVariant(635.0));
    EXPECT_EQ(wageRowCount(), 10);
    EXPECT_EQ(db.scalar("SELECT count(*) FROM \"The staff calculate wages\" WHERE Name IN "
                        "('N6', 'N10')")
                  .toLongLong(),
              0);
    ASSERT_EQ(prompts.defaultNoAsked.size(), 2u);
    EXPECT_TRUE(prompts.defaultNoAsked[0].message.contains("Delete the wage of 62 for N6"))
        << prompts.defaultNoAsked[0].message.toStdString();
    EXPECT_TRUE(prompts.toldTexts.isEmpty()) << prompts.toldTexts.join("\n").toStdString();
}

// Delete refused by the daily window, or answered No: the wage row and the
// day stay as they were, and the window stays on the row. (Another till's
// change of the day or the row is refused below the windows.)
enum class Meanwhile { Nothing, AnotherDayShown, DayTypedInto };

struct RefusalCase {
    const char* what;
    Meanwhile meanwhile;
    const char* said;  // empty: nothing said (answered No)
};

void PrintTo(const RefusalCase& c, std::ostream* out) { *out << c.what; }

class WageDeleteRefused : public WageDelete, public ::testing::WithParamInterface<RefusalCase> {};

TEST_P(WageDeleteRefused, LeavesTheWageRowAndTheDayAlone) {
    const RefusalCase& c = GetParam();
    addDay("2002/2/11", 5);
    const qint64 day = addDay(kDay, 80);
    addWage(kDay, "Tovena", 10, 8);
    FormWindow* main = openDailyOn(kDay);
    staff::Form5* wages = openWageWindow(main);
    if (c.meanwhile == Meanwhile::AnotherDayShown) pressBar(main, "First");
    if (c.meanwhile == Meanwhile::DayTypedInto) field(main, "Text1")->setText("300");
    prompts.yesNoAnswers = {*c.said != '\0'};
    button(wages, "Command2")->click();
    flushDeletes();
    if (*c.said) {
        ASSERT_EQ(prompts.toldTexts.size(), 1);
        EXPECT_TRUE(prompts.toldTexts[0].contains(c.said)) << prompts.toldTexts[0].toStdString();
    } else {
        EXPECT_TRUE(prompts.toldTexts.isEmpty());
    }
    EXPECT_EQ(wageRowCount(), 1);
    EXPECT_EQ(db.scalar("SELECT \"Personnel rate\" FROM \"daily settlement of accounts\" WHERE "
                        "Date = '2002/2/11'"),
              QVariant(5.0));
    EXPECT_EQ(stored(schema::kLedger, day, "Personnel rate"), QVariant(80.0));
    EXPECT_EQ(FormWindow::find("Form5"), wages);
}

const RefusalCase kRefusals[] = {
    {"answered No", Meanwhile::Nothing, ""},
    {"another day shown", Meanwhile::AnotherDayShown,
     "but the daily settlement window shows the day 2002/2/11"},
    {"the day typed into", Meanwhile::DayTypedInto, "has changes not saved yet"},
};

INSTANTIATE_TEST_SUITE_P(Cases, WageDeleteRefused, ::testing::ValuesIn(kRefusals));

// Hours no day has are asked about before Save; the default stores nothing.
struct HoursCase {
    const char* mainHour;
    const char* overtime;
    bool asked;
};

void PrintTo(const HoursCase& c, std::ostream* out) {
    *out << '"' << c.mainHour << "\" + \"" << c.overtime << '"';
}

class HoursQuestion : public StaffTest, public ::testing::WithParamInterface<HoursCase> {};

TEST_P(HoursQuestion, ComesBeforeStoringHoursNoDayHas) {
    const HoursCase& c = GetParam();
    addEmployee("Tovena", "S1", 80, 100);
    addDay(kDay, 0);
    FormWindow* main = openDailyOn(kDay);
    staff::Form5* wages = openWageWindow(main);
    beginWageFor(wages, "Tovena");
    type(wages, "Text7", c.mainHour);
    type(wages, "Text9", c.overtime);
    prompts.yesNoAnswers = {false};
    button(wages, "Command1")->click();
    flushDeletes();
    EXPECT_EQ(prompts.defaultNoAsked.size(), c.asked ? 1u : 0u);
    EXPECT_EQ(wageRowCount(), c.asked ? 0 : 1);
    EXPECT_EQ(FormWindow::find("Form5") != nullptr, c.asked);
}

INSTANTIATE_TEST_SUITE_P(Hours, HoursQuestion,
                         ::testing::Values(HoursCase{"8", "2", false}, HoursCase{"24", "", false},
                                           HoursCase{"24.5", "", true},
                                           HoursCase{"20", "4.5", true}, HoursCase{"0", "", false},
                                           HoursCase{"-0.5", "", true}, HoursCase{"", "-1", true},
                                           HoursCase{"", "", true}));

}  // namespace
}  // namespace staff_tests
