// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLabel>
#include <functional>

namespace forms {

// A label whose text only code writes (a computed figure). It signals a change
// only when its text really differs. The window's own figures that depend on
// it run as plain calls (setDependents), never through the signal, which is
// for what watches from outside.
//
// A figure keeps the size and place of its design, yet always shows its whole
// text: a text too long for the label is drawn in a smaller face, down to a
// readable minimum, and the full text is also in the tooltip. The room is
// what the label leaves its text (frame, margin and indent taken off, on the
// side its alignment puts it), so a minus sign or leading digits are never
// cut off.
class ComputedFigure : public QLabel {
    Q_OBJECT
public:
    explicit ComputedFigure(const QString& objectName, QWidget* parent);

    // Hides QLabel::setText on purpose: windows always go through this one.
    // Returns whether the text changed.
    bool setText(const QString& text);

    // The window's figures that follow this one, run as a plain call each
    // time the text changes, before the signal. Their error ends the change
    // at that step and goes to whoever set the text.
    void setDependents(std::function<void()> dependents) { dependents_ = std::move(dependents); }

    // How the figure is made from the boxes, in the shop's words: its
    // tooltip, so an owner can follow a total that differs from their own
    // sum (a shrunk figure's full text follows it).
    void setExplanation(const QString& explanation);

    // The smallest face a long figure is shrunk to.
    static constexpr double kMinimumPointSize = 6.0;

Q_SIGNALS:
    void textChanged(const QString& text);

protected:
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void fitText();

    std::function<void()> dependents_;
    QString explanation_;
    QFont designFont_;
    Qt::Alignment designAlignment_;
    bool fitting_ = false;
    bool leftForced_ = false;  // the alignment is ours, not the design's
};

}  // namespace forms
