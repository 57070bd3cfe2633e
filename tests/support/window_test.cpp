// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/window_test.h"

#include <QCoreApplication>
#include <QEvent>

#include "forms/data_control.h"
#include "forms/error_boundary.h"
#include "forms/workspace.h"
#include "ledger/schema/schema.h"

void WindowTest::closeWindows() { forms::workspace().closeAllWindows(); }

void WindowTest::flushDeletes() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

qint64 WindowTest::addDay(const QVariant& day, const Amounts& amounts) const {
    QStringList columns = {QStringLiteral("Date")};
    std::vector<QVariant> values = {day};
    for (const auto& [column, amount] : amounts) {
        columns << column;
        values.emplace_back(amount);
    }
    return db.insert(ledger::schema::kLedger, columns, values);
}

namespace {

template <typename Control>
Control* control(const QWidget* window, const QString& name) {
    auto* found = window->findChild<Control*>(name);
    EXPECT_NE(found, nullptr) << "no control " << name.toStdString();
    return found;
}

}  // namespace

QPushButton* WindowTest::button(const QWidget* window, const QString& name) {
    return control<QPushButton>(window, name);
}

QLineEdit* WindowTest::field(const QWidget* window, const QString& name) {
    return control<QLineEdit>(window, name);
}

QComboBox* WindowTest::list(const QWidget* window, const QString& name) {
    return control<QComboBox>(window, name);
}

QString WindowTest::text(const QWidget* window, const QString& name) {
    if (auto* edit = window->findChild<QLineEdit*>(name)) return edit->text();
    if (auto* label = window->findChild<QLabel*>(name)) return label->text();
    if (auto* combo = window->findChild<QComboBox*>(name)) return combo->currentText();
    ADD_FAILURE() << "no control " << name.toStdString();
    return {};
}

void WindowTest::pressBar(const QWidget* window, const QString& which, const QString& data) {
    auto* bar = control<forms::DataControl>(window, data);
    if (!bar) return;
    if (auto* move = control<QToolButton>(bar, which)) move->click();
}

WindowTest::CommandOutcome WindowTest::setInsideCommand(QLineEdit* field, const QString& text) {
    CommandOutcome outcome;
    if (!field) return outcome;
    outcome.succeeded = forms::runGuarded(field->window(), [&] {
        field->setText(text);
        outcome.nextStepRan = true;
    });
    return outcome;
}
