// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

namespace forms {

// The shop sheets' decorative bar picture (593 x 16 pixels on the original
// sheets): a warm shaded band with rules and ticks, drawn by our own code so
// it scales with the window and prints with it. It has no behaviour.
class DecorativeBar : public QWidget {
    Q_OBJECT
public:
    DecorativeBar(const QString& objectName, QWidget* parent);

protected:
    void paintEvent(QPaintEvent* event) override;
};

}  // namespace forms
