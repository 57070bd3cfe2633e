// SPDX-License-Identifier: GPL-3.0-or-later
#include "staff/day_wage_keys.h"

#include <QComboBox>
#include <QKeyEvent>

namespace staff {

DayWageKeys::DayWageKeys(QWidget* parent) : QTableView(parent) {
    setEditTriggers(QAbstractItemView::AnyKeyPressed | QAbstractItemView::DoubleClicked |
                    QAbstractItemView::EditKeyPressed | QAbstractItemView::SelectedClicked);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setTabKeyNavigation(true);
}

bool DayWageKeys::takesTyping(const QModelIndex& index) const {
    return index.isValid() &&
           (index.flags() & (Qt::ItemIsEditable | Qt::ItemIsUserCheckable)) != Qt::NoItemFlags;
}

QModelIndex DayWageKeys::nextTyped(const QModelIndex& from, int step) const {
    const int columns = model()->columnCount();
    const int cells = model()->rowCount() * columns;
    int at = from.isValid() ? from.row() * columns + from.column() : (step > 0 ? -1 : cells);
    for (at += step; at >= 0 && at < cells; at += step) {
        const QModelIndex cell = model()->index(at / columns, at % columns);
        if (takesTyping(cell)) return cell;
    }
    return from;
}

QModelIndex DayWageKeys::belowTyped(const QModelIndex& from) const {
    for (int row = from.row() + 1; row < model()->rowCount(); ++row) {
        const QModelIndex cell = model()->index(row, from.column());
        if (takesTyping(cell)) return cell;
    }
    // The last row's column done: on to the next cell that takes typing.
    return nextTyped(from, 1);
}

QModelIndex DayWageKeys::moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) {
    if (!model()) return {};
    if (action == MoveNext) return nextTyped(currentIndex(), 1);
    if (action == MovePrevious) return nextTyped(currentIndex(), -1);
    return QTableView::moveCursor(action, modifiers);
}

void DayWageKeys::goTo(const QModelIndex& index) {
    setCurrentIndex(index);
    scrollTo(index);
}

void DayWageKeys::keyPressEvent(QKeyEvent* event) {
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && state() != EditingState && currentIndex().isValid()) {
        goTo(belowTyped(currentIndex()));
        event->accept();
        return;
    }
    QTableView::keyPressEvent(event);
}

void DayWageKeys::closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) {
    // Enter in a cell being typed stores it and goes down, as Tab stores it
    // and goes on.
    if (hint != QAbstractItemDelegate::SubmitModelCache) {
        QTableView::closeEditor(editor, hint);
        return;
    }
    QTableView::closeEditor(editor, QAbstractItemDelegate::NoHint);
    goTo(belowTyped(currentIndex()));
}

QWidget* ChoiceDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem&,
                                      const QModelIndex&) const {
    auto* list = new QComboBox(parent);
    list->addItem(QString());
    list->addItems(choices_);
    return list;
}

void ChoiceDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const {
    auto* list = static_cast<QComboBox*>(editor);
    const int at = list->findText(index.data(Qt::EditRole).toString());
    list->setCurrentIndex(at < 0 ? 0 : at);
}

void ChoiceDelegate::setModelData(QWidget* editor, QAbstractItemModel* model,
                                  const QModelIndex& index) const {
    model->setData(index, static_cast<QComboBox*>(editor)->currentText(), Qt::EditRole);
}

}  // namespace staff
