// SPDX-License-Identifier: GPL-3.0-or-later
#include "salary/salary_windows.h"

#include "interfaces/window_names.h"
#include "salary/salary_window.h"
#include "salary/wage_detail_grid.h"

namespace salary {

void registerWindows() {
    // Form8 is no window here: its one command runs from Form7's "Detail".
    forms::FormWindow::registerFactory(windows::kSalaryWindow, [] { return new Form7(); });
    forms::FormWindow::registerFactory(windows::kWageDetailGrid, [] { return new Form9(); });
}

}  // namespace salary
