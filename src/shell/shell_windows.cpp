#include "shell_windows.h"

#include "form10.h"

namespace shell {

void registerWindows() {
    ledger::ui::FormWindow::registerFactory(QStringLiteral("Form10"), [] { return new Form10; });
}

}  // namespace shell
