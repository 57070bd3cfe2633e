// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

class QWidget;

// Choosing the shop's books from the program: an existing file, or a
// database on a server. Either is remembered in tallowbrook.ini of the
// folder in use, so the next start opens the same books.
namespace shell {

// Asks for an existing books file; one the program could not open as its
// books is refused, saying why. True when the choice was remembered.
bool chooseExistingBooks(QWidget* parent);

// The server window (see server_dialog.h). True when connected and
// remembered.
bool chooseServerBooks(QWidget* parent);

}  // namespace shell
