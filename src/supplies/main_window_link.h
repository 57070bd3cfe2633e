#pragma once

#include <QString>

class QLineEdit;
class QWidget;

namespace supplies {

// The sheets read the daily window's day and write its Tableware / Articles
// field. The daily window may have been closed meanwhile; then there is no
// day to look up and no field to fill, and the sheet must not bring up a
// hidden daily window on some other day.

// The daily window's field, or nullptr when the daily window is not open
// (or lacks the field).
QLineEdit* mainWindowField(const QString& fieldName);

// Shows the daily window and brings it to the front, if it is open.
void bringMainWindowForward();

// Tells the user that the command needs the daily window; nothing changed.
void tellMainWindowClosed(QWidget* parent);

}  // namespace supplies
