// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QWidget;

namespace shell {

// The books in use, when an earlier version made them, get what this
// version keeps in them (setup::upkeepAtStart), and the user is told once,
// in one message over `parent`, what they got or why they could not. Books
// this version has been at are only looked at. Never stops the program:
// books that could not get it keep working as before.
void upkeepBooksInUse(QWidget* parent);

}  // namespace shell
