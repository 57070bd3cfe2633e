// SPDX-License-Identifier: GPL-3.0-or-later
#include "forms/bound_line_edit.h"

#include <QContextMenuEvent>
#include <QScopeGuard>
#include <QScopedValueRollback>

#include "forms/error_boundary.h"
#include "forms/typing_guard.h"
#include "ledger/records/record_source.h"

namespace forms {

BoundLineEdit::BoundLineEdit(const QString& objectName, ledger::RecordSource& source,
                             const QString& column, QWidget* parent)
    : QLineEdit(parent), source_(&source), column_(column) {
    setObjectName(objectName);
    // Qt emits textChanged only when the text really differs; whatever set
    // it, a change outside a fill is an edit to store. Typed back to the
    // row's own value, there is nothing left to store.
    connect(this, &QLineEdit::textChanged, this, [this](const QString& text) {
        if (!filling_) changed_ = text != shownText_;
    });
    source.bind(this);
}

BoundLineEdit::~BoundLineEdit() {
    if (source_) source_->unbind(this);
}

bool BoundLineEdit::event(QEvent* event) {
    // Read-only fields ignore edits anyway; only real edits are refused.
    if (!isReadOnly() && isEditingEvent(event) && !allowEditOfBoundField(this, source_)) {
        event->accept();
        return true;
    }
    return QLineEdit::event(event);
}

void BoundLineEdit::contextMenuEvent(QContextMenuEvent* event) {
    // The menu's Paste and Delete would edit a field that has no row.
    if (!isReadOnly() && !allowEditOfBoundField(this, source_)) return event->accept();
    QLineEdit::contextMenuEvent(event);
}

void BoundLineEdit::showValue(const QString& text) {
    const QScopedValueRollback filling(filling_, true);
    changed_ = false;
    shownText_ = text;
    // Show the start of a long value, as a freshly filled field does, even
    // when a reaction to the new text fails.
    const auto showStart = qScopeGuard([this] { setCursorPosition(0); });
    raiseReactionErrors([&] { setText(text); });
}

}  // namespace forms
