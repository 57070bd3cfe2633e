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
        QStringLiteral("The daily settlement window is closed, so there is no day to work on. "
                       "Open it on the day you want, then press this button again. "
                       "Nothing was changed."),
        ledger::ui::programTitle());
}

}  // namespace supplies
