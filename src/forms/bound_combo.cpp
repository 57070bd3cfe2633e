// SPDX-License-Identifier: GPL-3.0-or-later
#include "forms/bound_combo.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QScopedValueRollback>
#include <QWheelEvent>

#include "forms/error_boundary.h"
#include "forms/typing_guard.h"
#include "ledger/records/record_source.h"

namespace forms {

BoundCombo::BoundCombo(const QString& objectName, ledger::RecordSource& listSource,
                       const QString& listColumn, QWidget* parent)
    : QComboBox(parent), list_(&listSource), listColumn_(listColumn) {
    setObjectName(objectName);
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
    lineEdit()->installEventFilter(this);
    // The list follows its source whenever that opens or refreshes.
    // Reading the list may fail; the error is shown, never passed back into
    // the record source's signal.
    connectGuarded(&listSource, &ledger::RecordSource::currentRowChanged, this, [this] {
        if (!filling_) reloadList();
    });
    connect(this, &QComboBox::currentTextChanged, this, [this](const QString& text) {
        if (text == lastText_) return;
        lastText_ = text;
        if (!filling_ && target_) changed_ = true;
        Q_EMIT valueChanged(text);
    });
}

BoundCombo::~BoundCombo() {
    if (target_) target_->unbind(this);
}

void BoundCombo::setTarget(ledger::RecordSource& target, const QString& targetColumn) {
    target_ = &target;
    targetColumn_ = targetColumn;
    target.bind(this);
}

bool BoundCombo::mayEdit() { return !target_ || allowEditOfBoundField(this, target_); }

void BoundCombo::keyPressEvent(QKeyEvent* event) {
    // Arrows and F4 choose another entry; Tab and Escape stay free.
    const int key = event->key();
    const bool chooses = key == Qt::Key_Up || key == Qt::Key_Down || key == Qt::Key_PageUp ||
                         key == Qt::Key_PageDown || key == Qt::Key_F4;
    if ((chooses || isEditingEvent(event)) && !mayEdit()) return event->accept();
    QComboBox::keyPressEvent(event);
}

void BoundCombo::inputMethodEvent(QInputMethodEvent* event) {
    if (isEditingEvent(event) && !mayEdit()) return event->accept();
    QComboBox::inputMethodEvent(event);
}

void BoundCombo::wheelEvent(QWheelEvent* event) {
    // The wheel changes the choice; without a row it scrolls nothing.
    if (target_ && !target_->acceptsEdits()) return event->ignore();
    QComboBox::wheelEvent(event);
}

void BoundCombo::showPopup() {
    if (mayEdit()) QComboBox::showPopup();
}

void BoundCombo::hidePopup() {
    QComboBox::hidePopup();
    Q_EMIT popupClosed();
}

bool BoundCombo::eventFilter(QObject* watched, QEvent* event) {
    // The text box's context menu offers Paste and Delete as well.
    const bool edits = isEditingEvent(event) || event->type() == QEvent::ContextMenu;
    if (watched == lineEdit() && edits && !mayEdit()) {
        event->accept();
        return true;
    }
    return QComboBox::eventFilter(watched, event);
}

void BoundCombo::reloadList() {
    if (!list_ || !list_->isOpen()) return;
    bool listed = false;
    for (const QString& column : list_->columnNames())
        listed = listed || column.compare(listColumn_, Qt::CaseInsensitive) == 0;
    if (!listed) return;
    // Only the column listed is read.
    const QStringList entries = list_->columnTexts(listColumn_);
    const QString shown = currentText();
    const QScopedValueRollback filling(filling_, true);
    clear();
    addItems(entries);
    setCurrentIndex(-1);
    setEditText(shown);
}

void BoundCombo::showValue(const QString& text) {
    // Scoped: a reaction that fails during the fill must not leave the list
    // deaf to the user's later choices.
    const QScopedValueRollback filling(filling_, true);
    changed_ = false;
    raiseReactionErrors([&] { setEditText(text); });
}

}  // namespace forms
