// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace shell {

// Registers how the login window Form10 is created.
void registerWindows();

}  // namespace shell
