// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

#include "daily/daily_windows.h"
#include "daily/screen_density.h"
#include "forms/bound_combo.h"
#include "forms/bound_line_edit.h"
#include "forms/data_control.h"
#include "forms/form_window.h"
#include "forms/layout_units.h"
#include "ledger/records/record_source.h"
#include "ledger/schema/schema.h"
#include "ledger/store/source_info.h"
#include "staff/staff_register.h"
#include "staff/staff_windows.h"
#include "staff/wage_window.h"
#include "support/scripted_prompts.h"
#include "support/temp_database.h"
#include "support/window_test.h"

namespace staff_tests {

using forms::FormWindow;
namespace schema = ledger::schema;

// The wage window and the staff register with the program's own daily
// window, on a temporary database, with scripted prompts.
class StaffTest : public WindowTest {
protected:
    void SetUp() override {
        staff::registerWindows();
        daily::registerWindows();
        forms::setScreenDpiForTesting(96);
        daily::setScreenDensityForTesting(100);
    }

    // --- rows set up straight in the file -------------------------------

    qint64 addEmployee(const QString& name, const QString& serial, const QVariant& salaryHour,
                       const QVariant& overtimeSalaryHour, const QVariant& monthlyPay = {}) {
        return db.insert(schema::kStaff,
                         {"Name", "Serial numbers", "Salary hour", "Overtime salary hour",
                          "Monthly pay", "Password"},
                         {name, serial, salaryHour, overtimeSalaryHour, monthlyPay, "pw"});
    }

    qint64 addDay(const QString& day, const QVariant& personnelRate) {
        return db.insert(schema::kLedger, {"Date", "Personnel rate"}, {day, personnelRate});
    }

    qint64 addWage(const QString& day, const QString& name, double salaryHour, double mainHour) {
        return db.insert(schema::kWages, {"Date", "Name", "Salary hour", "Main hour"},
                         {day, name, salaryHour, mainHour});
    }

    QVariant stored(const QString& table, qint64 row, const QString& column) const {
        return db.scalar(QStringLiteral("SELECT %1 FROM %2 WHERE rowid = %3")
                             .arg(ledger::quoteName(column), ledger::quoteName(table))
                             .arg(row));
    }

    qint64 wageRowCount() const {
        return db.scalar("SELECT COUNT(*) FROM " + ledger::quoteName(schema::kWages)).toLongLong();
    }

    // The newest wage row, column by column (the file's own order).
    QVariant lastWage(const QString& column) const {
        return db.scalar(QStringLiteral("SELECT %1 FROM %2 ORDER BY rowid DESC LIMIT 1")
                             .arg(ledger::quoteName(column), ledger::quoteName(schema::kWages)));
    }

    // --- the windows, driven the way a user drives them -----------------

    // The daily window as the login leaves it, on its first day (if any).
    FormWindow* openDaily() {
        FormWindow* main = FormWindow::loadWindow("Form1");
        main->show();
        return main;
    }

    // The daily window on a day, reached with its own Inquiry.
    FormWindow* openDailyOn(const QString& day) {
        FormWindow* main = FormWindow::loadWindow("Form1");
        main->show();
        prompts.inputAnswers.push_back(day);
        button(main, "Command1")->click();
        EXPECT_EQ(field(main, "Text2")->text(), day);
        return main;
    }

    // "The staff calculate wages" in the daily window.
    staff::Form5* openWageWindow(FormWindow* main) {
        button(main, "Command8")->click();
        auto* wages = qobject_cast<staff::Form5*>(FormWindow::find("Form5"));
        EXPECT_NE(wages, nullptr);
        return wages;
    }

    // Picks a name in the wage window's list (the entry at `index`, or the
    // first entry of that name, or else types it) and releases the mouse
    // over it: the staff register opens at that employee.
    staff::Form6* pickEmployee(QWidget* wages, const QString& name, int index = -1) {
        auto* names = list(wages, "DBCombo1");
        const int at = index >= 0 ? index : names->findText(name);
        if (at >= 0)
            names->setCurrentIndex(at);
        else
            names->setEditText(name);
        QTest::mouseClick(names->lineEdit(), Qt::LeftButton);
        auto* reg = qobject_cast<staff::Form6*>(FormWindow::find("Form6"));
        EXPECT_NE(reg, nullptr);
        return reg;
    }

    // New, a name, Login in the register (ticking its box first if asked).
    void beginWageFor(QWidget* wages, const QString& name, bool monthlyPay = false) {
        button(wages, "Command3")->click();
        staff::Form6* reg = pickEmployee(wages, name);
        ASSERT_NE(reg, nullptr);
        if (monthlyPay) reg->findChild<QCheckBox*>("Check1")->click();
        button(reg, "Command1")->click();
        flushDeletes();
        ASSERT_EQ(FormWindow::find("Form6"), nullptr);
    }

    // A choice in a yes / no list, as the drop-down makes it.
    static void choose(QWidget* window, const char* listName, const QString& entry) {
        auto* choices = list(window, listName);
        const int at = choices->findText(entry);
        ASSERT_GE(at, 0) << entry.toStdString();
        choices->setCurrentIndex(at);
        Q_EMIT choices->activated(at);
    }

    static void type(QWidget* window, const char* fieldName, const QString& keys) {
        QTest::keyClicks(field(window, fieldName), keys);
    }

    // The window's own controls in keyboard order, from the first on.
    static QStringList focusOrder(QWidget* first, qsizetype count) {
        QStringList order = {first->objectName()};
        QWidget* at = first;
        while (order.size() < count) {
            do at = at->nextInFocusChain();
            while (at->focusPolicy() == Qt::NoFocus || at->objectName().isEmpty() ||
                   at->parentWidget() != first->parentWidget());
            order << at->objectName();
        }
        return order;
    }

    // The seven figures, Label19 ... Label25.
    static QStringList figures(QWidget* wages) {
        QStringList out;
        for (int n = 19; n <= 25; ++n)
            out << text(wages, QStringLiteral("Label%1").arg(n).toLatin1().constData());
        return out;
    }
};

}  // namespace staff_tests
