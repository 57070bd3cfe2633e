// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/picture_checks.h"

#include <QWidget>

QColor colourNearRightEdge(const QImage& picture, const QWidget* window, const QWidget* part) {
    const QPoint inside = part->mapTo(window, QPoint(part->width() - 5, part->height() / 2));
    const qreal ratio = picture.devicePixelRatio();
    return picture.pixelColor(qRound(inside.x() * ratio), qRound(inside.y() * ratio));
}
