// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/shell_windows.h"

#include "interfaces/window_names.h"
#include "shell/login_window.h"

namespace shell {

void registerWindows() {
    forms::FormWindow::registerFactory(windows::kLoginWindow, [] { return new Form10; });
}

}  // namespace shell
