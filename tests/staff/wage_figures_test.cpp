// SPDX-License-Identifier: GPL-3.0-or-later
#include "staff_fixture.h"
#include "support/earlier_books.h"

namespace staff_tests {
namespace {

// One wage from New to Save: the rates come from the register, the rest is
// typed, and Save adds the rounded wage to the day's Personnel rate.
struct WageCase {
    const char* what;
    QVariant salaryHour, overtimeSalaryHour;  // in the staff register
    const char *mainHour, *workOvertime;      // typed, empty: not typed
    const char *insurance, *absentDeduct;
    QStringList figures;         // Label19 ... Label25
    QVariant personnelBefore;    // the day's stored rate
    const char* personnelAfter;  // the daily window's Text7 after Save
};

void PrintTo(const WageCase& c, std::ostream* out) { *out << c.what; }

class WageFigureTest : public StaffTest, public ::testing::WithParamInterface<WageCase> {};

TEST_P(WageFigureTest, FiguresFollowEveryKeystrokeAndSaveAddsTheRoundedWage) {
    const WageCase& c = GetParam();
    addEmployee("Tovena", "S1", c.salaryHour, c.overtimeSalaryHour);
    const qint64 day = addDay("2002/2/12", c.personnelBefore);
    FormWindow* main = openDailyOn("2002/2/12");
    staff::Form5* wages = openWageWindow(main);
    beginWageFor(wages, "Tovena");
    type(wages, "Text7", c.mainHour);
    type(wages, "Text9", c.workOvertime);
    type(wages, "Text13", c.insurance);
    type(wages, "Text14", c.absentDeduct);
    EXPECT_EQ(figures(wages), c.figures);

    button(wages, "Command1")->click();
    flushDeletes();
    EXPECT_TRUE(prompts.told.isEmpty()) << prompts.told.join("\n").toStdString();
    EXPECT_EQ(FormWindow::find("Form5"), nullptr);
    EXPECT_EQ(text(main, "Text7"), c.personnelAfter);
    EXPECT_EQ(wageRowCount(), 1);
    EXPECT_EQ(lastWage("Date"), QVariant("2002/2/12"));
    EXPECT_EQ(lastWage("Name"), QVariant("Tovena"));
    EXPECT_EQ(lastWage("Serial numbers"), QVariant("S1"));
    // Stored with the wage row: the day's figure needs no Save of its own.
    EXPECT_EQ(stored(schema::kLedger, day, "Personnel rate").toString(), c.personnelAfter);
    EXPECT_FALSE(static_cast<forms::BoundLineEdit*>(field(main, "Text7"))->isChanged());
}

const WageCase kWageCases[] = {
    {"the shop's example",
     80,
     100,
     "8",
     "2",
     "30",
     "0",
     {"80", "640", "100", "200", "840", "30", "810"},
     1200,
     "2010"},
    {"a Personnel rate with a fraction keeps it",
     80,
     100,
     "8",
     "2",
     "30",
     "0",
     {"80", "640", "100", "200", "840", "30", "810"},
     1200.5,
     "2010.5"},
    {"an empty Personnel rate counts 0",
     80,
     100,
     "8",
     "2",
     "30",
     "0",
     {"80", "640", "100", "200", "840", "30", "810"},
     QVariant(),
     "810"},
    {"a wage of 100.5 adds 100 (ties to even)",
     100.5,
     0,
     "1",
     "",
     "",
     "",
     {"100.5", "100.5", "0", "0", "100.5", "0", "100.5"},
     0,
     "100"},
    {"a wage of 101.5 adds 102 (ties to even)",
     101.5,
     0,
     "1",
     "",
     "",
     "",
     {"101.5", "101.5", "0", "0", "101.5", "0", "101.5"},
     0,
     "102"},
    {"a wage of 100.6 adds 101",
     100.6,
     0,
     "1",
     "",
     "",
     "",
     {"100.6", "100.6", "0", "0", "100.6", "0", "100.6"},
     7,
     "108"},
    {"an employee without a salary hour",
     QVariant(),
     50,
     "8",
     "1.5",
     "",
     "",
     {"", "0", "50", "75", "75", "0", "75"},
     0,
     "75"},
    {"deductions above the earnings lower the day's cost",
     10,
     0,
     "2",
     "",
     "25",
     "5",
     {"10", "20", "0", "0", "20", "30", "-10"},
     100,
     "90"},
    {"a negative Personnel rate takes the wage",
     10,
     0,
     "2",
     "",
     "",
     "",
     {"10", "20", "0", "0", "20", "0", "20"},
     -50,
     "-30"},
};

INSTANTIATE_TEST_SUITE_P(Wages, WageFigureTest, ::testing::ValuesIn(kWageCases));

TEST_F(StaffTest, LeaveSetToYesZeroesAndLocksTheHoursSoSaveLowersThePersonnelRate) {
    addEmployee("Tovena", "S1", 80, 100);
    addDay("2002/2/12", 1200);
    FormWindow* main = openDailyOn("2002/2/12");
    staff::Form5* wages = openWageWindow(main);
    beginWageFor(wages, "Tovena");
    type(wages, "Text7", "8");
    type(wages, "Text9", "2");
    type(wages, "Text13", "30");
    ASSERT_EQ(text(wages, "Label25"), "810");

    choose(wages, "DBCombo2", "Yes");
    EXPECT_EQ(text(wages, "Text7"), "0");
    EXPECT_EQ(text(wages, "Text9"), "0");
    EXPECT_TRUE(field(wages, "Text7")->isReadOnly());
    EXPECT_TRUE(field(wages, "Text9")->isReadOnly());
    EXPECT_EQ(text(wages, "Label25"), "-30");
    QTest::keyClicks(field(wages, "Text7"), "5");  // locked: the keys go nowhere
    EXPECT_EQ(text(wages, "Text7"), "0");

    button(wages, "Command1")->click();
    flushDeletes();
    EXPECT_EQ(text(main, "Text7"), "1170");
    EXPECT_EQ(lastWage("Ask for leave"), QVariant("Yes"));
    EXPECT_EQ(lastWage("Main hour"), QVariant(0.0));
}

TEST_F(StaffTest, AbsentYesThenLeaveNoLeavesTheHoursEditableWithTheirZeros) {
    addEmployee("Tovena", "S1", 80, 100);
    addDay("2002/2/12", 0);
    staff::Form5* wages = openWageWindow(openDailyOn("2002/2/12"));
    beginWageFor(wages, "Tovena");
    type(wages, "Text7", "8");
    choose(wages, "DBCombo3", "Yes");
    ASSERT_TRUE(field(wages, "Text7")->isReadOnly());
    choose(wages, "DBCombo2", "No");
    EXPECT_FALSE(field(wages, "Text7")->isReadOnly());
    EXPECT_FALSE(field(wages, "Text9")->isReadOnly());
    EXPECT_EQ(text(wages, "Text7"), "0");
    EXPECT_EQ(text(wages, "Text9"), "0");
    EXPECT_EQ(text(wages, "DBCombo3"), "Yes");  // the lists act independently
    type(wages, "Text7", "4");
    EXPECT_EQ(text(wages, "Label20"), "320");
}

TEST_F(StaffTest, OnlyTheExactTextsYesAndNoSwitchTheHours) {
    addEmployee("Tovena", "S1", 80, 100);
    addDay("2002/2/12", 0);
    staff::Form5* wages = openWageWindow(openDailyOn("2002/2/12"));
    beginWageFor(wages, "Tovena");
    type(wages, "Text7", "8");
    auto* leave = list(wages, "DBCombo2");
    leave->setEditText("yes");  // typed, then the list clicked
    QTest::mouseClick(leave->lineEdit(), Qt::LeftButton);
    EXPECT_EQ(text(wages, "Text7"), "8");
    EXPECT_FALSE(field(wages, "Text7")->isReadOnly());
    leave->setEditText("Yes");
    QTest::mouseClick(leave->lineEdit(), Qt::LeftButton);
    EXPECT_EQ(text(wages, "Text7"), "0");
    EXPECT_TRUE(field(wages, "Text7")->isReadOnly());
}

TEST_F(StaffTest, MonthlyPayStaysTheWageUntilAnythingChanges) {
    addEmployee("Anna", "S2", 80, 100, 30000.4);
    addDay("2002/2/12", 1000);
    FormWindow* main = openDailyOn("2002/2/12");
    staff::Form5* wages = openWageWindow(main);

    // Ticked, then a deduction typed: the computed wage takes over again.
    beginWageFor(wages, "Anna", /*monthlyPay=*/true);
    EXPECT_EQ(text(wages, "Label25"), "30000.4");
    type(wages, "Text13", "5");
    EXPECT_EQ(text(wages, "Label25"), "-5");

    // A second row, nothing changed after the transfer: the whole monthly
    // pay, rounded, goes into the day's cost. The first row is saved when
    // New asks, so both count.
    prompts.choiceAnswers = {"Save this wage (it is added to the day)"};
    prompts.yesNoAnswers = {true};  // no hours: stored all the same
    beginWageFor(wages, "Anna", /*monthlyPay=*/true);
    EXPECT_EQ(text(wages, "Label25"), "30000.4");
    button(wages, "Command1")->click();
    flushDeletes();
    EXPECT_EQ(text(main, "Text7"), "30995");
    EXPECT_EQ(wageRowCount(), 2);
    // What each row added can be read from it: the first its wage by the
    // hour, the second the monthly pay in place of its hours.
    EXPECT_EQ(db.query("SELECT \"Monthly pay\" FROM \"The staff calculate wages\" ORDER BY rowid"),
              (std::vector<std::vector<QVariant>>{{QVariant()}, {QVariant(30000.4)}}));

    // Browsed, each stored row shows the wage it added.
    wages = openWageWindow(main);
    pressBar(wages, "First");
    EXPECT_EQ(text(wages, "Label25"), "-5");
    pressBar(wages, "Next");
    EXPECT_EQ(text(wages, "Label25"), "30000.4");
    pressBar(wages, "Previous");
    EXPECT_EQ(text(wages, "Label25"), "-5");
    EXPECT_TRUE(prompts.told.isEmpty()) << prompts.told.join("\n").toStdString();
}

// A monthly pay carried and then given up (hours typed, or a second Login
// without the box) is not recorded; a second Login with the box is.
TEST_F(StaffTest, OnlyAMonthlyPayStillTheWageAtSaveIsRecorded) {
    addEmployee("Anna", "S2", 80, 100, 24000);
    addDay("2002/2/12", 0);
    FormWindow* main = openDailyOn("2002/2/12");
    const struct {
        bool firstBox;
        const char* hours;  // typed after the first Login
        bool secondLogin, secondBox;
        const char* wage;
        QVariant recorded;
    } cases[] = {
        {true, "", false, false, "24000", 24000.0}, {true, "8", false, false, "640", QVariant()},
        {true, "", true, false, "0", QVariant()},   {false, "", true, true, "24000", 24000.0},
        {true, "8", true, true, "24000", 24000.0},
    };
    int added = 0;
    for (const auto& c : cases) {
        staff::Form5* wages = openWageWindow(main);
        beginWageFor(wages, "Anna", c.firstBox);
        if (*c.hours) type(wages, "Text7", c.hours);
        if (c.secondLogin) {
            staff::Form6* reg = pickEmployee(wages, "Anna");
            ASSERT_NE(reg, nullptr);
            if (c.secondBox) reg->findChild<QCheckBox*>("Check1")->click();
            button(reg, "Command1")->click();
            flushDeletes();
        }
        EXPECT_EQ(text(wages, "Label25"), c.wage);
        prompts.yesNoAnswers = {true};  // a wage by the hour without hours is asked about
        button(wages, "Command1")->click();
        flushDeletes();
        added += QString(c.wage).toInt();
        EXPECT_EQ(lastWage("Monthly pay"), c.recorded) << c.wage;
        EXPECT_EQ(text(main, "Text7"), QString::number(added));
    }
    EXPECT_TRUE(prompts.told.isEmpty()) << prompts.told.join("\n").toStdString();
}

// Books made before wage rows recorded the monthly pay: it is added to the
// day as ever, and the user is told once that the row cannot say so.
TEST_F(StaffTest, InEarlierBooksAMonthlyPayIsAddedAndSaidNotRecorded) {
    makeWageRowsAsEarlierVersions(db);
    addEmployee("Anna", "S2", 80, 100, 24000);
    addDay("2002/2/12", 100);
    FormWindow* main = openDailyOn("2002/2/12");
    staff::Form5* wages = openWageWindow(main);
    beginWageFor(wages, "Anna", /*monthlyPay=*/true);
    EXPECT_EQ(text(wages, "Label25"), "24000");
    button(wages, "Command1")->click();
    flushDeletes();
    EXPECT_EQ(text(main, "Text7"), "24100");
    EXPECT_EQ(wageRowCount(), 1);
    ASSERT_EQ(prompts.toldTexts.size(), 1);
    EXPECT_TRUE(prompts.toldTexts[0].contains("cannot record that its wage was the monthly pay"))
        << prompts.toldTexts[0].toStdString();
    EXPECT_TRUE(prompts.toldTexts[0].contains("tallowbrook-db check"));

    // A wage by the hour is stored without a word.
    wages = openWageWindow(main);
    beginWageFor(wages, "Anna");
    type(wages, "Text7", "2");
    button(wages, "Command1")->click();
    flushDeletes();
    EXPECT_EQ(text(main, "Text7"), "24260");
    EXPECT_EQ(prompts.toldTexts.size(), 1);
}

TEST_F(StaffTest, LoginWithTheBoxUntickedLeavesTheComputedWage) {
    addEmployee("Anna", "S2", 80, 100, 30000);
    addDay("2002/2/12", 0);
    staff::Form5* wages = openWageWindow(openDailyOn("2002/2/12"));
    beginWageFor(wages, "Anna");
    EXPECT_EQ(text(wages, "Text4"), "80");
    EXPECT_EQ(text(wages, "Text5"), "100");
    EXPECT_EQ(text(wages, "Text2"), "S2");
    EXPECT_EQ(text(wages, "Label25"), "0");
}

TEST_F(StaffTest, AFigureBeyondTheDoubleRangeKeepsItsTextAndStopsTheChain) {
    addEmployee("Tovena", "S1", 80, 0);
    addDay("2002/2/12", 0);
    staff::Form5* wages = openWageWindow(openDailyOn("2002/2/12"));
    beginWageFor(wages, "Tovena");
    type(wages, "Text13", "7");
    type(wages, "Text7", "1e30");
    ASSERT_EQ(text(wages, "Label20"), "8E+31");
    ASSERT_TRUE(prompts.told.isEmpty());

    type(wages, "Text7", "8");  // 1e308 x 80 leaves the double range
    ASSERT_EQ(prompts.toldTexts.size(), 1);
    EXPECT_TRUE(prompts.toldTexts[0].endsWith("(Error 6)")) << prompts.toldTexts[0].toStdString();
    EXPECT_EQ(text(wages, "Text7"), "1e308");
    EXPECT_EQ(text(wages, "Label20"), "8E+31");
    EXPECT_EQ(text(wages, "Label23"), "8E+31");
    // The deductions, on their own chain, were not touched by the failure.
    EXPECT_EQ(text(wages, "Label24"), "7");
}

TEST_F(StaffTest, AChainFailingInsideACommandIsShownOnceWhenTheCommandEnds) {
    addEmployee("Tovena", "S1", 80, 0);
    addDay("2002/2/12", 0);
    staff::Form5* wages = openWageWindow(openDailyOn("2002/2/12"));
    beginWageFor(wages, "Tovena");
    type(wages, "Text7", "1e30");
    ASSERT_EQ(text(wages, "Label20"), "8E+31");
    const auto outcome = setInsideCommand(field(wages, "Text7"), "1e308");
    EXPECT_FALSE(outcome.succeeded);
    EXPECT_TRUE(outcome.nextStepRan);
    ASSERT_EQ(prompts.toldTexts.size(), 1);
    EXPECT_TRUE(prompts.toldTexts[0].endsWith("(Error 6)")) << prompts.toldTexts[0].toStdString();
    EXPECT_EQ(text(wages, "Label20"), "8E+31");
}

}  // namespace
}  // namespace staff_tests
