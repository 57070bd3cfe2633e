// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

#include "ledger/store/source_info.h"

namespace ledger {

// What a row of a table is about, besides its key: the day of a ledger row,
// the name of a member of staff, the name and day of a wage row. A write-back
// stores only into a row that still holds what the window showed there, so
// an edit never lands in another day or another person's row, whatever the
// keys came to name (a ledger copied or restored meanwhile).
struct RowIdentity {
    QStringList columns;  // as the row set spells them; empty for other sources
    QString noun;         // what such a row is, for messages: "day", ...
};

RowIdentity rowIdentityOf(const SourceInfo& info);

// Whether a column holds a secret (a staff password or its hash): its values
// never appear in a message.
bool holdsSecret(const SourceInfo& info, const QString& column);

}  // namespace ledger
