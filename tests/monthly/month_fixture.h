#pragma once

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <map>

#include "data_control.h"
#include "form4.h"
#include "form_window.h"
#include "monthly_windows.h"
#include "record_source.h"
#include "schema.h"
#include "scripted_prompts.h"
#include "store.h"
#include "temp_database.h"

// Stored values read back in failure messages.
inline void PrintTo(const QVariant& value, std::ostream* out) {
    *out << (value.isNull() ? std::string("(empty)") : value.toString().toStdString());
}

namespace month_tests {

using ledger::ui::FormWindow;
namespace schema = ledger::schema;

// Amounts of one day row, by ledger column.
using Amounts = std::map<QString, double>;

// The month sheet over real day rows: the month totals come from the
// database's own saved query, as in the shop.
class MonthTest : public ::testing::Test {
protected:
    void SetUp() override { monthly::registerWindows(); }

    void TearDown() override {
        delete FormWindow::find("Form4");
        flushDeletes();
    }

    static void flushDeletes() {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    qint64 addDay(const QString& day, const Amounts& amounts = {}) {
        QStringList columns = {QStringLiteral("Date")};
        std::vector<QVariant> values = {day};
        for (const auto& [column, value] : amounts) {
            columns << column;
            values.emplace_back(value);
        }
        return db.insert(schema::kLedger, columns, values);
    }

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

    static QString text(QWidget* sheet, const QString& name) {
        if (auto* field = sheet->findChild<QLineEdit*>(name)) return field->text();
        if (auto* label = sheet->findChild<QLabel*>(name)) return label->text();
        ADD_FAILURE() << "no control " << name.toStdString();
        return {};
    }
    static QLineEdit* field(QWidget* sheet, const QString& name) {
        auto* found = sheet->findChild<QLineEdit*>(name);
        EXPECT_NE(found, nullptr) << name.toStdString();
        return found;
    }
    static QString month(QWidget* sheet) { return text(sheet, "Text2"); }
    static QPushButton* button(QWidget* sheet, const char* name) {
        return sheet->findChild<QPushButton*>(QString::fromLatin1(name));
    }
    static void pressBar(QWidget* sheet, const char* which) {
        sheet->findChild<ledger::ui::DataControl*>(QStringLiteral("Data1"))
            ->findChild<QToolButton*>(QString::fromLatin1(which))
            ->click();
    }

    // The eight figures, Label36 ... Label43.
    static QStringList figures(QWidget* sheet) {
        QStringList out;
        for (int n = 36; n <= 43; ++n) out << text(sheet, QStringLiteral("Label%1").arg(n));
        return out;
    }

    TempDatabase db;
    ScriptedPrompts prompts;
};

}  // namespace month_tests
