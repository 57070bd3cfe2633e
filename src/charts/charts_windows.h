// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace charts {

// Makes the year at a glance known to the window registry, so the month
// sheet's button and the daily window's shortcut can open it by name.
void registerWindows();

}  // namespace charts
