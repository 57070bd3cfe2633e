// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QImage>

class QWidget;

// What a rendered window shows a few pixels inside the right edge of one of
// its parts, half-way down: the part's own background, past the end of a
// left-aligned or centred text. `picture` is `window`'s grab.
QColor colourNearRightEdge(const QImage& picture, const QWidget* window, const QWidget* part);
