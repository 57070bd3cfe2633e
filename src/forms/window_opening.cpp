// SPDX-License-Identifier: GPL-3.0-or-later
#include "forms/window_opening.h"

#include "ledger/base/ledger_error.h"

namespace forms {

void failNoSuchWindow(const QString& name) {
    ledger::fail(ledger::ErrorCode::InvalidOperation,
                 QStringLiteral("The window %1 is not part of this program.").arg(name));
}

void requireWindow(const QString& name) {
    if (!FormWindow::find(name) && !FormWindow::canCreate(name)) failNoSuchWindow(name);
}

FormWindow* openWindow(const QString& name) {
    FormWindow* window = loadWindowAs<FormWindow>(name);
    bringForward(window);
    return window;
}

void bringForward(QWidget* window) {
    window->show();
    window->raise();
    window->activateWindow();
}

}  // namespace forms
