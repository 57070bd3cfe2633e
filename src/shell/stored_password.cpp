// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/stored_password.h"

#include <QLineEdit>

#include "forms/prompts.h"
#include "ledger/base/ledger_error.h"
#include "ledger/credentials/staff_password.h"
#include "ledger/records/record_source.h"

namespace shell {

void protectPlainPassword(QWidget* window, ledger::RecordSource& staff,
                          const ledger::Bookmark& loggedInRow, QLineEdit& storedPassword,
                          const QString& password) {
    try {
        // The name look-up may have left another row of that name current.
        staff.setBookmark(loggedInRow);
        // Another till protected or changed it meanwhile: nothing to do.
        if (storedPassword.text() != password) return;
        storedPassword.setText(ledger::hashStaffPassword(password));
        staff.writeBack();
    } catch (const ledger::LedgerError& error) {
        staff.discardEdits();
        ledger::ui::prompts().tell(
            window,
            QStringLiteral("You are logged in. Your password is still kept as plain text in the "
                           "staff register, because its protected form could not be stored:\n%1\n"
                           "It is tried again at your next login.")
                .arg(error.message()),
            ledger::ui::programTitle());
    }
}

}  // namespace shell
