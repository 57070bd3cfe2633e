// SPDX-License-Identifier: GPL-3.0-or-later
#include "history/history_windows.h"

#include "history/history_window.h"
#include "interfaces/window_names.h"

namespace history {

void registerWindows() {
    forms::FormWindow::registerFactory(windows::kHistoryWindow, [] { return new HistoryWindow(); });
}

}  // namespace history
