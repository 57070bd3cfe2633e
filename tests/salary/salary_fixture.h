// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>

#include "forms/data_control.h"
#include "forms/data_grid.h"
#include "forms/form_window.h"
#include "ledger/records/record_source.h"
#include "ledger/schema/schema.h"
#include "ledger/store/source_info.h"
#include "salary/detail_query.h"
#include "salary/salary_window.h"
#include "salary/salary_windows.h"
#include "salary/wage_detail_grid.h"
#include "support/scripted_prompts.h"
#include "support/temp_database.h"
#include "support/window_test.h"

namespace salary_tests {

using forms::FormWindow;
namespace schema = ledger::schema;

// One day's wage row, as the wage window stores it.
struct WageDay {
    QString date;
    QString name;
    double mainHour = 0;
    double overtime = 0;
    double insurance = 0;
    double absentDeduct = 0;
};

// The salary window and the grid over real staff and wage rows: the month
// rows come from the database's own saved queries, as in the shop.
class SalaryTest : public WindowTest {
protected:
    void SetUp() override {
        salary::registerWindows();
        salary::setDetailQueryText({});
    }

    void TearDown() override {
        WindowTest::TearDown();
        salary::setDetailQueryText({});
    }

    void addStaff(const QString& name, double salaryHour, double overtimeRate,
                  const QString& serial = QStringLiteral("A001")) {
        db.insert(schema::kStaff,
                  {"Serial numbers", "Name", "Password", "Salary hour", "Overtime salary hour"},
                  {serial, name, QStringLiteral("pw"), salaryHour, overtimeRate});
    }

    void addWage(const WageDay& day, const QString& serial = QStringLiteral("A001")) {
        db.insert(
            schema::kWages,
            {"Date", "Serial numbers", "Name", "Salary hour", "Overtime salary hour", "Main hour",
             "Work overtime", "Ask for leave", "Absent", "Insurance", "Absent-Deduct"},
            {day.date, serial, day.name, 80.0, 100.0, day.mainHour, day.overtime,
             QStringLiteral("No"), QStringLiteral("No"), day.insurance, day.absentDeduct});
    }

    // The shop's example: Tovena at 80 an hour and 100 an overtime hour,
    // December 2002 summing to 160 hours, 10 overtime hours, 600 insurance
    // and 200 absence deductions over two days.
    void addExampleMonth() {
        addStaff("Tovena", 80, 100);
        addWage({"2002/12/2", "Tovena", 100, 6, 600, 0});
        addWage({"2002/12/9", "Tovena", 60, 4, 0, 200});
    }

    QVariant count(const QString& table) const {
        return db.scalar(QStringLiteral("SELECT COUNT(*) FROM %1").arg(ledger::quoteName(table)));
    }

    salary::Form7* openSalaryWindow() {
        auto* window = qobject_cast<salary::Form7*>(FormWindow::loadWindow("Form7"));
        EXPECT_NE(window, nullptr);
        return window;
    }

    static salary::Form9* gridWindow() {
        return qobject_cast<salary::Form9*>(FormWindow::find("Form9"));
    }

    // "Detail" on the salary window, answering its two prompts.
    void pressDetail(QWidget* window, const QString& month, const QString& name) {
        prompts.inputAnswers.push_back(month);
        prompts.inputAnswers.push_back(name);
        button(window, "Command3")->click();
    }

    // The month bar (Data2).
    static void pressBar(QWidget* window, const char* which) {
        WindowTest::pressBar(window, QString::fromLatin1(which), QStringLiteral("Data2"));
    }

    // Month and name of the row the salary window shows.
    static QString shownRow(QWidget* window) {
        return text(window, "Text1") + " " + text(window, "Text3");
    }
    // Salary hour, overtime rate; Subtotal, deductions, salary.
    static QString rates(QWidget* window) {
        return text(window, "Text4") + " " + text(window, "Text5");
    }
    static QString figures(QWidget* window) {
        return text(window, "Label12") + " " + text(window, "Label14") + " " +
               text(window, "Label13");
    }

    // Every line of the grid below its heading, cells joined by "|",
    // without the empty fixed column.
    static QStringList gridLines(const salary::Form9* grid) {
        QStringList lines;
        const forms::DataGrid* cells = grid->grid();
        for (int row = 1; row < cells->gridRows(); ++row) {
            QStringList line;
            for (int column = 1; column < cells->gridColumns(); ++column)
                line << cells->cellText(row, column);
            lines << line.join('|');
        }
        return lines;
    }
    static QStringList gridDates(const salary::Form9* grid) {
        QStringList dates;
        for (int row = 1; row < grid->grid()->gridRows(); ++row)
            dates << grid->grid()->cellText(row, 1);
        return dates;
    }
    static QStringList gridNames(const salary::Form9* grid) {
        QStringList names;
        for (int row = 1; row < grid->grid()->gridRows(); ++row)
            names << grid->grid()->cellText(row, 2);
        return names;
    }
    static QStringList heading(const salary::Form9* grid) {
        QStringList cells;
        for (int column = 0; column < grid->grid()->gridColumns(); ++column)
            cells << grid->grid()->cellText(0, column);
        return cells;
    }
};

}  // namespace salary_tests
