#include "staff/daily_window_link.h"

#include <QLineEdit>

#include "forms/prompts.h"
#include "interfaces/daily_window_fields.h"

namespace staff {

daily::DailyWindowFields* dailyWindow() {
    // Only an open one, never loaded: loading would create a hidden daily
    // window on its first day, and the wage would be dated or added there.
    return daily::DailyWindowFields::ifOpen();
}

void tellDailyWindowClosed(QWidget* parent) {
    ledger::ui::prompts().tell(
        parent,
        // The daily window opens only at login, so the user cannot bring it
        // back from here; closing this window still stores what was typed.
        QStringLiteral("The daily settlement window has been closed, so there is no day to "
                       "date a wage with or to add it to. Nothing was changed."),
        ledger::ui::programTitle());
}

}  // namespace staff
