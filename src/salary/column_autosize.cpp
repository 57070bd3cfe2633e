// SPDX-License-Identifier: GPL-3.0-or-later
#include "salary/column_autosize.h"

#include <QFontMetricsF>
#include <QPaintDevice>
#include <cfenv>
#include <cmath>

namespace salary {

namespace {
constexpr int kRoomTwips = 700;
constexpr double kTwipsPerInch = 1440.0;
}  // namespace

QString longestByCharacters(const QStringList& columnTexts) {
    QString longest;
    for (const QString& text : columnTexts)
        if (text.size() > longest.size()) longest = text;  // strictly more: uppermost wins
    return longest;
}

int autosizedWidthTwips(const QString& text, const QFont& font, const QPaintDevice* device) {
    // QFontMetricsF takes a non-const device but only reads its density.
    auto* measured = const_cast<QPaintDevice*>(device);
    const double pixels = QFontMetricsF(font, measured).horizontalAdvance(text);
    const double dpi = device->logicalDpiX();
    // std::nearbyint rounds in the current mode; the default is to nearest,
    // ties to even, which is what the width wants. Make sure of it.
    const int mode = std::fegetround();
    std::fesetround(FE_TONEAREST);
    const double twips = std::nearbyint(pixels * kTwipsPerInch / dpi);
    std::fesetround(mode);
    return static_cast<int>(twips) + kRoomTwips;
}

}  // namespace salary
