// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPushButton>

namespace daily {

// A command button whose caption wraps onto several lines when the button is
// narrower than the caption, as the shop's forms show "The staff calculate
// wages" on a narrow button. The caption stays one text; only drawing wraps.
class WrappingButton : public QPushButton {
    Q_OBJECT
public:
    WrappingButton(const QString& objectName, const QString& caption, QWidget* parent);

protected:
    void paintEvent(QPaintEvent* event) override;
};

}  // namespace daily
