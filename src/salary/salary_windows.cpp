#include "salary/salary_windows.h"

#include "salary/salary_window.h"
#include "salary/wage_detail_grid.h"

namespace salary {

void registerWindows() {
    // Form8 is no window here: its one command runs from Form7's "Detail".
    ledger::ui::FormWindow::registerFactory(QStringLiteral("Form7"), [] { return new Form7(); });
    ledger::ui::FormWindow::registerFactory(QStringLiteral("Form9"), [] { return new Form9(); });
}

}  // namespace salary
