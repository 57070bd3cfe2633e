// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace staff {

// Makes this subsystem's windows known to the window registry, so the daily
// window can open them by name.
void registerWindows();

}  // namespace staff
