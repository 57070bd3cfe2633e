// SPDX-License-Identifier: GPL-3.0-or-later
#include "daily/daily_windows.h"

#include "daily/daily_window.h"
#include "interfaces/window_names.h"

namespace daily {

void registerWindows() {
    forms::FormWindow::registerFactory(windows::kDailyWindow, [] { return new Form1; });
}

}  // namespace daily
