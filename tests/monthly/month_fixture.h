// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <map>

#include "forms/data_control.h"
#include "forms/form_window.h"
#include "ledger/records/record_source.h"
#include "ledger/schema/schema.h"
#include "ledger/store/source_info.h"
#include "monthly/month_sheet.h"
#include "monthly/monthly_windows.h"
#include "support/scripted_prompts.h"
#include "support/temp_database.h"
#include "support/window_test.h"

namespace month_tests {

using forms::FormWindow;
namespace schema = ledger::schema;

// The month sheet over real day rows: the month totals come from the
// database's own saved query, as in the shop.
class MonthTest : public WindowTest {
protected:
    void SetUp() override { monthly::registerWindows(); }

    // December 2002 as the shop's example: turnover 1000, small incidental
    // money 100, expenditure 300, administration 200, cash counted 650,
    // spread over two days and several columns.
    void addExampleMonth() {
        addDay("2002/12/1", {{"Rent", 150},
                             {"Bread trader", 100},
                             {"Tableware", 50},
                             {"Turnover", 600},
                             {"Small incidental money", 60},
                             {"Accept cashes in fact", 300}});
        addDay("2002/12/15", {{"Insurance", 50},
                              {"Egg", 100},
                              {"Articles in the shop", 50},
                              {"Turnover", 400},
                              {"Small incidental money", 40},
                              {"Accept cashes in fact", 350}});
    }

    // The months as the saved query lists them, in its own order.
    QStringList monthsInQueryOrder() const {
        QStringList months;
        for (const auto& row : db.query(QStringLiteral("SELECT %1 FROM %2")
                                            .arg(ledger::quoteName("Date per month"),
                                                 ledger::quoteName(schema::kMonthTotals))))
            months << row[0].toString();
        return months;
    }

    QVariant ledgerSum(const QString& column) const {
        return db.scalar(QStringLiteral("SELECT SUM(%1) FROM %2")
                             .arg(ledger::quoteName(column), ledger::quoteName(schema::kLedger)));
    }

    monthly::Form4* openMonthSheet() {
        return qobject_cast<monthly::Form4*>(FormWindow::loadWindow("Form4"));
    }

    // Asks for a month through the Inquiry button.
    void inquire(QWidget* sheet, const QString& typed) {
        prompts.inputAnswers.push_back(typed);
        button(sheet, "Command1")->click();
    }
    void inquireCancelled(QWidget* sheet) { button(sheet, "Command1")->click(); }

    static QString month(QWidget* sheet) { return text(sheet, "Text2"); }

    // The eight figures, Label36 ... Label43.
    static QStringList figures(QWidget* sheet) {
        QStringList out;
        for (int n = 36; n <= 43; ++n) out << text(sheet, QStringLiteral("Label%1").arg(n));
        return out;
    }
};

}  // namespace month_tests
