#include "daily_windows.h"

#include "form1.h"

namespace daily {

void registerWindows() {
    ledger::ui::FormWindow::registerFactory(QStringLiteral("Form1"), [] { return new Form1; });
}

}  // namespace daily
