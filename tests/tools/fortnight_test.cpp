// SPDX-License-Identifier: GPL-3.0-or-later
// A fortnight of a small shop, worked by hand, read back from every place an
// owner reads it: the daily window, the month sheet, the salary window, the
// wage detail grid and its print, the year at a glance and the four exports.
//
// Ten business days, 2026/12/1 to 2026/12/10. Each day: turnover 600 + 10 x
// day, bread 40, rent 100 and, as Personnel rate, the day's wages. Cash
// counted is the cash subtotal (turnover - purchases = 560 + 10 x day),
// except on the 7th, 25 short. Three staff, thirty wage rows:
// - Marta (80 / 100 an hour): 8 hours a day, 1 overtime hour on even days:
//   640 or 740 a day, 6900 in all.
// - Huang Kuo-wei (82 / 105): 6 hours a day, 492; renamed "Huang Kuowei" in
//   the register after the 5th, so his rows of the 1st to the 5th bear the
//   old name (no register row: no salary) and the 6th to the 10th the new
//   one (30 hours: 2460).
// - Lee (50 / 60), paid by the month: 24000 on the 1st, his other nine days
//   with no hours.
// Personnel rate: the 1st 640 + 492 + 24000 = 25132, odd days 1132, even
// days 1232; 35820 in all. Each day's settlement total is the cash subtotal
// less rent and personnel: 460 + 10 x day - personnel; the month's is 6150 -
// 1000 - 35820 = -30670.

#include <gtest/gtest.h>

#include <QDate>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include "accountant/exports.h"
#include "charts/figures/books_at_a_glance.h"
#include "csv_reader.h"
#include "daily/daily_window.h"
#include "daily/daily_windows.h"
#include "forms/data_grid.h"
#include "forms/form_window.h"
#include "forms/window_printer.h"
#include "forms/workspace.h"
#include "ledger/records/record_source.h"
#include "ledger/schema/schema.h"
#include "ledger/store/store.h"
#include "monthly/monthly_windows.h"
#include "salary/detail_query.h"
#include "salary/salary_windows.h"
#include "salary/wage_detail_grid.h"
#include "support/window_test.h"

namespace {

namespace schema = ledger::schema;

double personnelOf(int day) { return day == 1 ? 25132 : day % 2 ? 1132 : 1232; }
double settlementOf(int day) { return 460 + 10 * day - personnelOf(day); }

// A map's entries as "key=value|...", in key order, for a readable failure.
std::string shown(const std::map<QString, QString>& entries) {
    QStringList lines;
    for (const auto& [key, value] : entries) lines << key + "=" + value;
    return lines.join('|').toStdString();
}

class Fortnight : public WindowTest {
protected:
    void SetUp() override {
        daily::registerWindows();
        monthly::registerWindows();
        salary::registerWindows();
        salary::setDetailQueryText({});
        forms::setForcePdfForTesting(true);
        forms::setPdfFallbackFolder(pages.path());
        addStaff("A001", "Marta", 80, 100);
        addStaff("A002", "Huang Kuowei", 82, 105);
        addStaff("A003", "Lee", 50, 60);
        for (int day = 1; day <= 10; ++day) {
            const QString date = QStringLiteral("2026/12/%1").arg(day);
            const double cash = 560 + 10 * day;
            keys[day] = addDay(date, {{"Turnover", 600 + 10 * day},
                                      {"Bread trader", 40},
                                      {"Rent", 100},
                                      {"Personnel rate", personnelOf(day)},
                                      {"Accept cashes in fact", day == 7 ? cash - 25 : cash}});
            addWage(date, "A001", "Marta", 80, 100, 8, day % 2 ? 0 : 1, {});
            addWage(date, "A002", day <= 5 ? "Huang Kuo-wei" : "Huang Kuowei", 82, 105, 6, 0, {});
            addWage(date, "A003", "Lee", 50, 60, {}, {}, day == 1 ? QVariant(24000.0) : QVariant());
        }
    }
    void TearDown() override {
        forms::setForcePdfForTesting(false);
        forms::setPdfFallbackFolder({});
        WindowTest::TearDown();
    }

    void addStaff(const QString& serial, const QString& name, double hour, double overtime) {
        db.insert(schema::kStaff,
                  {"Serial numbers", "Name", "Password", "Salary hour", "Overtime salary hour"},
                  {serial, name, QStringLiteral("pw"), hour, overtime});
    }
    void addWage(const QString& date, const QString& serial, const QString& name, double hour,
                 double overtimeRate, const QVariant& main, const QVariant& overtime,
                 const QVariant& monthlyPay) {
        db.insert(schema::kWages,
                  {"Date", "Serial numbers", "Name", "Salary hour", "Overtime salary hour",
                   "Main hour", "Work overtime", "Ask for leave", "Absent", "Monthly pay"},
                  {date, serial, name, hour, overtimeRate, main, overtime, QStringLiteral("No"),
                   QStringLiteral("No"), monthlyPay});
    }

    // One export's records by its file, header first.
    std::map<QString, std::vector<QStringList>> exports() {
        const QStringList lines =
            accountant::exportAllInto(db.path(), out.path(), QDate(2026, 12, 11));
        EXPECT_EQ(lines.size(), 4) << lines.join('\n').toStdString();
        std::map<QString, std::vector<QStringList>> byKind;
        for (const QString& kind : {"days", "months", "wages", "salaries"}) {
            QFile file(out.filePath(kind + "-2026-12-11.csv"));
            EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << kind.toStdString();
            byKind[kind] = readCsv(file.readAll()).records;
        }
        return byKind;
    }
    static QString cell(const std::vector<QStringList>& records, size_t row, const QString& name) {
        const qsizetype at = records.front().indexOf(name);
        EXPECT_GE(at, 0) << name.toStdString() << " in " << records.front().join('|').toStdString();
        return records.at(row).value(at);
    }

    QTemporaryDir pages, out;
    std::map<int, qint64> keys;
};

TEST_F(Fortnight, EveryPlaceAnOwnerReadsAgreesWithTheFiguresWorkedByHand) {
    // The daily window on the short day and on the monthly pay's day.
    auto* day = qobject_cast<daily::Form1*>(forms::FormWindow::loadWindow("Form1"));
    ASSERT_NE(day, nullptr);
    for (const int shown : {7, 1}) {
        day->showDay(ledger::Bookmark{keys[shown]});
        EXPECT_EQ(text(day, "Text2"), QStringLiteral("2026/12/%1").arg(shown));
        EXPECT_EQ(text(day, "Label42"), QString::number(560 + 10 * shown));
        EXPECT_EQ(text(day, "Label43"), shown == 7 ? "-25" : "0");
        EXPECT_EQ(text(day, "Label44"), QString::number(settlementOf(shown)));
    }

    // The month sheet: administration, purchases, turnover, cash,
    // difference, total.
    auto* month = forms::FormWindow::loadWindow("Form4");
    ASSERT_NE(month, nullptr);
    prompts.inputAnswers.push_back("12/2026");
    button(month, "Command1")->click();
    EXPECT_EQ(text(month, "Label36"), "36820");
    EXPECT_EQ(text(month, "Label37"), "400");
    EXPECT_EQ(text(month, "Label38"), "6550");
    EXPECT_EQ(text(month, "Label41"), "6150");
    EXPECT_EQ(text(month, "Label42"), "-25");
    EXPECT_EQ(text(month, "Label43"), "-30670");

    // The salary window, month by month: subtotal, deductions, salary.
    auto* salaries = forms::FormWindow::loadWindow("Form7");
    ASSERT_NE(salaries, nullptr);
    std::map<QString, QString> salaryOf;  // by month and name: subtotal and salary
    pressBar(salaries, "First", "Data2");
    for (int n = 0; n < 4; ++n) {
        salaryOf[text(salaries, "Text1") + " " + text(salaries, "Text3")] =
            text(salaries, "Label12") + " " + text(salaries, "Label13");
        pressBar(salaries, "Next", "Data2");
    }
    EXPECT_EQ(shown(salaryOf),
              "2026/12 Huang Kuo-wei= |2026/12 Huang Kuowei=2460 2460|"
              "2026/12 Lee=24000 24000|2026/12 Marta=6900 6900");

    // The detail grid of the month and its print: thirty rows whose wages
    // are the month's Personnel rate.
    prompts.inputAnswers.push_back("2026/12");
    prompts.inputAnswers.push_back("");
    button(salaries, "Command3")->click();
    auto* grid = qobject_cast<salary::Form9*>(forms::FormWindow::find("Form9"));
    ASSERT_NE(grid, nullptr);
    EXPECT_EQ(grid->grid()->gridRows(), 31);
    button(grid, "Command2")->click();
    const QStringList printed = QDir(pages.path()).entryList({"*.pdf"});
    ASSERT_EQ(printed.size(), 1);
    if (const QString look = qEnvironmentVariable("TALLOWBROOK_SNAPSHOT_DIR"); !look.isEmpty())
        QFile::copy(QDir(pages.path()).filePath(printed[0]), look + "/fortnight-detail.pdf");
    QProcess pdfText;
    pdfText.start("pdftotext", {"-layout", QDir(pages.path()).filePath(printed[0]), "-"});
    ASSERT_TRUE(pdfText.waitForFinished(30000));
    const QString print = QString::fromUtf8(pdfText.readAllStandardOutput());
    EXPECT_TRUE(print.contains(QRegularExpression("Total +30 rows +140 +5 +0 +0 +35820")))
        << print.toStdString();

    // The year at a glance: December's settlement total, and its wages
    // agreeing with the days' Personnel rate.
    auto store = ledger::openStore(ledger::Connection{db.path()});
    const auto books = charts::BooksAtAGlance::read(*store);
    const auto months = books.monthsOf(2026);
    ASSERT_EQ(months.size(), 1u);
    EXPECT_EQ(months[0].settlementTotal(), -30670);
    EXPECT_EQ(months[0].income(), 6550);
    const auto wages = books.wagesOf(2026);
    ASSERT_EQ(wages.size(), 1u);
    EXPECT_EQ(wages[0].check.wages, 35820);
    EXPECT_EQ(wages[0].check.booked, 35820);
    EXPECT_EQ(wages[0].check.wageRows, 30);
    EXPECT_FALSE(wages[0].check.differs());

    // The four exports.
    auto exported = exports();
    const auto& days = exported["days"];
    ASSERT_EQ(days.size(), 11u);
    for (int n = 1; n <= 10; ++n) {
        EXPECT_EQ(cell(days, n, "Settlement total of every day"), QString::number(settlementOf(n)));
        EXPECT_EQ(cell(days, n, "Difference"), n == 7 ? "-25" : "0");
    }
    const auto& monthRows = exported["months"];
    ASSERT_EQ(monthRows.size(), 2u);
    EXPECT_EQ(cell(monthRows, 1, "Month"), "2026-12");
    EXPECT_EQ(cell(monthRows, 1, "Turnover"), "6550");
    EXPECT_EQ(cell(monthRows, 1, "Personnel rate"), "35820");
    EXPECT_EQ(cell(monthRows, 1, "Accept cashes in fact"), "6125");
    const auto& wageRows = exported["wages"];
    ASSERT_EQ(wageRows.size(), 31u);
    double monthlyPays = 0;
    for (size_t n = 1; n < wageRows.size(); ++n)
        monthlyPays += cell(wageRows, n, "Monthly pay").toDouble();
    EXPECT_EQ(monthlyPays, 24000);
    std::map<QString, QString> exportedSalary;
    const auto& salaryRows = exported["salaries"];
    for (size_t n = 1; n < salaryRows.size(); ++n)
        exportedSalary[salaryRows[n][0]] = salaryRows[n].last();
    EXPECT_EQ(shown(exportedSalary), "Huang Kuo-wei=|Huang Kuowei=2460|Lee=24000|Marta=6900");
}

}  // namespace
