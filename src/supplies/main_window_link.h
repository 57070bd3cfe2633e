#pragma once

class QWidget;

namespace daily {
class DailyWindowFields;
}

namespace ledger {
class RecordSource;
}

namespace supplies {

// The sheets read the daily window's day and write its Tableware / Articles
// field. The daily window may have been closed meanwhile; then there is no
// day to look up and no field to fill, and the sheet must not bring up a
// hidden daily window on some other day.

// The daily window's fields, or nullptr when the daily window is not open.
daily::DailyWindowFields* mainWindow();

// The daily window's day rows, or nullptr when the daily window is not open.
const ledger::RecordSource* mainWindowDays();

// Whether the daily window shows a day that is stored (not a new day being
// typed, not an empty ledger): only such a day has items of its own.
bool mainWindowDayIsStored();

// Shows the daily window and brings it to the front, if it is open.
void bringMainWindowForward();

// Tells the user that the command needs the daily window; nothing changed.
void tellMainWindowClosed(QWidget* parent);

// Tells the user that the daily window's day must be saved first.
void tellMainWindowDayNotStored(QWidget* parent);

}  // namespace supplies
