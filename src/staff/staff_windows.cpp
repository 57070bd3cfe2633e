#include "staff_windows.h"

#include "form5.h"
#include "form6.h"

namespace staff {

void registerWindows() {
    ledger::ui::FormWindow::registerFactory(QStringLiteral("Form5"), [] { return new Form5; });
    ledger::ui::FormWindow::registerFactory(QStringLiteral("Form6"), [] { return new Form6; });
}

}  // namespace staff
