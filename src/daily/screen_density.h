// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>

namespace daily {

// The density the shop's screens report, in pixels per inch: the primary
// screen's logical dpi times its device pixel ratio. Under Qt's high-DPI
// scaling a 125 % desktop reports 96 logical dpi at a ratio of 1.25, which is
// the 120 dpi the daily window was laid out for.
double screenDensity();
void setScreenDensityForTesting(double dpi);  // 0: back to the screen's own

// How the daily window adapts to a density: its outer geometry in twips and
// the font size of the rent and date fields. The internal scale of 800 x 600
// units and the window font size only concern text the window draws itself,
// which it never does, so they have no visible effect here.
struct DensityAdaptation {
    int heightTwips;
    int leftTwips;
    int topTwips;
    int widthTwips;
    int scaleHeight;
    int scaleWidth;
    double windowFontPoints;
    double fieldFontPoints;
};

// Nothing for densities from 97 to 119: the window keeps its design size,
// place and fonts.
std::optional<DensityAdaptation> adaptationFor(double density);

}  // namespace daily
