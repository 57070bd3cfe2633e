#include "shell/shell_windows.h"

#include "shell/login_window.h"

namespace shell {

void registerWindows() {
    ledger::ui::FormWindow::registerFactory(QStringLiteral("Form10"), [] { return new Form10; });
}

}  // namespace shell
