// SPDX-License-Identifier: GPL-3.0-or-later
#include "forms/layout_units.h"

#include <QGuiApplication>
#include <QPalette>
#include <QScreen>
#include <QWidget>
#include <cmath>

#include "forms/workspace.h"

namespace forms {

double screenDpi() {
    if (const double pinned = workspace().screen().twipsDpi; pinned > 0) return pinned;
    if (QScreen* screen = QGuiApplication::primaryScreen()) return screen->logicalDotsPerInchX();
    return 96.0;
}

void setScreenDpiForTesting(double dpi) { workspace().screen().twipsDpi = dpi; }

int twips(int value) { return static_cast<int>(std::lround(value * screenDpi() / 1440.0)); }

QRect twipsRect(int left, int top, int width, int height) {
    return QRect(twips(left), twips(top), twips(width), twips(height));
}

void placeTwips(QWidget* widget, int left, int top, int width, int height) {
    widget->setGeometry(twipsRect(left, top, width, height));
}

QColor bgrColor(quint32 value) {
    return QColor(value & 0xff, (value >> 8) & 0xff, (value >> 16) & 0xff);
}

void setBackground(QWidget* widget, quint32 bgr) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, bgrColor(bgr));
    palette.setColor(QPalette::Base, bgrColor(bgr));
    palette.setColor(QPalette::Button, bgrColor(bgr));
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

void setForeground(QWidget* widget, quint32 bgr) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, bgrColor(bgr));
    palette.setColor(QPalette::Text, bgrColor(bgr));
    palette.setColor(QPalette::ButtonText, bgrColor(bgr));
    widget->setPalette(palette);
}

QFont arialFont(double points, bool bold) {
    QFont font(QStringLiteral("Arial"));
    // Liberation Sans has Arial's metrics; fontconfig maps Arial to it, and
    // naming it as well keeps the look where no alias is set up.
    font.setFamilies({QStringLiteral("Arial"), QStringLiteral("Liberation Sans")});
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}

}  // namespace forms
