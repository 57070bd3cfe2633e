// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <functional>

class QWidget;

namespace forms {

// Runs `then` once, when the event loop comes round after `window` was
// first drawn: work that may wait (a backup, say) does not share the
// machine with building and drawing the window the user waits for. A window
// hidden or destroyed before it was ever drawn runs it then, and so does
// deleting the returned object, so it is never skipped.
QObject* afterFirstPicture(QWidget* window, std::function<void()> then);

}  // namespace forms
