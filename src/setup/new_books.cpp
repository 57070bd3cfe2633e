// SPDX-License-Identifier: GPL-3.0-or-later
#include "setup/new_books.h"

#include <QFileInfo>

#include "ledger/base/ledger_error.h"
#include "ledger/base/owner_only.h"
#include "ledger/schema/schema.h"
#include "setup/schema_builder.h"
#include "setup/staff_member.h"

namespace setup {

NewBooks createShopBooks(const QString& folder, const QString& name, const QString& password) {
    if (name.trimmed().isEmpty())
        ledger::fail(ledger::ErrorCode::InvalidOperation,
                     QStringLiteral("The name must not be empty; no books were made."));
    ledger::makeOwnerOnlyFolder(folder);
    NewBooks books;
    books.path =
        QFileInfo(folder + QLatin1Char('/') + ledger::schema::kFileName).absoluteFilePath();
    const QFileInfo there(books.path);
    if (there.exists() || there.isSymLink()) {
        if (staffRegisterIsEmpty(books.path)) {
            addStaffMember(books.path, name, password);
            books.memberAdded = true;
        }
        return books;
    }
    writeDatabaseFile(books.path, false, false,
                      [&](const QString& newFile) { addStaffMember(newFile, name, password); });
    books.created = true;
    books.memberAdded = true;
    return books;
}

}  // namespace setup
