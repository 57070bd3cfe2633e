// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

class QWidget;

namespace forms {

// Input prompts and message boxes go through this one interface: real Qt
// dialogs in the program, scripted answers in tests.
class Prompts {
public:
    virtual ~Prompts() = default;
    // The typed text, or empty text when cancelled (Enter accepts, Escape cancels).
    virtual QString input(QWidget* parent, const QString& message, const QString& title,
                          const QString& preset) = 0;
    // Yes/No box; Yes is the default button (Enter answers Yes).
    virtual bool askYesNo(QWidget* parent, const QString& message, const QString& title) = 0;
    // Yes/No box for a step that gives something up; No is the default
    // button, so Enter keeps things as they are.
    virtual bool askYesNoDefaultNo(QWidget* parent, const QString& message, const QString& title) {
        return askYesNo(parent, message, title);
    }
    // A question with buttons of its own, left to right; returns the index
    // of the one pressed. Enter presses `defaultIndex`; Escape and the close
    // box press `escapeIndex`.
    virtual int choose(QWidget* parent, const QString& message, const QString& title,
                       const QStringList& buttons, int defaultIndex, int escapeIndex) = 0;
    // A message with an OK button (errors and notices).
    virtual void tell(QWidget* parent, const QString& message, const QString& title) = 0;
    // The name of a file to write, asked with the desktop's save dialog;
    // `filters` as Qt's file dialogs take them ("PNG picture (*.png);;...").
    // Empty text when cancelled.
    virtual QString saveFileName(QWidget* parent, const QString& title, const QString& suggested,
                                 const QString& filters) {
        (void)parent, (void)title, (void)suggested, (void)filters;
        return {};
    }
};

// The prompts of the workspace in force; real dialogs unless a test
// installed its own.
Prompts& prompts();
void setPrompts(Prompts* replacement);  // nullptr: back to the real dialogs

// The real Qt dialogs.
Prompts& dialogPrompts();

// The title of message boxes and prompts that have none of their own.
QString programTitle();

// A message with an OK button under the program's title: the usual notice.
void tell(QWidget* parent, const QString& message);

}  // namespace forms
