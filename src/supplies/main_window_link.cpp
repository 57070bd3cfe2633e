#include "main_window_link.h"

#include <QLineEdit>

#include "data_control.h"
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

const ledger::RecordSource* mainWindowDays() {
    ledger::ui::FormWindow* main = ledger::ui::FormWindow::find(kMainWindow);
    auto* data =
        main ? main->findChild<ledger::ui::DataControl*>(QStringLiteral("Data1")) : nullptr;
    return data ? &data->source() : nullptr;
}

bool mainWindowDayIsStored() {
    const ledger::RecordSource* days = mainWindowDays();
    return days && days->isOpen() && days->hasCurrentRow() && !days->isNewRow();
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
