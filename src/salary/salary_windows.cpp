#include "salary_windows.h"

#include "form7.h"
#include "form9.h"

namespace salary {

void registerWindows() {
    // Form8 is no window here: its one command runs from Form7's "Detail".
    ledger::ui::FormWindow::registerFactory(QStringLiteral("Form7"), [] { return new Form7(); });
    ledger::ui::FormWindow::registerFactory(QStringLiteral("Form9"), [] { return new Form9(); });
}

}  // namespace salary
