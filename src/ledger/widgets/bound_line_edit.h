#pragma once

#include <QLineEdit>
#include <QPointer>

#include "record_source.h"

namespace ledger::ui {

// A text field bound to a column of a record source's current row. Filled on
// every row change without counting as changed; any other text change, typed
// or set by code, marks it changed until the next write-back. Its textChanged
// signal fires synchronously and only when the text really differs, so
// windows hang their change reactions on it (through connectGuarded).
class BoundLineEdit : public QLineEdit, public FieldBinding {
    Q_OBJECT
public:
    BoundLineEdit(const QString& objectName, RecordSource& source, const QString& column,
                  QWidget* parent);
    ~BoundLineEdit() override;

    QString boundColumn() const override { return column_; }
    void showValue(const QString& text) override;
    bool isChanged() const override { return changed_; }
    QString editedText() const override { return text(); }
    void clearChanged() override { changed_ = false; }

private:
    QPointer<RecordSource> source_;
    QString column_;
    bool filling_ = false;
    bool changed_ = false;
};

}  // namespace ledger::ui
