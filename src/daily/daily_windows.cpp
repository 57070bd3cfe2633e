#include "daily/daily_windows.h"

#include "daily/daily_window.h"

namespace daily {

void registerWindows() {
    ledger::ui::FormWindow::registerFactory(QStringLiteral("Form1"), [] { return new Form1; });
}

}  // namespace daily
