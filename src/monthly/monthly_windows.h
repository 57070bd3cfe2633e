// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace monthly {

// Makes the month sheet (Form4) known to the window registry, so the daily
// window can open it by name.
void registerWindows();

}  // namespace monthly
