// SPDX-License-Identifier: GPL-3.0-or-later
#include "setup/staff_member.h"

#include "ledger/base/ledger_error.h"
#include "ledger/credentials/staff_password.h"
#include "ledger/schema/schema.h"
#include "ledger/store/store.h"

namespace setup {

void addStaffMember(const QString& database, const QString& name, const QString& password) {
    if (name.trimmed().isEmpty())
        ledger::fail(ledger::ErrorCode::InvalidOperation,
                     QStringLiteral("The name must not be empty; nobody was added."));
    const auto store = ledger::openStore(ledger::Connection{database});
    // The register keeps the password's salted hash, never the password.
    store->insertRow(ledger::schema::kStaff, {QStringLiteral("Name"), QStringLiteral("Password")},
                     {name, ledger::hashStaffPassword(password)});
}

bool staffRegisterIsEmpty(const QString& database) {
    return ledger::openStore(ledger::Connection{database})->rowKeys(ledger::schema::kStaff).empty();
}

}  // namespace setup
