// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QElapsedTimer>
#include <QPointer>
#include <QString>
#include <deque>
#include <functional>
#include <memory>

class QDialog;
class QLineEdit;
class QPushButton;

// Modal windows of the program's own (not the prompts, which are scripted
// apart) answered by a script: each expected window is handed to its script
// as soon as it opens (the first script expecting its name, once). A window nobody expected, or one
// still open a few seconds after its script ran, is closed and fails the test, so no test waits for
// a user.
class DialogScripts {
public:
    DialogScripts();
    ~DialogScripts();
    DialogScripts(const DialogScripts&) = delete;
    DialogScripts& operator=(const DialogScripts&) = delete;

    void expect(const QString& objectName, std::function<void(QDialog&)> script);
    // Whether every expected window opened and had its script run.
    bool allRan() const { return expected_.empty(); }

    // For scripts: a control of the window by name (a missing one fails the
    // test), and typing into a field.
    static QPushButton* button(QDialog& dialog, const QString& name);
    static QLineEdit* field(QDialog& dialog, const QString& name);
    static void type(QDialog& dialog, const QString& name, const QString& text);

private:
    void tick();

    struct Expected {
        QString name;
        std::function<void(QDialog&)> script;
    };
    std::deque<Expected> expected_;
    QPointer<QDialog> unexpected_;
    QElapsedTimer unexpectedSince_;
    std::shared_ptr<bool> alive_;
};
