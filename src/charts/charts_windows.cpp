// SPDX-License-Identifier: GPL-3.0-or-later
#include "charts/charts_windows.h"

#include "charts/year_at_a_glance.h"
#include "interfaces/window_names.h"

namespace charts {

void registerWindows() {
    forms::FormWindow::registerFactory(windows::kYearAtAGlance, [] { return new YearAtAGlance(); });
}

}  // namespace charts
