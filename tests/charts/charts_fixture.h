// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <gtest/gtest.h>

#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QLabel>
#include <QSpinBox>
#include <map>

#include "charts/charts_windows.h"
#include "charts/year_at_a_glance.h"
#include "daily/daily_windows.h"
#include "daily/screen_density.h"
#include "forms/form_window.h"
#include "interfaces/window_names.h"
#include "ledger/amount/amount.h"
#include "ledger/schema/schema.h"
#include "ledger/store/source_info.h"
#include "monthly/monthly_windows.h"
#include "support/window_test.h"

namespace chart_tests {

using forms::FormWindow;
namespace schema = ledger::schema;

// A day's figures worked out here from its stored amounts, with plain
// arithmetic, to hold the pictures against.
struct DayExpected {
    QString date;
    double administration = 0, expenditure = 0, turnover = 0, small = 0, accepted = 0;

    double income() const { return turnover + small; }
    // The cash subtotal is the turnover less the expenditure; the total
    // deducts the administration from it.
    double difference() const { return accepted - (turnover - expenditure); }
    double settlementTotal() const { return turnover - expenditure - administration; }
};

class ChartsTest : public WindowTest {
protected:
    void SetUp() override {
        charts::registerWindows();
        monthly::registerWindows();
        daily::registerWindows();
        daily::setScreenDensityForTesting(100);
    }
    void TearDown() override {
        WindowTest::TearDown();
        daily::setScreenDensityForTesting(0);
    }

    static charts::YearAtAGlance* openCharts() {
        auto* window =
            qobject_cast<charts::YearAtAGlance*>(FormWindow::loadWindow(windows::kYearAtAGlance));
        EXPECT_NE(window, nullptr);
        if (window) window->show();
        return window;
    }

    static QString notes(const QWidget* window) {
        auto* label = window->findChild<QLabel*>("notes");
        return label && label->isVisibleTo(const_cast<QWidget*>(window)) ? label->text()
                                                                         : QString();
    }
    static QString details(const QWidget* window) {
        return window->findChild<QLabel*>("details")->text();
    }
    // A field's or figure's text read as the windows read it.
    static double shown(const QWidget* window, const QString& name) {
        return ledger::parseAmount(text(window, name));
    }
    static QSpinBox* yearBox(const QWidget* window) { return window->findChild<QSpinBox*>("year"); }

    // Every day row of `database`, worked out as above, by date text.
    static std::vector<DayExpected> expectedDays(const TempDatabase& database) {
        const QStringList& amounts = schema::ledgerDayAmounts();
        QStringList columns = {ledger::quoteName("Date")};
        for (const QString& column : amounts) columns << ledger::quoteName(column);
        std::vector<DayExpected> days;
        for (const auto& row :
             database.query(QStringLiteral("SELECT %1 FROM %2")
                                .arg(columns.join(", "), ledger::quoteName(schema::kLedger)))) {
            DayExpected day;
            day.date = row[0].toString();
            for (int i = 0; i < 10; ++i) day.administration += row[1 + i].toDouble();
            for (int i = 10; i < 20; ++i) day.expenditure += row[1 + i].toDouble();
            day.turnover = row[21].toDouble();
            day.small = row[22].toDouble();
            day.accepted = row[23].toDouble();
            days.push_back(day);
        }
        return days;
    }

    // The days of "year/month/..." added up.
    static DayExpected monthOf(const std::vector<DayExpected>& days, int year, int month) {
        DayExpected total;
        const QString prefix = QStringLiteral("%1/%2/").arg(year).arg(month);
        for (const DayExpected& day : days) {
            if (!day.date.startsWith(prefix)) continue;
            total.administration += day.administration;
            total.expenditure += day.expenditure;
            total.turnover += day.turnover;
            total.small += day.small;
            total.accepted += day.accepted;
        }
        return total;
    }

    void addStaff(const QString& name, double salaryHour, double overtimeRate) const {
        db.insert(
            schema::kStaff,
            {"Serial numbers", "Name", "Password", "Salary hour", "Overtime salary hour"},
            {QStringLiteral("S-") + name, name, QStringLiteral("pw"), salaryHour, overtimeRate});
    }
    void addWage(const QString& day, const QString& name, double salaryHour, double mainHour,
                 double insurance = 0) const {
        db.insert(
            schema::kWages,
            {"Date", "Serial numbers", "Name", "Salary hour", "Overtime salary hour", "Main hour",
             "Work overtime", "Insurance"},
            {day, QStringLiteral("S-") + name, name, salaryHour, 0.0, mainHour, 0.0, insurance});
    }
};

}  // namespace chart_tests
