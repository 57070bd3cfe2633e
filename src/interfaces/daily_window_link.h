// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

class QWidget;

namespace daily {
class DailyWindowFace;
}

// The supply sheets and the wage window work on the day the daily window
// shows. The daily window may have been closed meanwhile (it opens only at
// login): then there is no day to work on, and no window may bring up a
// hidden daily window on some other day instead.
namespace windows {

// The daily window if it is open, or nullptr; never loads it.
daily::DailyWindowFace* openDailyWindow();

// Tells the user that the daily window has been closed, so there is `what`
// (no day to work on, ...) and nothing was changed; `then` says what the
// user can still do.
void tellDailyWindowClosed(QWidget* parent, const QString& what, const QString& then = {});

}  // namespace windows
