// SPDX-License-Identifier: GPL-3.0-or-later
#include "staff_fixture.h"

namespace staff_tests {
namespace {

const QString kSaveIt = QStringLiteral("Save this wage (it is added to the day)");

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

    // Nothing of the wage stored, the window still entering it, open for
    // corrections.
    void expectWageWaits(staff::Form5* wages) {
        EXPECT_EQ(wageRowCount(), 0);
        ASSERT_EQ(FormWindow::find("Form5"), wages);
        EXPECT_TRUE(wages->records().isNewRow());
        EXPECT_TRUE(button(wages, "Command1")->isEnabled());
        for (const char* name : {"Text7", "Text9", "Text13", "Text14"}) {
            EXPECT_TRUE(field(wages, name)->isEnabled()) << name;
            EXPECT_FALSE(field(wages, name)->isReadOnly()) << name;
        }
    }
};

TEST_F(WageSaveTest, SaveStoresTheRowAndTheDaysFigureTogetherAndShowsTheStoredFigure) {
    const qint64 day = addDay("2002/2/12", 1200);
    FormWindow* main = openDailyOn("2002/2/12");
    staff::Form5* wages = enterExampleWage(main);
    button(wages, "Command1")->click();
    flushDeletes();
    EXPECT_TRUE(prompts.told.isEmpty()) << prompts.told.join("\n").toStdString();
    EXPECT_EQ(FormWindow::find("Form5"), nullptr);
    EXPECT_EQ(wageRowCount(), 1);
    EXPECT_EQ(stored(schema::kLedger, day, "Personnel rate"), QVariant(2010.0));
    EXPECT_EQ(text(main, "Text7"), "2010");
    // Not an edit of the day's: leaving the day stores nothing more and asks
    // nothing.
    main->close();
    flushDeletes();
    EXPECT_TRUE(prompts.told.isEmpty());
    EXPECT_EQ(stored(schema::kLedger, day, "Personnel rate"), QVariant(2010.0));
}

TEST_F(WageSaveTest, FiguresTypedIntoTheDayAreStoredFirstAsItsSaveWould) {
    const qint64 day = addDay("2002/2/12", 1200);
    FormWindow* main = openDailyOn("2002/2/12");
    staff::Form5* wages = enterExampleWage(main);
    field(main, "Text1")->setText("300");   // Rent, not saved yet
    field(main, "Text7")->setText("1000");  // and the Personnel rate itself
    button(wages, "Command1")->click();
    flushDeletes();
    EXPECT_EQ(stored(schema::kLedger, day, "Rent"), QVariant(300.0));
    EXPECT_EQ(stored(schema::kLedger, day, "Personnel rate"), QVariant(1810.0));
    EXPECT_EQ(text(main, "Text7"), "1810");
    EXPECT_EQ(text(main, "Text1"), "300");
}

TEST_F(WageSaveTest, APersonnelRateThatIsNotANumberIsRefusedAndNothingIsStored) {
    const qint64 day = addDay("2002/2/12", 0);
    FormWindow* main = openDailyOn("2002/2/12");
    staff::Form5* wages = enterExampleWage(main);
    field(main, "Text7")->setText("12abc");
    button(wages, "Command1")->click();
    ASSERT_EQ(prompts.toldTexts.size(), 1);
    // Said as the daily window's figure, with what to do there.
    EXPECT_TRUE(prompts.toldTexts[0].startsWith(
        "The Personnel rate of the day 2002/2/12 in the daily settlement window holds "
        "\"12abc\", which is not a number"))
        << prompts.toldTexts[0].toStdString();
    EXPECT_TRUE(prompts.toldTexts[0].contains("Correct the Personnel rate there"));
    EXPECT_EQ(text(main, "Text7"), "12abc");
    EXPECT_EQ(stored(schema::kLedger, day, "Personnel rate"), QVariant(0.0));
    expectWageWaits(wages);
}

TEST_F(WageSaveTest, ASumBeyondTheWholeNumbersIsRefusedAndNothingIsStored) {
    const qint64 day = addDay("2002/2/12", 2147483000.0);
    FormWindow* main = openDailyOn("2002/2/12");
    staff::Form5* wages = enterExampleWage(main);
    button(wages, "Command1")->click();
    ASSERT_EQ(prompts.toldTexts.size(), 1);
    EXPECT_TRUE(prompts.toldTexts[0].contains("2147483810")) << prompts.toldTexts[0].toStdString();
    EXPECT_EQ(text(main, "Text7"), "2147483000");
    EXPECT_EQ(stored(schema::kLedger, day, "Personnel rate"), QVariant(2147483000.0));
    expectWageWaits(wages);
}

// Both ends of the whole-number range of a wage.
struct RangeCase {
    const char* salaryHour;
    bool fits;
};

void PrintTo(const RangeCase& c, std::ostream* out) { *out << c.salaryHour; }

class WageRange : public WageSaveTest, public ::testing::WithParamInterface<RangeCase> {};

TEST_P(WageRange, AWageBeyondTheWholeNumbersNamesAStepThatWorks) {
    const RangeCase& c = GetParam();
    const qint64 day = addDay("2002/2/12", 0);
    FormWindow* main = openDailyOn("2002/2/12");
    staff::Form5* wages = openWageWindow(main);
    beginWageFor(wages, "Tovena");
    // A rate that gives a wage at the end of the range, in place of the
    // carried one.
    field(wages, "Text4")->setReadOnly(false);
    field(wages, "Text4")->setText(c.salaryHour);
    type(wages, "Text7", "1");
    button(wages, "Command1")->click();
    flushDeletes();
    if (c.fits) {
        EXPECT_TRUE(prompts.told.isEmpty()) << prompts.told.join("\n").toStdString();
        EXPECT_EQ(stored(schema::kLedger, day, "Personnel rate").toString(),
                  QString(c.salaryHour).remove(".4").remove(".5"));
        return;
    }
    ASSERT_EQ(prompts.toldTexts.size(), 1);
    const QString said = prompts.toldTexts[0];
    EXPECT_TRUE(said.contains("beyond the whole numbers")) << said.toStdString();
    EXPECT_TRUE(said.contains("Give it up")) << said.toStdString();
    expectWageWaits(wages);
    // The step named works: close, give it up.
    prompts.choiceAnswers = {"Give it up"};
    wages->close();
    flushDeletes();
    EXPECT_EQ(FormWindow::find("Form5"), nullptr);
    EXPECT_EQ(wageRowCount(), 0);
    EXPECT_EQ(stored(schema::kLedger, day, "Personnel rate"), QVariant(0.0));
}

INSTANTIATE_TEST_SUITE_P(
    Ends, WageRange,
    ::testing::Values(RangeCase{"2147483647", true}, RangeCase{"2147483647.4", true},
                      RangeCase{"2147483647.5", false}, RangeCase{"-2147483648", true},
                      RangeCase{"-2147483648.5", true}, RangeCase{"-2147483648.6", false},
                      RangeCase{"1e12", false}));

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
    EXPECT_EQ(stored(schema::kLedger, day, "Personnel rate"), QVariant(1200.0));
    expectWageWaits(wages);

    // Corrected, Save goes through.
    QTest::keyClick(field(wages, "Text7"), Qt::Key_Backspace);
    QTest::keyClick(field(wages, "Text9"), Qt::Key_Backspace);
    button(wages, "Command1")->click();
    flushDeletes();
    EXPECT_EQ(FormWindow::find("Form5"), nullptr);
    EXPECT_EQ(text(main, "Text7"), "1840");
    EXPECT_EQ(lastWage("Main hour"), QVariant(8.0));
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

// A wage row begun with New and left another way than Save.
struct LeavingCase {
    const char* how;     // "close", "new", "bar"
    const char* answer;  // the button pressed
    bool stays;          // the wage window still on the unsaved row
    int rows;            // wage rows stored
    const char* personnelRate;
};

void PrintTo(const LeavingCase& c, std::ostream* out) { *out << c.how << ", " << c.answer; }

class LeavingAnUnsavedWage : public WageSaveTest,
                             public ::testing::WithParamInterface<LeavingCase> {};

TEST_P(LeavingAnUnsavedWage, AsksAndNeverStoresItUncounted) {
    const LeavingCase& c = GetParam();
    addWage("2002/2/10", "Tovena", 80, 8);
    const qint64 day = addDay("2002/2/12", 1200);
    FormWindow* main = openDailyOn("2002/2/12");
    staff::Form5* wages = enterExampleWage(main);
    prompts.choiceAnswers = {QString::fromUtf8(c.answer)};
    const QString how = QString::fromUtf8(c.how);
    if (how == "close")
        wages->close();
    else if (how == "new")
        button(wages, "Command3")->click();
    else
        pressBar(wages, "First");
    flushDeletes();
    ASSERT_EQ(prompts.choicesAsked.size(), 1u);
    const auto& asked = prompts.choicesAsked[0];
    EXPECT_EQ(asked.buttons, QStringList({kSaveIt, "Give it up", "Stay"}));
    EXPECT_EQ(asked.defaultButton, "Stay");
    EXPECT_TRUE(asked.message.contains("810")) << asked.message.toStdString();
    EXPECT_TRUE(asked.message.contains("Tovena"));

    EXPECT_EQ(wageRowCount(), 1 + c.rows);
    EXPECT_EQ(stored(schema::kLedger, day, "Personnel rate").toString(), c.personnelRate);
    EXPECT_EQ(text(main, "Text7"), c.personnelRate);
    if (c.stays) {
        ASSERT_EQ(FormWindow::find("Form5"), wages);
        EXPECT_TRUE(wages->records().isNewRow());
        EXPECT_EQ(text(wages, "Label25"), "810");
    }
}

INSTANTIATE_TEST_SUITE_P(
    Ways, LeavingAnUnsavedWage,
    ::testing::Values(
        LeavingCase{"close", "Stay", true, 0, "1200"},
        LeavingCase{"close", "Give it up", false, 0, "1200"},
        LeavingCase{"close", "Save this wage (it is added to the day)", false, 1, "2010"},
        LeavingCase{"new", "Stay", true, 0, "1200"},
        LeavingCase{"new", "Give it up", false, 0, "1200"},
        LeavingCase{"new", "Save this wage (it is added to the day)", false, 1, "2010"},
        LeavingCase{"bar", "Stay", true, 0, "1200"},
        LeavingCase{"bar", "Give it up", false, 0, "1200"},
        LeavingCase{"bar", "Save this wage (it is added to the day)", false, 1, "2010"}));

TEST_F(WageSaveTest, ARowBegunAndLeftEmptyGoesWithoutAQuestion) {
    addDay("2002/2/12", 1200);
    staff::Form5* wages = openWageWindow(openDailyOn("2002/2/12"));
    button(wages, "Command3")->click();
    wages->close();
    flushDeletes();
    EXPECT_TRUE(prompts.choicesAsked.empty());
    EXPECT_EQ(FormWindow::find("Form5"), nullptr);
    EXPECT_EQ(wageRowCount(), 0);
}

TEST_F(WageSaveTest, SaveAddsOnlyForARowBegunWithNew) {
    addWage("2002/2/12", "Tovena", 80, 8);  // 640, counted long ago
    const qint64 day = addDay("2002/2/12", 640);
    FormWindow* main = openDailyOn("2002/2/12");
    staff::Form5* wages = openWageWindow(main);
    button(wages, "Command3")->click();
    pressBar(wages, "First");  // nothing typed but the date: no question
    EXPECT_TRUE(prompts.choicesAsked.empty());
    EXPECT_EQ(text(wages, "Label25"), "640");
    EXPECT_FALSE(button(wages, "Command1")->isEnabled());
    button(wages, "Command1")->click();
    flushDeletes();
    EXPECT_EQ(stored(schema::kLedger, day, "Personnel rate"), QVariant(640.0));
    EXPECT_EQ(wageRowCount(), 1);  // and no row holding only a date
}

TEST_F(WageSaveTest, AWageWithoutANameFromTheRegisterIsNeverStored) {
    const qint64 day = addDay("2002/2/12", 0);
    FormWindow* main = openDailyOn("2002/2/12");
    staff::Form5* wages = openWageWindow(main);
    button(wages, "Command3")->click();
    type(wages, "Text4", "80");  // a rate typed by hand
    type(wages, "Text7", "8");
    button(wages, "Command1")->click();
    ASSERT_EQ(prompts.toldTexts.size(), 1);
    EXPECT_TRUE(prompts.toldTexts[0].contains("This wage has no name"));

    list(wages, "DBCombo1")->setEditText("Zed");
    button(wages, "Command1")->click();
    ASSERT_EQ(prompts.toldTexts.size(), 2);
    EXPECT_TRUE(prompts.toldTexts[1].contains("\"Zed\" is not in the staff register"));
    EXPECT_EQ(wageRowCount(), 0);
    EXPECT_EQ(stored(schema::kLedger, day, "Personnel rate"), QVariant(0.0));

    list(wages, "DBCombo1")->setEditText("tovena");  // the register's Tovena
    button(wages, "Command1")->click();
    flushDeletes();
    EXPECT_EQ(wageRowCount(), 1);
    EXPECT_EQ(stored(schema::kLedger, day, "Personnel rate"), QVariant(640.0));
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
    EXPECT_FALSE(field(wages, "Text13")->isReadOnly());
}

TEST_F(WageSaveTest, AWageIsNotAddedToAnotherDayThanItsOwn) {
    const qint64 day1 = addDay("2002/2/11", 100);
    const qint64 day2 = addDay("2002/2/12", 1200);
    FormWindow* main = openDailyOn("2002/2/12");
    staff::Form5* wages = enterExampleWage(main);
    pressBar(main, "First");
    ASSERT_EQ(text(main, "Text2"), "2002/2/11");
    button(wages, "Command1")->click();
    ASSERT_EQ(prompts.toldTexts.size(), 1);
    EXPECT_TRUE(prompts.toldTexts[0].contains("This wage is for the day 2002/2/12"));
    EXPECT_EQ(text(main, "Text7"), "100");
    expectWageWaits(wages);

    pressBar(main, "Last");
    button(wages, "Command1")->click();
    flushDeletes();
    EXPECT_EQ(text(main, "Text7"), "2010");
    EXPECT_EQ(stored(schema::kLedger, day1, "Personnel rate"), QVariant(100.0));
    EXPECT_EQ(stored(schema::kLedger, day2, "Personnel rate"), QVariant(2010.0));
}

TEST_F(WageSaveTest, ADayNotSavedYetCannotTakeAWage) {
    addDay("2002/2/11", 100);
    FormWindow* main = openDailyOn("2002/2/11");
    prompts.yesNoAnswers = {true};
    button(main, "Command4")->click();  // New day
    type(main, "Text2", "2002/2/12");
    staff::Form5* wages = enterExampleWage(main);
    button(wages, "Command1")->click();
    ASSERT_EQ(prompts.toldTexts.size(), 1);
    EXPECT_TRUE(prompts.toldTexts[0].contains("has not been saved yet"));
    EXPECT_TRUE(prompts.toldTexts[0].contains("Save the day there first"));
    expectWageWaits(wages);
    EXPECT_TRUE(static_cast<forms::BoundLineEdit*>(field(main, "Text2"))->isChanged());
}

TEST_F(WageSaveTest, ADateChangedInTheDailyWindowAndNotSavedIsSaid) {
    addDay("2002/2/12", 100);
    FormWindow* main = openDailyOn("2002/2/12");
    staff::Form5* wages = enterExampleWage(main);
    field(main, "Text2")->setText("2002/2/13");
    button(wages, "Command1")->click();
    ASSERT_EQ(prompts.toldTexts.size(), 1);
    EXPECT_TRUE(prompts.toldTexts[0].contains("was changed to \"2002/2/13\" and not saved"));
    expectWageWaits(wages);
}

TEST_F(WageSaveTest, ADayChangedByAnotherTillMeanwhileTakesNoWage) {
    const qint64 day = addDay("2002/2/12", 100);
    FormWindow* main = openDailyOn("2002/2/12");
    staff::Form5* wages = enterExampleWage(main);
    db.exec("UPDATE \"daily settlement of accounts\" SET Date = '2002/2/13'");
    button(wages, "Command1")->click();
    ASSERT_EQ(prompts.toldTexts.size(), 1);
    EXPECT_TRUE(prompts.toldTexts[0].contains("was changed or removed by another program"))
        << prompts.toldTexts[0].toStdString();
    EXPECT_EQ(stored(schema::kLedger, day, "Personnel rate"), QVariant(100.0));
    expectWageWaits(wages);
}

}  // namespace
}  // namespace staff_tests
