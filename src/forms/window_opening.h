// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include "forms/form_window.h"

class QWidget;

namespace forms {

// How one window opens another by its name. A window this program cannot
// open is one clear message, the same wherever it is asked for, and never a
// window that silently does not appear.

// Throws LedgerError (InvalidOperation) when the window of this name is
// neither open nor one this program can create. A command asks it before it
// changes anything for the window, so that nothing is left half done.
void requireWindow(const QString& name);

// The window of this name, loaded (hidden at first) when it is not open
// yet, then shown in front of the others, non-modal. Throws as
// requireWindow, before anything is opened, when there is no such window.
FormWindow* openWindow(const QString& name);

// Shows the window, non-modal, in front of the others and ready for typing.
void bringForward(QWidget* window);

[[noreturn]] void failNoSuchWindow(const QString& name);

// The window of this name as what the caller asks of it (`Face`), loaded
// (hidden) when it is not open yet. Throws as requireWindow when there is
// no such window; a window of that name offering nothing of `Face` counts as
// none.
template <class Face>
Face* loadWindowAs(const QString& name) {
    requireWindow(name);
    auto* face = dynamic_cast<Face*>(FormWindow::loadWindow(name));
    if (!face) failNoSuchWindow(name);
    return face;
}

}  // namespace forms
