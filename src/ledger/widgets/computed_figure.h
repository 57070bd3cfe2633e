#pragma once

#include <QLabel>

namespace ledger::ui {

// A label whose text only code writes (a computed figure). It signals a change
// only when its text really differs, so windows chain reactions label to label.
class ComputedFigure : public QLabel {
    Q_OBJECT
public:
    explicit ComputedFigure(const QString& objectName, QWidget* parent);

    // Hides QLabel::setText on purpose: windows always go through this one.
    void setText(const QString& text);

Q_SIGNALS:
    void textChanged(const QString& text);
};

}  // namespace ledger::ui
