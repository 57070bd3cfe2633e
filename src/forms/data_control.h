// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>
#include <functional>

class QLabel;

namespace ledger {
class RecordSource;
}

namespace forms {

// The data control: a record source with its navigation bar (first / previous
// / next / last around a caption). The bar's moves stop at the ends and never
// begin a row; a failing move shows the error and leaves the row as it was.
// Hidden data controls are record sources without a bar.
class DataControl : public QWidget {
    Q_OBJECT
public:
    DataControl(const QString& objectName, const QString& source, const QString& caption,
                QWidget* parent);

    ledger::RecordSource& source() { return *source_; }
    // Asked before every move of the bar: false leaves the row where it is
    // (a window that must settle something with the user first).
    void setMoveGuard(std::function<bool()> guard) { moveGuard_ = std::move(guard); }
    QString caption() const;

protected:
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    // The caption in the bar's face, or smaller when the bar is too narrow
    // for it, so it is always read whole.
    void fitCaption();

    ledger::RecordSource* source_;  // a child of the data control
    std::function<bool()> moveGuard_;
    QLabel* caption_;
};

}  // namespace forms
