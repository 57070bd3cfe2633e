#pragma once

#include <QString>
#include <QStringList>
#include <vector>

namespace ledger {

// What one table held, counted on each side of a copy.
struct TableTally {
    QString table;
    qint64 rows = 0;
    std::vector<double> amountTotals;  // per amount column, in the schema's order

    bool operator==(const TableTally&) const = default;
};

// Copies a whole ledger, every table row by row in key order, from one
// database to another: a file to a server database or back, or file to file.
// `from` must have everything the program needs. `to` is a file that does
// not exist yet, or a server database without the shop's tables (with
// `replace`, its tables are dropped and made anew). Afterwards the rows and
// the totals of every amount column are counted on both sides and must
// agree. A failure throws LedgerError and leaves `to` as it was: a server
// database untouched (one transaction), a file not there.
// Returns the tallies of the copy (the same on both sides).
std::vector<TableTally> copyLedger(const QString& from, const QString& to, bool replace);

}  // namespace ledger
