#pragma once

#include <QLabel>

namespace ledger::ui {

// A label whose text only code writes (a computed figure). It signals a change
// only when its text really differs, so windows chain reactions label to label.
//
// A figure keeps the size and place of its design, yet always shows its whole
// text: a text too long for the label is drawn in a smaller face, down to a
// readable minimum, and the full text is also in the tooltip. A minus sign or
// leading digits are never cut off.
class ComputedFigure : public QLabel {
    Q_OBJECT
public:
    explicit ComputedFigure(const QString& objectName, QWidget* parent);

    // Hides QLabel::setText on purpose: windows always go through this one.
    void setText(const QString& text);

    // The smallest face a long figure is shrunk to.
    static constexpr double kMinimumPointSize = 6.0;

Q_SIGNALS:
    void textChanged(const QString& text);

protected:
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void fitText();

    QFont designFont_;
    Qt::Alignment designAlignment_;
    bool fitting_ = false;
    bool leftForced_ = false;  // the alignment is ours, not the design's
};

}  // namespace ledger::ui
