// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace daily {

// Registers how the daily settlement window Form1 is created.
void registerWindows();

}  // namespace daily
