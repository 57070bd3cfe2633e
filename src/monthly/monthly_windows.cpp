// SPDX-License-Identifier: GPL-3.0-or-later
#include "monthly/monthly_windows.h"

#include "interfaces/window_names.h"
#include "monthly/month_sheet.h"

namespace monthly {

void registerWindows() {
    forms::FormWindow::registerFactory(windows::kMonthSheet, [] { return new Form4(); });
}

}  // namespace monthly
