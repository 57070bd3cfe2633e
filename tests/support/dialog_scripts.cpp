// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/dialog_scripts.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <algorithm>

namespace {

constexpr int kTickMs = 10;
constexpr qint64 kPatienceMs = 5000;

}  // namespace

DialogScripts::DialogScripts() : alive_(std::make_shared<bool>(true)) { tick(); }

DialogScripts::~DialogScripts() { *alive_ = false; }

void DialogScripts::expect(const QString& objectName, std::function<void(QDialog&)> script) {
    expected_.push_back({objectName, std::move(script)});
}

void DialogScripts::tick() {
    // The next look is booked before a script runs: a script that presses a
    // button opening another window waits inside it, and that window is
    // answered by the next look.
    std::weak_ptr<bool> alive = alive_;
    QTimer::singleShot(kTickMs, [this, alive] {
        if (auto flag = alive.lock(); flag && *flag) tick();
    });
    auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
    if (!dialog || !dialog->isVisible()) return;
    const auto wanted = std::find_if(expected_.begin(), expected_.end(), [&](const Expected& e) {
        return e.name == dialog->objectName();
    });
    if (wanted != expected_.end()) {
        Expected next = std::move(*wanted);
        expected_.erase(wanted);
        unexpected_ = nullptr;
        next.script(*dialog);
        return;
    }
    if (unexpected_ != dialog) {
        unexpected_ = dialog;
        unexpectedSince_.start();
    } else if (unexpectedSince_.elapsed() > kPatienceMs) {
        ADD_FAILURE() << "a window nobody answered stayed open: "
                      << dialog->objectName().toStdString();
        dialog->reject();
    }
}

QPushButton* DialogScripts::button(QDialog& dialog, const QString& name) {
    auto* found = dialog.findChild<QPushButton*>(name);
    EXPECT_NE(found, nullptr) << "no button " << name.toStdString();
    return found;
}

QLineEdit* DialogScripts::field(QDialog& dialog, const QString& name) {
    auto* found = dialog.findChild<QLineEdit*>(name);
    EXPECT_NE(found, nullptr) << "no field " << name.toStdString();
    return found;
}

void DialogScripts::type(QDialog& dialog, const QString& name, const QString& text) {
    if (QLineEdit* target = field(dialog, name)) {
        target->clear();
        QTest::keyClicks(target, text);
    }
}
