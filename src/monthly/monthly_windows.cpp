#include "monthly/monthly_windows.h"

#include "monthly/month_sheet.h"

namespace monthly {

void registerWindows() {
    ledger::ui::FormWindow::registerFactory(QStringLiteral("Form4"), [] { return new Form4(); });
}

}  // namespace monthly
