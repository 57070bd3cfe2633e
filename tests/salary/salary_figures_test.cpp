// SPDX-License-Identifier: GPL-3.0-or-later
#include <QPointer>
#include <QTest>

#include "salary_fixture.h"

namespace salary_tests {
namespace {

TEST_F(SalaryTest, TheShopsExampleMonthGivesSubtotalDeductionsAndSalary) {
    addExampleMonth();
    auto* window = openSalaryWindow();
    EXPECT_EQ(shownRow(window), "2002/12 Tovena");
    EXPECT_EQ(text(window, "Text2"), "A001");
    EXPECT_EQ(text(window, "Text13") + " " + text(window, "Text6"), "160 10");
    EXPECT_EQ(text(window, "Text8") + " " + text(window, "Text9"), "600 200");
    EXPECT_EQ(rates(window), "80 100");
    EXPECT_EQ(figures(window), "13800 800 13000");
    EXPECT_TRUE(prompts.told.isEmpty()) << prompts.told.join("\n").toStdString();
}

TEST_F(SalaryTest, AnEmptyMonthQueryShowsZeroFigures) {
    addStaff("Tovena", 80, 100);
    auto* window = openSalaryWindow();
    EXPECT_EQ(shownRow(window), " ");
    EXPECT_EQ(figures(window), "0 0 0");
    // Nothing to step back to or search in: no message either.
    button(window, "Command1")->click();
    prompts.inputAnswers.push_back("Tovena");
    button(window, "Command2")->click();
    EXPECT_TRUE(prompts.told.isEmpty()) << prompts.told.join("\n").toStdString();
}

// What the figures make of the texts on screen, typed one field at a time.
struct TypedFigures {
    const char* salaryHour;
    const char* overtimeRate;
    const char* workHours;
    const char* overtimeHours;
    const char* insurance;
    const char* absentDeduct;
    const char* expected;  // Label12 Label14 Label13
};

void PrintTo(const TypedFigures& typed, std::ostream* out) {
    *out << typed.salaryHour << " " << typed.overtimeRate << " " << typed.workHours << " "
         << typed.overtimeHours << " " << typed.insurance << " " << typed.absentDeduct;
}

class SalaryFiguresTest : public SalaryTest, public ::testing::WithParamInterface<TypedFigures> {};

TEST_P(SalaryFiguresTest, FollowEveryTypedField) {
    const TypedFigures& typed = GetParam();
    addExampleMonth();
    auto* window = openSalaryWindow();
    const std::pair<const char*, const char*> fields[] = {
        {"Text4", typed.salaryHour}, {"Text5", typed.overtimeRate},
        {"Text13", typed.workHours}, {"Text6", typed.overtimeHours},
        {"Text8", typed.insurance},  {"Text9", typed.absentDeduct}};
    for (const auto& [name, value] : fields) {
        QLineEdit* edit = field(window, name);
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_Delete);
        QTest::keyClicks(edit, value);
    }
    EXPECT_EQ(figures(window), typed.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Vectors, SalaryFiguresTest,
    ::testing::Values(TypedFigures{"80", "100", "160", "10", "600", "200", "13800 800 13000"},
                      // Overtime is priced at the overtime rate, not the hourly one.
                      TypedFigures{"80", "100", "0", "10", "0", "0", "1000 0 1000"},
                      TypedFigures{"80", "100", "160", "0", "0", "0", "12800 0 12800"},
                      // Deductions larger than the pay give a negative salary.
                      TypedFigures{"10", "10", "1", "1", "50", "0", "20 50 -30"},
                      // Text that is no number counts 0; a leading number is read.
                      TypedFigures{"abc", "100", "160", "2x", "6OO", "", "200 6 194"},
                      TypedFigures{"0.1", "0.2", "1", "1", "0.1", "0.2", "0.3 0.3 0"},
                      TypedFigures{"95.5", "120", "12.5", "1.5", "0", "0", "1373.75 0 1373.75"}));

TEST_F(SalaryTest, AnOverflowIsReportedAndTheSubtotalKeepsItsText) {
    addExampleMonth();
    auto* window = openSalaryWindow();
    QLineEdit* rate = field(window, "Text4");
    rate->setText("1E300");
    ASSERT_EQ(text(window, "Label12"), "1.6E+302");
    prompts.told.clear();
    field(window, "Text13")->setText("1E300");
    ASSERT_EQ(prompts.told.size(), 1);
    EXPECT_TRUE(prompts.toldTexts[0].contains("beyond the range of a number"))
        << prompts.toldTexts[0].toStdString();
    EXPECT_EQ(text(window, "Label12"), "1.6E+302");
}

TEST_F(SalaryTest, AChainFailingInsideACommandIsShownOnceWhenTheCommandEnds) {
    addExampleMonth();
    auto* window = openSalaryWindow();
    field(window, "Text4")->setText("1E300");
    ASSERT_EQ(text(window, "Label12"), "1.6E+302");
    prompts.toldTexts.clear();
    const auto outcome = setInsideCommand(field(window, "Text13"), "1E300");
    EXPECT_FALSE(outcome.succeeded);
    EXPECT_TRUE(outcome.nextStepRan);
    ASSERT_EQ(prompts.toldTexts.size(), 1);
    EXPECT_TRUE(prompts.toldTexts[0].contains("beyond the range of a number"))
        << prompts.toldTexts[0].toStdString();
    EXPECT_EQ(text(window, "Label12"), "1.6E+302");
}

// A renamed employee's months name nobody in the register: they show no
// rates, subtotal or salary, say why, and take no rate typed (which would
// land in another employee's row). Before and after a priced month.
TEST_F(SalaryTest, AMonthWhoseEmployeeHasNoStaffRowShowsNoRatesAndSaysWhy) {
    addStaff("Chen Ya-ting", 82, 105, "A000");
    addStaff("Huang Kuo-wei (left)", 70, 90, "A009");  // renamed in the register
    addWage({"2002/12/2", "Huang Kuo-wei", 10, 0, 30, 0}, "A009");
    addWage({"2002/12/2", "Chen Ya-ting", 10, 0, 0, 0}, "A000");
    addWage({"2003/1/6", "Huang Kuo-wei", 8, 0, 0, 0}, "A009");
    const auto registerBefore = db.query("SELECT * FROM \"Materials forms of staff\"");
    auto* window = openSalaryWindow();
    window->show();
    auto* note = window->findChild<QLabel*>("Label15");
    ASSERT_NE(note, nullptr);
    const struct {
        const char* move;
        const char* row;
        const char* rates;
        const char* figures;
        bool noted;
    } steps[] = {
        {nullptr, "2002/12 Chen Ya-ting", "82 105", "820 0 820", false},
        {"Next", "2002/12 Huang Kuo-wei", " ", " 30 ", true},
        {"Next", "2003/1 Huang Kuo-wei", " ", " 0 ", true},
        {"First", "2002/12 Chen Ya-ting", "82 105", "820 0 820", false},
        {"Next", "2002/12 Huang Kuo-wei", " ", " 30 ", true},
    };
    for (const auto& step : steps) {
        if (step.move) pressBar(window, step.move);
        ASSERT_EQ(shownRow(window).toStdString(), step.row);
        EXPECT_EQ(rates(window), step.rates) << step.row;
        EXPECT_EQ(figures(window), step.figures) << step.row;
        EXPECT_EQ(note->isVisible(), step.noted) << step.row;
        if (step.noted)
            EXPECT_TRUE(note->text().contains("\"Huang Kuo-wei\" is not in the staff register"))
                << note->text().toStdString();
    }
    // A rate typed on such a month has no row to go to: refused, and no
    // one's rates change.
    QTest::keyClicks(field(window, "Text4"), "99");
    EXPECT_EQ(text(window, "Text4"), "");
    window->close();
    flushDeletes();
    EXPECT_EQ(db.query("SELECT * FROM \"Materials forms of staff\""), registerBefore);
}

// A monthly-paid employee's months: the monthly pay his wage rows record is
// in the subtotal and said beside it; a month without one says nothing.
// Worked by hand: December 50 x 4 h + 24000 = 24200, less 500 insurance.
TEST_F(SalaryTest, TheMonthlyPayTheWageRowsRecordIsInTheSubtotalAndSaid) {
    addStaff("Lee", 50, 60, "A004");
    const QStringList columns = {"Date",      "Serial numbers", "Name",
                                 "Main hour", "Insurance",      "Monthly pay"};
    db.insert(schema::kWages, columns,
              {"2002/11/1", "A004", "Lee", QVariant(), QVariant(), 24000.0});
    db.insert(schema::kWages, columns, {"2002/12/2", "A004", "Lee", QVariant(), 500.0, 24000.0});
    db.insert(schema::kWages, columns, {"2002/12/9", "A004", "Lee", 4.0, QVariant(), QVariant()});
    db.insert(schema::kWages, columns, {"2003/1/6", "A004", "Lee", 8.0, QVariant(), QVariant()});
    // Another employee of that name but another serial number is apart.
    db.insert(schema::kWages, columns,
              {"2003/2/3", "A004", "Lee", QVariant(), QVariant(), 25000.0});
    db.insert(schema::kWages, columns, {"2003/1/6", "A005", "Lee", QVariant(), QVariant(), 9000.0});
    auto* window = openSalaryWindow();
    window->show();
    auto* note = window->findChild<QLabel*>("Label15");
    const struct {
        const char* move;
        const char* row;
        const char* figures;
        const char* pay;  // in the note; empty: no note
    } steps[] = {
        {nullptr, "2002/11 Lee", "24000 0 24000", "24000"},
        {"Next", "2002/12 Lee", "24200 500 23700", "24000"},
        {"Next", "2003/1 Lee", "400 0 400", ""},
        {"Next", "2003/2 Lee", "25000 0 25000", "25000"},
        // The next two months differ in nothing but the monthly pay.
        {"Next", "2003/1 Lee", "9000 0 9000", "9000"},
        {"Previous", "2003/2 Lee", "25000 0 25000", "25000"},
        {"First", "2002/11 Lee", "24000 0 24000", "24000"},
    };
    for (const auto& step : steps) {
        if (step.move) pressBar(window, step.move);
        ASSERT_EQ(shownRow(window).toStdString(), step.row);
        EXPECT_EQ(figures(window).toStdString(), step.figures) << step.row;
        EXPECT_EQ(note->isVisible(), *step.pay != 0) << step.row;
        if (*step.pay)
            EXPECT_TRUE(note->text().contains(QStringLiteral("monthly pay of %1").arg(step.pay)))
                << note->text().toStdString();
    }
    EXPECT_TRUE(prompts.told.isEmpty()) << prompts.told.join("\n").toStdString();
}

TEST_F(SalaryTest, ARateChangedInTheRegisterPricesPastMonthsWhenOpenedAgain) {
    addExampleMonth();
    QPointer<salary::Form7> window = openSalaryWindow();
    ASSERT_EQ(figures(window), "13800 800 13000");
    window->close();
    flushDeletes();
    ASSERT_TRUE(window.isNull());

    db.exec("UPDATE \"Materials forms of staff\" SET \"Salary hour\" = 90 WHERE Name = 'Tovena'");
    window = openSalaryWindow();
    EXPECT_EQ(rates(window), "90 100");
    EXPECT_EQ(figures(window), "15400 800 14600");
    // The wage rows keep the rate they were paid at.
    EXPECT_EQ(db.scalar("SELECT MIN(\"Salary hour\") FROM \"The staff calculate wages\""),
              QVariant(80.0));
}

TEST_F(SalaryTest, ARateTypedHereIsStoredInTheRegisterOnClosing) {
    addExampleMonth();
    QPointer<salary::Form7> window = openSalaryWindow();
    window->show();
    QLineEdit* overtimeRate = field(window, "Text5");
    overtimeRate->selectAll();
    QTest::keyClicks(overtimeRate, "110");
    EXPECT_EQ(figures(window), "13900 800 13100");
    window->close();
    flushDeletes();
    EXPECT_TRUE(window.isNull());
    EXPECT_EQ(db.scalar("SELECT \"Overtime salary hour\" FROM \"Materials forms of staff\""),
              QVariant(110.0));
    EXPECT_TRUE(prompts.told.isEmpty()) << prompts.told.join("\n").toStdString();
}

TEST_F(SalaryTest, ARateThatIsNoNumberIsNeverLostOnClosing) {
    addExampleMonth();
    QPointer<salary::Form7> window = openSalaryWindow();
    window->show();
    QLineEdit* rate = field(window, "Text4");
    rate->selectAll();
    QTest::keyClicks(rate, "9O");
    // Asked, and No keeps the window with what was typed.
    prompts.yesNoAnswers.push_back(false);
    window->close();
    flushDeletes();
    ASSERT_FALSE(window.isNull());
    ASSERT_EQ(prompts.yesNoAsked.size(), 1u);
    EXPECT_EQ(text(window, "Text4"), "9O");

    rate->selectAll();
    QTest::keyClicks(rate, "90");
    window->close();
    flushDeletes();
    EXPECT_TRUE(window.isNull());
    EXPECT_EQ(db.scalar("SELECT \"Salary hour\" FROM \"Materials forms of staff\""),
              QVariant(90.0));
}

TEST_F(SalaryTest, TypingIntoAnEmptyMonthListIsRefused) {
    addStaff("Tovena", 80, 100);
    auto* window = openSalaryWindow();
    window->show();
    QTest::keyClicks(field(window, "Text13"), "5");
    EXPECT_EQ(text(window, "Text13"), "");
    EXPECT_EQ(figures(window), "0 0 0");
    EXPECT_EQ(prompts.told.size(), 1);
}

// The month rows are sums of the wage rows: typed totals show in the
// figures, are never stored, and the user hears so once at the next move or
// close, which goes ahead.
class SalaryReadOnlyTest : public SalaryTest {
protected:
    void SetUp() override {
        SalaryTest::SetUp();
        addExampleMonth();
        addWage({"2003/1/6", "Tovena", 8, 0, 0, 0});
        wagesBefore = db.query("SELECT * FROM \"The staff calculate wages\"");
    }
    void expectOneReadOnlyMessage() {
        ASSERT_EQ(prompts.told.size(), 1) << prompts.told.join("\n").toStdString();
        EXPECT_TRUE(prompts.told[0].startsWith(forms::programTitle() + "|"));
        EXPECT_TRUE(prompts.toldTexts[0].contains("cannot be edited"))
            << prompts.toldTexts[0].toStdString();
    }
    void expectNothingStored() {
        EXPECT_EQ(db.query("SELECT * FROM \"The staff calculate wages\""), wagesBefore);
    }
    std::vector<std::vector<QVariant>> wagesBefore;
};

TEST_F(SalaryReadOnlyTest, MovingOnTellsOnceMovesAndStoresNothing) {
    auto* window = openSalaryWindow();
    ASSERT_EQ(shownRow(window), "2002/12 Tovena");
    for (const char* name : {"Text13", "Text8"}) QTest::keyClick(field(window, name), Qt::Key_End);
    QTest::keyClicks(field(window, "Text13"), "0");
    QTest::keyClicks(field(window, "Text8"), "1");
    EXPECT_EQ(figures(window), "129000 6201 122799");
    pressBar(window, "Next");
    expectOneReadOnlyMessage();
    EXPECT_EQ(shownRow(window), "2003/1 Tovena");
    expectNothingStored();

    pressBar(window, "Previous");
    EXPECT_EQ(text(window, "Text13"), "160");
    EXPECT_EQ(figures(window), "13800 800 13000");
    EXPECT_EQ(prompts.told.size(), 1);
}

TEST_F(SalaryReadOnlyTest, ClosingTellsOnceAndCloses) {
    QPointer<salary::Form7> window = openSalaryWindow();
    window->show();
    QTest::keyClicks(field(window, "Text9"), "9");
    window->close();
    flushDeletes();
    expectOneReadOnlyMessage();
    EXPECT_TRUE(window.isNull());
    EXPECT_EQ(FormWindow::find("Form7"), nullptr);
    expectNothingStored();
}

TEST_F(SalaryReadOnlyTest, StepBackAfterTypingTellsOnceAndStillSteps) {
    auto* window = openSalaryWindow();
    pressBar(window, "Last");
    ASSERT_EQ(shownRow(window), "2003/1 Tovena");
    QTest::keyClicks(field(window, "Text6"), "5");
    button(window, "Command1")->click();
    expectOneReadOnlyMessage();
    EXPECT_EQ(shownRow(window), "2002/12 Tovena");
    expectNothingStored();
}

TEST_F(SalaryReadOnlyTest, TheTitleFieldIsNoTotal) {
    auto* window = openSalaryWindow();
    EXPECT_EQ(text(window, "Text12"), "Staff's salary settlement of  every month");
    field(window, "Text12")->setText("Tovena, December");
    pressBar(window, "Next");
    EXPECT_TRUE(prompts.told.isEmpty());
    EXPECT_EQ(text(window, "Text12"), "Tovena, December");
}

}  // namespace
}  // namespace salary_tests
