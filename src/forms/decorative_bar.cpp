// SPDX-License-Identifier: GPL-3.0-or-later
#include "forms/decorative_bar.h"

#include <QLinearGradient>
#include <QPainter>

namespace forms {

DecorativeBar::DecorativeBar(const QString& objectName, QWidget* parent) : QWidget(parent) {
    setObjectName(objectName);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
}

void DecorativeBar::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const int w = width(), h = height();

    // A band shaded top to bottom, like a rounded rail.
    QLinearGradient shade(0, 0, 0, h);
    shade.setColorAt(0.0, QColor(0xF6, 0xD8, 0x8C));
    shade.setColorAt(0.45, QColor(0xD9, 0x9A, 0x3A));
    shade.setColorAt(1.0, QColor(0x8C, 0x55, 0x1E));
    painter.fillRect(QRect(0, h / 8, w, h - h / 4), shade);

    // Thin rules above and below, a highlight, and short ticks along the band.
    painter.setPen(QColor(0x6B, 0x3E, 0x12));
    painter.drawLine(0, h / 8, w - 1, h / 8);
    painter.drawLine(0, h - 1 - h / 8, w - 1, h - 1 - h / 8);
    painter.setPen(QColor(0xFF, 0xF1, 0xC8));
    painter.drawLine(0, h / 4, w - 1, h / 4);
    painter.setPen(QColor(0xA8, 0x6A, 0x28));
    const int step = std::max(6, h * 3 / 4);
    for (int x = step / 2; x < w; x += step) painter.drawLine(x, h * 7 / 16, x, h * 11 / 16);
}

}  // namespace forms
