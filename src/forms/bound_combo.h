// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QComboBox>
#include <QPointer>

#include "ledger/records/field_binding.h"

namespace ledger {
class RecordSource;
}

namespace forms {

// A drop-down choice list: its entries are the list column's value of every
// row of the list source, in that source's order, duplicates included. With a
// target it behaves as a bound field of the target: it shows the target
// column, a chosen entry marks it changed and the write-back stores the
// chosen text. Without a target it only offers the list.
class BoundCombo : public QComboBox, public ledger::FieldBinding {
    Q_OBJECT
public:
    BoundCombo(const QString& objectName, ledger::RecordSource& listSource,
               const QString& listColumn, QWidget* parent);
    ~BoundCombo() override;

    void setTarget(ledger::RecordSource& target, const QString& targetColumn);

    QString boundColumn() const override { return targetColumn_; }
    void showValue(const QString& text) override;
    bool isChanged() const override { return changed_; }
    QString editedText() const override { return currentText(); }
    void clearChanged() override { changed_ = false; }
    // While the record source fills it with a row's value (no edit).
    bool isFilling() const { return filling_; }

protected:
    // With a target that has no row, choosing or typing is refused (with a
    // word why), as in every bound field.
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void showPopup() override;
    void hidePopup() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

Q_SIGNALS:
    // The shown text really changed (a choice, typing, or a row change).
    void valueChanged(const QString& text);
    // The drop-down closed, whether or not an entry was chosen (a click on
    // the list's button, as far as the window is concerned).
    void popupClosed();

private:
    void reloadList();
    bool mayEdit();

    QPointer<ledger::RecordSource> list_;
    QString listColumn_;
    QPointer<ledger::RecordSource> target_;
    QString targetColumn_;
    bool filling_ = false;
    bool changed_ = false;
    QString lastText_;
};

}  // namespace forms
