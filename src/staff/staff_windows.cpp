// SPDX-License-Identifier: GPL-3.0-or-later
#include "staff/staff_windows.h"

#include "interfaces/window_names.h"
#include "staff/day_wages.h"
#include "staff/staff_register.h"
#include "staff/wage_window.h"

namespace staff {

void registerWindows() {
    forms::FormWindow::registerFactory(windows::kWageWindow, [] { return new Form5; });
    forms::FormWindow::registerFactory(windows::kStaffRegister, [] { return new Form6; });
    forms::FormWindow::registerFactory(windows::kDayWages, [] { return new DayWages; });
}

}  // namespace staff
