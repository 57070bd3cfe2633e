// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QLineEdit>
#include <QMap>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

#include "daily/daily_window.h"
#include "daily/daily_windows.h"
#include "daily/screen_density.h"
#include "forms/bound_line_edit.h"
#include "forms/computed_figure.h"
#include "forms/data_control.h"
#include "forms/layout_units.h"
#include "ledger/amount/amount.h"
#include "ledger/records/record_source.h"
#include "ledger/schema/schema.h"
#include "support/scripted_prompts.h"
#include "support/temp_database.h"
#include "support/window_test.h"

// The day sheet as the shop computes it, written out independently of the
// window: what each figure must show for given amounts (column -> amount).
inline QMap<QString, QString> expectedFigures(const QMap<QString, double>& amounts) {
    auto a = [&](const char* column) { return amounts.value(QString::fromUtf8(column), 0.0); };
    const double administration = a("Rent") + a("Partner") + a("Electric rate") +
                                  a("Telephone rate") + a("Water rate") + a("Personnel rate") +
                                  a("Income tax") + a("Board expenses") + a("Main payment") +
                                  a("Insurance");
    const double expenditure = a("Bread trader") + a("General materials") + a("Noodles") +
                               a("Fruit") + a("Egg") + a("Gas") + a("Beverage") +
                               a("Miscellaneous") + a("Tableware") + a("Articles in the shop");
    const double net = a("Turnover") + a("Small incidental money");
    const double cash = net - expenditure - a("Small incidental money");
    return {{"Label28", ledger::amountText(administration)},
            {"Label38", ledger::amountText(expenditure)},
            {"Label39", ledger::amountText(expenditure)},
            {"Label40", ledger::amountText(a("Small incidental money"))},
            {"Label41", ledger::amountText(net)},
            {"Label42", ledger::amountText(cash)},
            {"Label43", ledger::amountText(a("Accept cashes in fact") - cash)},
            {"Label44", ledger::amountText(cash - administration)}};
}

inline const QStringList& figureNames() {
    static const QStringList names = {"Label28", "Label38", "Label39", "Label40",
                                      "Label41", "Label42", "Label43", "Label44"};
    return names;
}

// A daily window on a temporary ledger, with scripted prompts. The screen is
// taken as 96 dpi for twips and as 100 dpi for the density table (where the
// window keeps its design size), unless a test says otherwise.
class DailyWindowTest : public WindowTest {
protected:
    void SetUp() override {
        daily::registerWindows();
        forms::setScreenDpiForTesting(96);
        daily::setScreenDensityForTesting(100);
    }

    // Inserts a day row straight into the file (a null date: no date).
    qint64 insertDay(const QString& date, const QMap<QString, double>& amounts = {}) {
        Amounts byColumn;
        for (auto it = amounts.begin(); it != amounts.end(); ++it) byColumn[it.key()] = it.value();
        return addDay(date.isNull() ? QVariant() : QVariant(date), byColumn);
    }

    daily::Form1* openSheet() {
        auto* window =
            qobject_cast<daily::Form1*>(forms::FormWindow::loadWindow(QStringLiteral("Form1")));
        EXPECT_NE(window, nullptr);
        window->show();
        return window;
    }

    daily::Form1* sheet() const {
        return qobject_cast<daily::Form1*>(forms::FormWindow::find(QStringLiteral("Form1")));
    }
    QLineEdit* field(const QString& name) const { return sheet()->findChild<QLineEdit*>(name); }
    forms::ComputedFigure* figure(const QString& name) const {
        return sheet()->findChild<forms::ComputedFigure*>(name);
    }
    QPushButton* button(const QString& name) const {
        return sheet()->findChild<QPushButton*>(name);
    }
    ledger::RecordSource& days() const { return sheet()->data1()->source(); }
    QToolButton* barButton(const QString& name) const {
        return sheet()->data1()->findChild<QToolButton*>(name);
    }

    // Replaces a field's text key by key, as the user types it.
    void type(const QString& name, const QString& text) {
        QLineEdit* edit = field(name);
        edit->setFocus();
        edit->selectAll();
        if (!edit->text().isEmpty()) QTest::keyClick(edit, Qt::Key_Backspace);
        QTest::keyClicks(edit, text);
    }

    QMap<QString, QString> figures() const {
        QMap<QString, QString> shown;
        for (const QString& name : figureNames()) shown[name] = figure(name)->text();
        return shown;
    }

    // The stored row of a date, as the file holds it.
    QVariant stored(const QString& column, const QString& date) const {
        return db.scalar(
            QStringLiteral("SELECT %1 FROM %2 WHERE Date = '%3'")
                .arg(ledger::quoteName(column), ledger::quoteName(ledger::schema::kLedger), date));
    }
    int storedRows() const {
        return db
            .scalar(QStringLiteral("SELECT COUNT(*) FROM %1")
                        .arg(ledger::quoteName(ledger::schema::kLedger)))
            .toInt();
    }
};
