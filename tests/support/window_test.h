// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QString>
#include <QToolButton>
#include <QVariant>
#include <map>
#include <ostream>

#include "support/scripted_prompts.h"
#include "support/value_printing.h"
#include "support/temp_database.h"

// Windows on a temporary database, with scripted prompts. The test main gives
// every test a workspace of its own; windows a test leaves open are closed at
// its end, their edits given up, so no test asks the next one anything.
class WindowTest : public ::testing::Test {
public:
    // Amounts of one day row, by ledger column.
    using Amounts = std::map<QString, double>;

protected:
    void TearDown() override { closeWindows(); }

    // Closes every open window without asking, then lets deleted ones go.
    static void closeWindows();
    // Windows closed with deleteLater() go now.
    static void flushDeletes();

    // A day row straight into the file (a null day: no date); its key.
    qint64 addDay(const QVariant& day, const Amounts& amounts = {}) const;

    // A window's controls by name; a missing one fails the test.
    static QPushButton* button(const QWidget* window, const QString& name);
    static QLineEdit* field(const QWidget* window, const QString& name);
    static QComboBox* list(const QWidget* window, const QString& name);
    // The text of a field, figure or list, whichever the name is.
    static QString text(const QWidget* window, const QString& name);
    // A move button (First, Previous, Next, Last) of a data control's bar.
    static void pressBar(const QWidget* window, const QString& which,
                         const QString& data = QStringLiteral("Data1"));

    // Sets a field's text inside a command of its window, the way another
    // window's command fills it. A failing reaction to the field must stay
    // behind Qt's signal: the command goes on to its next step and ends
    // failed, with one message.
    struct CommandOutcome {
        bool succeeded = false;
        bool nextStepRan = false;
    };
    static CommandOutcome setInsideCommand(QLineEdit* field, const QString& text);

    TempDatabase db;
    ScriptedPrompts prompts;
};
