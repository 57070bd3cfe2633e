#pragma once

class QWidget;

namespace daily {
class DailyWindowFields;
}

namespace staff {

// The wage window reads the daily window's day and adds to its Personnel
// rate. The daily window may have been closed meanwhile: then there is no
// day to date a wage with and no figure to add it to, and the wage window
// must not bring up a hidden daily window on some other day.

// The daily window's fields, or nullptr when the daily window is not open.
daily::DailyWindowFields* dailyWindow();

// Tells the user that the command needs the daily window; nothing changed.
void tellDailyWindowClosed(QWidget* parent);

}  // namespace staff
