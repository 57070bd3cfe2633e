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

#include "forms/bound_line_edit.h"
#include "forms/data_control.h"
#include "forms/error_boundary.h"
#include "forms/form_window.h"
#include "interfaces/daily_window_face.h"
#include "ledger/location/program_folder.h"
#include "ledger/records/record_source.h"
#include "ledger/schema/schema.h"
#include "ledger/store/source_info.h"
#include "supplies/supplies_windows.h"
#include "supplies/supply_sheet.h"
#include "support/scripted_prompts.h"
#include "support/temp_database.h"
#include "support/window_test.h"

namespace sheet_tests {

using forms::FormWindow;
namespace schema = ledger::schema;

// A small daily window for the sheets to talk to: the ledger's Data1 with
// the date, Rent and the two fields the sheets fill, registered as "Form1"
// like the real one.
class StandInDailyWindow : public FormWindow, public daily::DailyWindowFace {
public:
    StandInDailyWindow() : FormWindow(QStringLiteral("Form1")) {
        data = new forms::DataControl(QStringLiteral("Data1"), schema::kLedger,
                                      QStringLiteral("  Date"), this);
        date = new forms::BoundLineEdit(QStringLiteral("Text2"), data->source(),
                                        QStringLiteral("Date"), this);
        rent = new forms::BoundLineEdit(QStringLiteral("Text1"), data->source(),
                                        QStringLiteral("Rent"), this);
        tableware = new forms::BoundLineEdit(QStringLiteral("Text20"), data->source(),
                                             QStringLiteral("Tableware"), this);
        articles = new forms::BoundLineEdit(QStringLiteral("Text21"), data->source(),
                                            QStringLiteral("Articles in the shop"), this);
    }

    // The day the user would reach with the daily window's own Inquiry.
    void showDay(const QString& day) {
        ASSERT_TRUE(ledger::guardedFind(data->source(), "Date like  '" + day + "'"));
    }

    QString dayShown() const override { return date->text(); }
    bool showsStoredDay() const override {
        return data->source().hasCurrentRow() && !data->source().isNewRow();
    }
    ledger::Bookmark storedDay() const override { return data->source().bookmark(); }
    void takePurchaseSubtotal(Purchase which, const QString& subtotal) override {
        QLineEdit* field = which == Purchase::Tableware ? tableware : articles;
        forms::raiseReactionErrors([&] { field->setText(subtotal); });
    }
    void showDay(ledger::Bookmark day) override { data->source().setBookmark(day); }
    void bringForward() override { show(); }
    bool addWageToDay(ledger::RecordSource&, const QString&, qint32) override {
        ADD_FAILURE() << "the sheets add no wages";
        return false;
    }
    bool addWagesToDay(ledger::RecordSource&, const QString&, const std::vector<ledger::NewWage>&,
                       const QString&) override {
        ADD_FAILURE() << "the sheets add no wages";
        return false;
    }
    bool takeWageOffDay(ledger::RecordSource&, const QString&, qint32) override {
        ADD_FAILURE() << "the sheets take no wages off";
        return false;
    }

    forms::DataControl* data;
    forms::BoundLineEdit* date;
    forms::BoundLineEdit* rent;
    forms::BoundLineEdit* tableware;
    forms::BoundLineEdit* articles;

protected:
    void loadStep() override { data->source().setDatabasePath(ledger::databasePath()); }
};

// Item amounts of one day row, by column.
using Items = WindowTest::Amounts;

class SheetTest : public WindowTest {
protected:
    void SetUp() override { supplies::registerWindows(); }

    // The stored value of a column of the row with this key (null: empty).
    QVariant stored(qint64 row, const QString& column) const {
        return db.scalar(QStringLiteral("SELECT %1 FROM %2 WHERE rowid = %3")
                             .arg(ledger::quoteName(column), ledger::quoteName(schema::kLedger))
                             .arg(row));
    }

    StandInDailyWindow* openDailyWindow() {
        auto* main = new StandInDailyWindow;
        main->load();
        return main;
    }

    // What the daily window's Detail buttons do: load, show, "By here day".
    supplies::SupplySheet* openLikeDetailButton(const QString& name) {
        auto* sheet = qobject_cast<supplies::SupplySheet*>(FormWindow::loadWindow(name));
        EXPECT_NE(sheet, nullptr);
        if (!sheet) return nullptr;
        sheet->show();
        button(sheet, "Command1")->click();
        return sheet;
    }

    static QLineEdit* item(QWidget* sheet, int number) {
        return field(sheet, QStringLiteral("Text%1").arg(number));
    }
    static QLineEdit* dateField(supplies::SupplySheet* sheet) {
        return field(sheet, sheet->design().dateField);
    }
    static QString subtotal(QWidget* sheet) {
        return sheet->findChild<QLabel*>(QStringLiteral("Label12"))->text();
    }
};

}  // namespace sheet_tests
