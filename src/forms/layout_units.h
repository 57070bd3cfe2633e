// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QFont>
#include <QRect>

class QWidget;

namespace forms {

// Windows place controls in twips (1440 to the inch), as the shop's original
// forms were drawn, converted for the screen's logical density.
int twips(int value);
QRect twipsRect(int left, int top, int width, int height);
void placeTwips(QWidget* widget, int left, int top, int width, int height);
double screenDpi();                       // logical dpi used for the conversion
void setScreenDpiForTesting(double dpi);  // 0: back to the screen's own

// &H00BBGGRR colour values (low byte red).
QColor bgrColor(quint32 value);
void setBackground(QWidget* widget, quint32 bgr);
void setForeground(QWidget* widget, quint32 bgr);

// Arial in points; drawn with the metric-compatible Liberation Sans.
QFont arialFont(double points, bool bold);

}  // namespace forms
