#include "staff/staff_windows.h"

#include "staff/staff_register.h"
#include "staff/wage_window.h"

namespace staff {

void registerWindows() {
    ledger::ui::FormWindow::registerFactory(QStringLiteral("Form5"), [] { return new Form5; });
    ledger::ui::FormWindow::registerFactory(QStringLiteral("Form6"), [] { return new Form6; });
}

}  // namespace staff
