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

}  // namespace ledger
