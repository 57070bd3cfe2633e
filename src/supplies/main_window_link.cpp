#include "main_window_link.h"

#include <QLineEdit>

#include "form_window.h"
#include "prompts.h"

namespace supplies {

namespace {

const QString kMainWindow = QStringLiteral("Form1");

}  // namespace

QLineEdit* mainWindowField(const QString& fieldName) {
    // find(), never loadWindow(): loading would create a hidden daily window
    // on its first day, and the sheet would fill the wrong day.
    ledger::ui::FormWindow* main = ledger::ui::FormWindow::find(kMainWindow);
    return main ? main->findChild<QLineEdit*>(fieldName) : nullptr;
}

void bringMainWindowForward() {
    if (ledger::ui::FormWindow* main = ledger::ui::FormWindow::find(kMainWindow)) {
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

}  // namespace supplies
