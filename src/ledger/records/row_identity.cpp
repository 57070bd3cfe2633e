// SPDX-License-Identifier: GPL-3.0-or-later
#include "ledger/records/row_identity.h"

#include "ledger/schema/schema.h"

namespace ledger {

namespace {

bool named(const SourceInfo& info, const QString& table) {
    return info.isTable && info.name.compare(table, Qt::CaseInsensitive) == 0;
}

}  // namespace

RowIdentity rowIdentityOf(const SourceInfo& info) {
    struct Known {
        const QString& table;
        QStringList columns;
        QString noun;
    };
    static const Known known[] = {
        {schema::kLedger, {QStringLiteral("Date")}, QStringLiteral("day")},
        {schema::kStaff, {QStringLiteral("Name")}, QStringLiteral("member of staff")},
        {schema::kWages,
         {QStringLiteral("Name"), QStringLiteral("Date")},
         QStringLiteral("wage row")},
    };
    for (const Known& k : known) {
        if (!named(info, k.table)) continue;
        RowIdentity identity{{}, k.noun};
        for (const QString& column : k.columns)
            if (const int at = info.indexOf(column); at >= 0) identity.columns << info.columns[at];
        return identity;
    }
    return {};
}

bool holdsSecret(const SourceInfo& info, const QString& column) {
    return named(info, schema::kStaff) &&
           column.compare(QStringLiteral("Password"), Qt::CaseInsensitive) == 0;
}

}  // namespace ledger
