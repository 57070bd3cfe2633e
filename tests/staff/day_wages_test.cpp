// SPDX-License-Identifier: GPL-3.0-or-later
// The wages of a day typed in one sheet: stored with their day at once and
// counted once, refused whole, counted beside another till's, each wage as
// the wage window computes it, and never left unasked.

#include "staff/day_wages.h"

#include <QKeySequence>
#include <QProcess>

#include "staff/day_wage_sheet.h"
#include "staff_fixture.h"

namespace staff_tests {
namespace {

const QString kDay = QStringLiteral("2002/2/12");

class DayWagesTest : public StaffTest {
protected:
    void SetUp() override {
        StaffTest::SetUp();
        addEmployee("Tovena", "S1", 80, 100);
        addEmployee("Marel", "S2", 50, 60);
        addEmployee("Quill", "S3", 10.25, 12, 3000);
        // Gone before the day: no row for him. Leaving on the day: still there.
        db.insert(schema::kStaff, {"Name", "Salary hour", "Leave office on day"},
                  {"Gone", 99, "2002/2/11"});
        db.insert(schema::kStaff, {"Name", "Salary hour", "Leave office on day"},
                  {"Leaving", 20, "2002/2/12"});
    }

    // Ctrl+D in the daily window.
    staff::DayWages* openDayWages(FormWindow* main) {
        main->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(main));
        QTest::keySequence(main, QKeySequence(Qt::CTRL | Qt::Key_D));
        auto* window = qobject_cast<staff::DayWages*>(FormWindow::find("DayWages"));
        EXPECT_NE(window, nullptr);
        return window;
    }

    static int rowOf(staff::DayWages* window, const QString& name, bool stored = false) {
        const staff::DayWageSheet* sheet = window->sheet();
        for (int i = 0; i < sheet->rowCount(); ++i)
            if (sheet->row(i).name == name && sheet->row(i).stored == stored) return i;
        return -1;
    }

    // Main hours typed down the column, Enter after each, without the mouse.
    static void typeMainHours(staff::DayWages* window, const QStringList& hours) {
        window->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(window));
        window->findChild<QWidget*>("WageRows")->setFocus();
        for (const QString& h : hours) {
            QTest::keyClicks(QApplication::focusWidget(), h);
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
            QCoreApplication::processEvents();  // the cell's editor closes after the key
        }
    }

    static void set(staff::DayWages* window, int row, int column, const QVariant& value,
                    int role = Qt::EditRole) {
        staff::DayWageSheet* sheet = window->sheet();
        ASSERT_TRUE(sheet->setData(sheet->index(row, column), value, role));
    }

    QVariant personnelRate(qint64 day) const {
        return stored(schema::kLedger, day, "Personnel rate");
    }
};

TEST_F(DayWagesTest, ADayOfThreeWagesIsStoredAtOnceAndCountedOnce) {
    const qint64 day = addDay(kDay, 100);
    FormWindow* main = openDailyOn(kDay);
    staff::DayWages* window = openDayWages(main);
    ASSERT_NE(window, nullptr);
    QStringList names;
    for (int i = 0; i < window->sheet()->rowCount(); ++i) names << window->sheet()->row(i).name;
    EXPECT_EQ(names, QStringList({"Tovena", "Marel", "Quill", "Leaving"}));

    // 80 x 8 = 640, 50 x 6 = 300, 10.25 x 4 = 41: 981 in all. The last
    // figure is still being typed when Ctrl+S saves: it counts.
    typeMainHours(window, {"8", "6"});
    EXPECT_EQ(text(window, "Total"), "940");
    QTest::keyClicks(QApplication::focusWidget(), "4");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_S, Qt::ControlModifier);
    QCoreApplication::processEvents();
    EXPECT_TRUE(prompts.toldTexts.isEmpty()) << prompts.toldTexts.join("\n").toStdString();
    EXPECT_EQ(personnelRate(day), QVariant(1081.0));
    EXPECT_EQ(text(main, "Text7"), "1081");
    EXPECT_EQ(wageRowCount(), 3);
    EXPECT_EQ(db.scalar("SELECT count(*) FROM \"The staff calculate wages\" WHERE Date = "
                        "'2002/2/12' AND \"Serial numbers\" = 'S2' AND \"Main hour\" = 6")
                  .toLongLong(),
              1);
    // Shown as stored; a second Save has nothing more to add.
    EXPECT_GE(rowOf(window, "Marel", true), 0);
    EXPECT_TRUE(window->sheet()->typedRows().empty());
    button(window, "Save")->click();
    EXPECT_EQ(personnelRate(day), QVariant(1081.0));
    EXPECT_EQ(wageRowCount(), 3);
}

// Save refused: no wage row is stored and the day keeps its figure.
enum class Before { AnotherDayShown, HoursAnsweredNo, FigureNotANumber, RateNotANumber };

struct RefusalCase {
    const char* what;
    Before before;
    const char* said;  // in the message, or in the question answered No
};

void PrintTo(const RefusalCase& c, std::ostream* out) { *out << c.what; }

class DayWagesRefused : public DayWagesTest, public ::testing::WithParamInterface<RefusalCase> {};

TEST_P(DayWagesRefused, StoresNothing) {
    const RefusalCase& c = GetParam();
    addDay("2002/2/11", 5);
    const qint64 day = addDay(kDay, 100);
    FormWindow* main = openDailyOn(kDay);
    staff::DayWages* window = openDayWages(main);
    set(window, rowOf(window, "Tovena"), staff::kMainHourColumn, "8");
    set(window, rowOf(window, "Marel"), staff::kMainHourColumn,
        c.before == Before::HoursAnsweredNo ? "30" : "6");
    if (c.before == Before::FigureNotANumber) {
        set(window, rowOf(window, "Quill"), staff::kMainHourColumn, "4");
        set(window, rowOf(window, "Quill"), staff::kInsuranceColumn, "3x");
    }
    if (c.before == Before::AnotherDayShown) pressBar(main, "First");
    if (c.before == Before::RateNotANumber) field(main, "Text7")->setText("12abc");
    if (c.before == Before::HoursAnsweredNo) prompts.yesNoAnswers = {false};
    button(window, "Save")->click();

    QString said = prompts.toldTexts.join("\n");
    for (const auto& asked : prompts.defaultNoAsked) said += asked.message;
    EXPECT_TRUE(said.contains(c.said)) << said.toStdString();
    EXPECT_EQ(wageRowCount(), 0);
    EXPECT_EQ(personnelRate(day), QVariant(100.0));
    EXPECT_EQ(window->sheet()->typedRows().size(), c.before == Before::FigureNotANumber ? 3u : 2u);
    prompts.choiceAnswers = {"Give them up"};
}

const RefusalCase kRefusals[] = {
    {"another day shown", Before::AnotherDayShown,
     "but the daily settlement window shows the day 2002/2/11"},
    {"30 hours answered No", Before::HoursAnsweredNo, "The wage of 1500 for Marel has 30 hours"},
    {"a figure not a number", Before::FigureNotANumber, "The Insurance of Quill, \"3x\""},
    {"the day's rate not a number", Before::RateNotANumber, "holds \"12abc\", which is not"},
};

INSTANTIATE_TEST_SUITE_P(Cases, DayWagesRefused, ::testing::ValuesIn(kRefusals));

TEST_F(DayWagesTest, TwoTillsBookingWagesOfOneDayBothCount) {
    const qint64 day = addDay(kDay, 512);
    FormWindow* main = openDailyOn(kDay);
    staff::DayWages* window = openDayWages(main);
    set(window, rowOf(window, "Tovena"), staff::kMainHourColumn, "8");
    set(window, rowOf(window, "Marel"), staff::kMainHourColumn, "2");
    QProcess till;
    till.start(QStringLiteral(WAGE_TILL_PROBE), {db.path(), kDay, "77"});
    ASSERT_TRUE(till.waitForFinished(30000));
    ASSERT_EQ(QString::fromUtf8(till.readAllStandardOutput()).trimmed(), "stored");

    button(window, "Save")->click();
    EXPECT_TRUE(prompts.toldTexts.isEmpty()) << prompts.toldTexts.join("\n").toStdString();
    EXPECT_EQ(personnelRate(day), QVariant(512.0 + 77 + 640 + 100));
    EXPECT_EQ(wageRowCount(), 3);
    // The other till's wage is one of the day's stored wages here now.
    EXPECT_EQ(window->sheet()->rowCount(), 3 + 4);
}

// The wage follows its row as the wage window's does: Salary hour x Main
// hour + Overtime salary hour x Work overtime - (Insurance +
// Absent-Deduct), the monthly pay while the box holds, 0 hours on leave.
struct LiveCase {
    const char* who;
    std::vector<std::pair<int, QString>> typed;  // column, text; a column of -1 ticks the box
    const char* wage;
    const char* total;
};

TEST_F(DayWagesTest, EachWageFollowsItsRowByTheWageWindowsRule) {
    using namespace staff;
    const LiveCase cases[] = {
        {"Tovena",
         {{kMainHourColumn, "8"}, {kWorkOvertimeColumn, "2"}, {kInsuranceColumn, "30"}},
         "810",
         "810"},
        {"Quill", {{kMainHourColumn, "10"}}, "102.5", "102"},  // ties to even when added
        {"Quill", {{kMainHourColumn, "10"}, {kAbsentDeductColumn, "1"}}, "101.5", "102"},
        {"Tovena",
         {{kMainHourColumn, "8"}, {kInsuranceColumn, "30"}, {kAskForLeaveColumn, "Yes"}},
         "-30",
         "-30"},
        {"Quill", {{-1, ""}}, "3000", "3000"},
        {"Quill", {{-1, ""}, {kMainHourColumn, "2"}}, "20.5", "20"},  // hours give it up
        {"Marel", {{kMainHourColumn, "abc"}}, "0", "0"},
    };
    addDay(kDay, 0);
    FormWindow* main = openDailyOn(kDay);
    for (const LiveCase& c : cases) {
        staff::DayWages* window = openDayWages(main);
        const int row = rowOf(window, c.who);
        for (const auto& [column, value] : c.typed)
            if (column < 0)
                set(window, row, kMonthlyPayColumn, Qt::Checked, Qt::CheckStateRole);
            else
                set(window, row, column, value);
        EXPECT_EQ(window->sheet()->index(row, kWageColumn).data().toString(), c.wage) << c.who;
        EXPECT_EQ(text(window, "Total"), c.total) << c.who;
        prompts.choiceAnswers = {"Give them up"};
        window->close();
        flushDeletes();
    }
}

TEST_F(DayWagesTest, ClosingWithTypedWagesAsksAndStaysByDefault) {
    addDay(kDay, 100);
    FormWindow* main = openDailyOn(kDay);
    staff::DayWages* window = openDayWages(main);
    window->close();  // nothing typed: nothing asked
    flushDeletes();
    EXPECT_TRUE(prompts.choicesAsked.empty());
    window = openDayWages(main);
    set(window, rowOf(window, "Marel"), staff::kMainHourColumn, "6");
    prompts.choiceAnswers = {"Stay"};
    window->close();
    flushDeletes();
    ASSERT_EQ(prompts.choicesAsked.size(), 1u);
    EXPECT_EQ(prompts.choicesAsked[0].defaultButton, "Stay");
    EXPECT_EQ(FormWindow::find("DayWages"), window);
    EXPECT_EQ(wageRowCount(), 0);
    prompts.choiceAnswers = {"Give them up"};
}

}  // namespace
}  // namespace staff_tests
