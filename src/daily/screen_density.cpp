// SPDX-License-Identifier: GPL-3.0-or-later
#include "daily/screen_density.h"

#include <QGuiApplication>
#include <QScreen>

#include "forms/workspace.h"

namespace daily {

double screenDensity() {
    if (const double pinned = forms::workspace().screen().density; pinned > 0) return pinned;
    if (QScreen* screen = QGuiApplication::primaryScreen())
        return screen->logicalDotsPerInchX() * screen->devicePixelRatio();
    return 96.0;
}

void setScreenDensityForTesting(double dpi) { forms::workspace().screen().density = dpi; }

std::optional<DensityAdaptation> adaptationFor(double density) {
    // The screen query answers in whole pixels per inch.
    const int dpi = static_cast<int>(density + 0.5);
    if (dpi <= 96) return DensityAdaptation{9000, 0, 0, 12000, 600, 800, 16, 12};
    if (dpi >= 120) return DensityAdaptation{7200, 0, 0, 9600, 600, 800, 13, 9};
    return std::nullopt;
}

}  // namespace daily
