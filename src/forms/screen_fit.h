// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QRect>
#include <QSize>

class QWidget;

namespace forms {

// The size a window takes to show every control it holds: at least the size
// it was given, grown to its controls' extent, but never larger than the room
// its screen has (available).
QSize fittedSize(const QSize& given, const QRect& controls, const QSize& available);

// Makes a window about to be shown fit the screen it opens on with every
// control reachable, whatever the desktop's scaling: grown to hold its
// controls where the screen has room, and where it has not, its controls
// scroll inside it. No control is moved or resized; decorations that lie
// beyond the window's design on purpose do not count.
void fitToScreen(QWidget* window);

}  // namespace forms
