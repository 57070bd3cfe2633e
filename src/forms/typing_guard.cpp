// SPDX-License-Identifier: GPL-3.0-or-later
#include "forms/typing_guard.h"

#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QKeySequence>

#include "forms/prompts.h"
#include "ledger/records/record_source.h"

namespace forms {

namespace {

bool isEditingKey(const QKeyEvent* key) {
    for (auto edit : {QKeySequence::Paste, QKeySequence::Cut, QKeySequence::Undo,
                      QKeySequence::Redo, QKeySequence::Delete, QKeySequence::Backspace,
                      QKeySequence::DeleteStartOfWord, QKeySequence::DeleteEndOfWord,
                      QKeySequence::DeleteEndOfLine, QKeySequence::DeleteCompleteLine})
        if (key->matches(edit)) return true;
    if (key->key() == Qt::Key_Backspace || key->key() == Qt::Key_Delete) return true;
    const QString text = key->text();
    return !text.isEmpty() && text.at(0).isPrint();
}

}  // namespace

bool isEditingEvent(const QEvent* event) {
    switch (event->type()) {
        case QEvent::KeyPress:
            return isEditingKey(static_cast<const QKeyEvent*>(event));
        case QEvent::InputMethod:
            return !static_cast<const QInputMethodEvent*>(event)->commitString().isEmpty();
        case QEvent::Drop:
            return true;
        default:
            return false;
    }
}

bool allowEditOfBoundField(QWidget* field, const ledger::RecordSource* source) {
    if (!source || source->acceptsEdits()) return true;
    tell(field, QStringLiteral("There is no record here to type into: the list is empty or its "
                               "record was deleted. Begin a new record with \"New\" (or move "
                               "to a record) first."));
    return false;
}

}  // namespace forms
