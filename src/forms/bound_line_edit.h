// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLineEdit>
#include <QPointer>

#include "ledger/records/field_binding.h"

namespace ledger {
class RecordSource;
}

namespace forms {

// A text field bound to a column of a record source's current row. Filled on
// every row change without counting as changed; any other text change, typed
// or set by code, marks it changed until the next write-back, unless the
// text is back to what the row showed. Typing is refused (with a word why)
// while the record source has no row to store it in. Its textChanged
// signal fires synchronously and only when the text really differs, so
// windows hang their change reactions on it (through connectGuarded).
class BoundLineEdit : public QLineEdit, public ledger::FieldBinding {
    Q_OBJECT
public:
    BoundLineEdit(const QString& objectName, ledger::RecordSource& source, const QString& column,
                  QWidget* parent);
    ~BoundLineEdit() override;

    QString boundColumn() const override { return column_; }
    void showValue(const QString& text) override;
    bool isChanged() const override { return changed_; }
    // While the record source fills in a row (a change that is no edit).
    bool isFilling() const { return filling_; }
    QString editedText() const override { return text(); }
    // After a write-back the text is what the row holds.
    void clearChanged() override {
        changed_ = false;
        shownText_ = text();
    }

protected:
    bool event(QEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    QPointer<ledger::RecordSource> source_;
    QString column_;
    QString shownText_;  // the row's value as last filled
    bool filling_ = false;
    bool changed_ = false;
};

}  // namespace forms
