// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace app {

// Every file of the program is named from its folder's name as text. A folder
// whose name is not valid UTF-8 cannot be named that way: the toolkit then
// gives an empty folder, and the program would look for "/breakfast.mdb".
// Returns the message that says so, or an empty string when the name is fine.
QString unreadableFolderMessage();

}  // namespace app
