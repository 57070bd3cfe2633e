// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/stored_password.h"

#include <QLineEdit>

#include "forms/prompts.h"
#include "ledger/base/ledger_error.h"
#include "ledger/credentials/staff_password.h"
#include "ledger/records/record_source.h"

namespace shell {

namespace {

// Whether the row stores a password's protected form now: another till
// logging in with the same password a moment before stored it, and nothing
// is left to do or say.
bool protectedMeanwhile(ledger::RecordSource& staff) {
    try {
        const QString column = QStringLiteral("Password");
        staff.showStored(column);
        return ledger::isStaffPasswordHash(staff.readValue(column).toString());
    } catch (const ledger::LedgerError&) {  // the failure being said says enough
        return false;
    }
}

}  // namespace

void protectPlainPassword(QWidget* window, ledger::RecordSource& staff,
                          const ledger::Bookmark& loggedInRow, QLineEdit& storedPassword,
                          const QString& password) {
    try {
        // Made first: another till logging in meanwhile has less time to
        // store its own between the look at the row and the write.
        const QString hash = ledger::hashStaffPassword(password);
        // The name look-up may have left another row of that name current.
        staff.setBookmark(loggedInRow);
        // Another till protected or changed it meanwhile: nothing to do.
        if (storedPassword.text() != password) return;
        storedPassword.setText(hash);
        staff.writeBack();
    } catch (const ledger::LedgerError& error) {
        staff.discardEdits();
        if (error.code() == ledger::ErrorCode::ChangedElsewhere && protectedMeanwhile(staff))
            return;
        forms::tell(
            window,
            QStringLiteral("You are logged in. Your password is still kept as plain text in the "
                           "staff register, because its protected form could not be stored:\n%1\n"
                           "It is tried again at your next login.")
                .arg(error.message()));
    }
}

}  // namespace shell
