// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QStringList>
#include <QStyledItemDelegate>
#include <QTableView>

namespace staff {

// The day's wages typed as in a spreadsheet: Tab and Shift+Tab go to the
// next and the previous cell that takes typing (row by row), Enter to the
// same column of the next row that takes it; typing into a cell replaces
// what it holds.
class DayWageKeys : public QTableView {
    Q_OBJECT
public:
    explicit DayWageKeys(QWidget* parent = nullptr);

protected:
    QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;
    void keyPressEvent(QKeyEvent* event) override;
    void closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) override;

private:
    bool takesTyping(const QModelIndex& index) const;
    // The cell after (or before) `from`, row by row, that takes typing.
    QModelIndex nextTyped(const QModelIndex& from, int step) const;
    QModelIndex belowTyped(const QModelIndex& from) const;
    void goTo(const QModelIndex& index);
};

// "Ask for leave" and "Absent" chosen from the entries the books offer for
// them (the Select row set), as the wage window's lists are.
class ChoiceDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    explicit ChoiceDelegate(QObject* parent = nullptr) : QStyledItemDelegate(parent) {}
    void setChoices(QStringList choices) { choices_ = std::move(choices); }

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override;
    void setEditorData(QWidget* editor, const QModelIndex& index) const override;
    void setModelData(QWidget* editor, QAbstractItemModel* model,
                      const QModelIndex& index) const override;

private:
    QStringList choices_;
};

}  // namespace staff
