// SPDX-License-Identifier: GPL-3.0-or-later
#include "ledger/store/source_info.h"

#include "ledger/base/ledger_error.h"

namespace ledger {

int SourceInfo::indexOf(const QString& column) const {
    for (int i = 0; i < columns.size(); ++i)
        if (columns[i].compare(column, Qt::CaseInsensitive) == 0) return i;
    return -1;
}

QString quoteName(const QString& name) {
    QString quoted = name;
    quoted.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

QStringList quotedColumns(const SourceInfo& info, const QStringList& columns,
                          const QString& doing) {
    QStringList quoted;
    quoted.reserve(columns.size());
    for (const QString& c : columns) {
        const int at = info.indexOf(c);
        if (at < 0)
            fail(ErrorCode::StoreFailure, QStringLiteral("%1: no such column: %2").arg(doing, c));
        quoted << quoteName(info.columns[at]);
    }
    return quoted;
}

void requireTable(const SourceInfo& info, const QString& doing) {
    if (!info.isTable)
        fail(ErrorCode::StoreFailure,
             QStringLiteral("%1: '%2' is a saved query, not a table.").arg(doing, info.name));
}

}  // namespace ledger
