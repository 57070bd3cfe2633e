// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

#include "daily/daily_windows.h"
#include "daily/screen_density.h"
#include "forms/bound_line_edit.h"
#include "forms/data_control.h"
#include "forms/layout_units.h"
#include "ledger/records/record_source.h"
#include "ledger/schema/schema.h"
#include "shell/login_window.h"
#include "shell/shell_windows.h"
#include "support/scripted_prompts.h"
#include "support/temp_database.h"
#include "support/window_test.h"

// The login window on a temporary staff register, with the daily window
// registered behind it, as the program starts.
class LoginTest : public WindowTest {
protected:
    void SetUp() override {
        shell::registerWindows();
        daily::registerWindows();
        forms::setScreenDpiForTesting(96);
        daily::setScreenDensityForTesting(100);
    }

    // A staff row; a null password is stored as an empty value.
    void addStaff(const QString& name, const QVariant& password) {
        db.insert(ledger::schema::kStaff, {"Name", "Password"}, {name, password});
    }

    shell::Form10* openLogin() {
        auto* window =
            dynamic_cast<shell::Form10*>(forms::FormWindow::loadWindow(QStringLiteral("Form10")));
        EXPECT_NE(window, nullptr);
        window->show();
        return window;
    }

    static shell::Form10* login() {
        return dynamic_cast<shell::Form10*>(forms::FormWindow::find(QStringLiteral("Form10")));
    }
    static forms::FormWindow* mainWindow() {
        return forms::FormWindow::find(QStringLiteral("Form1"));
    }
    QLineEdit* field(const QString& name) const { return WindowTest::field(login(), name); }
    QPushButton* button(const QString& name) const { return WindowTest::button(login(), name); }
    ledger::RecordSource& staff() const { return login()->data1()->source(); }
    void moveBar(const char* which) const {
        login()->data1()->findChild<QToolButton*>(QString::fromUtf8(which))->click();
    }

    // Types the password key by key and presses Login; deleted windows go.
    void typeAndLogin(const QString& password) {
        QTest::keyClicks(field("Text1"), password);
        button("Command1")->click();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    void expectRefusedSilently(const QString& typed) {
        EXPECT_NE(login(), nullptr);
        EXPECT_EQ(mainWindow(), nullptr);
        EXPECT_EQ(field("Text1")->text(), typed);
        EXPECT_TRUE(prompts.told.isEmpty()) << prompts.told.join("\n").toStdString();
    }

    void expectAdmitted() {
        EXPECT_EQ(login(), nullptr);
        ASSERT_NE(mainWindow(), nullptr);
        EXPECT_TRUE(mainWindow()->isVisible());
        EXPECT_TRUE(QGuiApplication::quitOnLastWindowClosed());
        EXPECT_TRUE(prompts.told.isEmpty()) << prompts.told.join("\n").toStdString();
    }
};
