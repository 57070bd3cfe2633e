#include "supplies/main_window_link.h"

#include <QLineEdit>

#include "forms/data_control.h"
#include "forms/prompts.h"
#include "interfaces/daily_window_fields.h"
#include "ledger/records/record_source.h"

namespace supplies {

daily::DailyWindowFields* mainWindow() {
    // Only an open one, never loaded: loading would create a hidden daily
    // window on its first day, and the sheet would fill the wrong day.
    return daily::DailyWindowFields::ifOpen();
}

const ledger::RecordSource* mainWindowDays() {
    daily::DailyWindowFields* main = mainWindow();
    return main ? &main->days()->source() : nullptr;
}

bool mainWindowDayIsStored() {
    const ledger::RecordSource* days = mainWindowDays();
    return days && days->isOpen() && days->hasCurrentRow() && !days->isNewRow();
}

void bringMainWindowForward() {
    if (daily::DailyWindowFields* fields = mainWindow()) {
        ledger::ui::FormWindow* main = fields->formWindow();
        main->show();
        main->raise();
        main->activateWindow();
    }
}

void tellMainWindowClosed(QWidget* parent) {
    ledger::ui::prompts().tell(
        parent,
        // The daily window opens only at login, so the user cannot bring it
        // back now; closing the sheet is the way on, and it keeps the items.
        QStringLiteral("The daily settlement window has been closed, so there is no day to "
                       "work on. Nothing was changed. Closing this sheet still stores its "
                       "items."),
        ledger::ui::programTitle());
}

void tellMainWindowDayNotStored(QWidget* parent) {
    ledger::ui::prompts().tell(
        parent,
        QStringLiteral("The daily window's day has not been saved yet, so it has no items to "
                       "show here, and this sheet's items belong to another day. Nothing was "
                       "changed. Save the day in the daily window first, then press \"By here "
                       "day\"."),
        ledger::ui::programTitle());
}

}  // namespace supplies
