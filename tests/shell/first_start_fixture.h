// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include "daily/daily_windows.h"
#include "daily/screen_density.h"
#include "forms/form_window.h"
#include "forms/layout_units.h"
#include "ledger/location/program_folder.h"
#include "shell/file_choosers.h"
#include "shell/login_window.h"
#include "shell/shell_windows.h"
#include "support/dialog_scripts.h"
#include "support/scripted_prompts.h"
#include "support/window_test.h"

// A machine without books: an empty program folder and a user's data folder
// that is not there yet, the windows registered as the program registers
// them, and the program's own windows answered by scripts.
//
// WindowTest's temporary ledger is not where this machine looks: it serves
// as "existing books" to open, and on the server run as the server database.
class FirstStartTest : public WindowTest {
protected:
    void SetUp() override {
        ledger::setProgramFolder(program.path());
        ledger::setDataFolder(data());
        qputenv("PGPASSFILE", QFile::encodeName(home.filePath("pgpass")));
        shell::registerWindows();
        daily::registerWindows();
        forms::setScreenDpiForTesting(96);
        daily::setScreenDensityForTesting(100);
    }
    void TearDown() override {
        WindowTest::TearDown();
        shell::resetFileChoosers();
        ledger::setProgramFolder({});
        ledger::setDataFolder({});
        qunsetenv("PGPASSFILE");
    }

    QString data() const { return home.filePath("share/tallowbrook"); }
    QString books() const { return data() + "/breakfast.mdb"; }

    // The first member of staff typed into the first-start window.
    static void typeStaff(QDialog& dialog, const QString& name, const QString& password,
                          const QString& again) {
        DialogScripts::type(dialog, "staffName", name);
        DialogScripts::type(dialog, "staffPassword", password);
        DialogScripts::type(dialog, "staffPasswordAgain", again);
    }

    // The login window as the program shows it after the first start.
    static shell::Form10* openLogin() {
        auto* window =
            dynamic_cast<shell::Form10*>(forms::FormWindow::loadWindow(QStringLiteral("Form10")));
        EXPECT_NE(window, nullptr);
        if (window) window->show();
        return window;
    }
    static forms::FormWindow* find(const char* name) {
        return forms::FormWindow::find(QString::fromUtf8(name));
    }
    static void logIn(const QString& password) {
        auto* login = find("Form10");
        ASSERT_NE(login, nullptr);
        QTest::keyClicks(field(login, "Text1"), password);
        button(login, "Command1")->click();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    QTemporaryDir program, home;
    DialogScripts dialogs;
};
