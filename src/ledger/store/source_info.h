// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>
#include <vector>

namespace ledger {

// What a record source opens on: a table or a saved query, its columns as
// the file spells them, and which of them hold amounts.
struct SourceInfo {
    QString name;                // as the file spells it
    bool isTable = false;        // false: a saved query (read-only)
    QStringList columns;         // as the file spells them
    std::vector<bool> isAmount;  // per column: an amount, stored as a number
    // A table whose row keys are handed out once and never again (its "Row
    // key" column); files made before row keys reuse SQLite's row numbers.
    bool lastingKeys = false;

    int indexOf(const QString& column) const;  // case-insensitive, -1 when unknown
};

// Quotes a name for SQL: "name" with embedded quotes doubled.
QString quoteName(const QString& name);

// The source's columns as it spells them, quoted; StoreFailure naming the
// first it does not have, `doing` first in the message.
QStringList quotedColumns(const SourceInfo& info, const QStringList& columns, const QString& doing);
// Refuses a saved query where only a table will do: StoreFailure, saying so.
void requireTable(const SourceInfo& info, const QString& doing);

}  // namespace ledger
