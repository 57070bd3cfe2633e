// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace history {

// Makes the History… window known to the window registry, so the daily
// window and the wage window can open it by name.
void registerWindows();

}  // namespace history
