#include "monthly_windows.h"

#include "form4.h"

namespace monthly {

void registerWindows() {
    ledger::ui::FormWindow::registerFactory(QStringLiteral("Form4"), [] { return new Form4(); });
}

}  // namespace monthly
