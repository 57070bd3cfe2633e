// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace supplies {

// Makes the tableware sheet (Form2) and the shop-articles sheet (Form3)
// known to the window registry, so the daily window can open them by name.
void registerWindows();

}  // namespace supplies
