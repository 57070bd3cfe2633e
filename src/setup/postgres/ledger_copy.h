// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <vector>

namespace setup {

// What one table held, counted on each side of a copy: its rows, the total
// of each amount column, and a digest of each column's values in key order,
// so that any value that did not arrive as it was read (a text cut short, a
// figure rounded) is found, not only a row missing.
struct TableTally {
    QString table;
    qint64 rows = 0;
    QStringList amountColumns;
    std::vector<double> amountTotals;  // per amount column, in the schema's order
    QStringList columns;
    std::vector<QByteArray> columnDigests;  // per column, in the schema's order

    // Totals that are not a number on both sides agree.
    bool operator==(const TableTally& other) const;
};

// How the tally of what was stored differs from that of what was read, in
// words (the rows, the total of a column, the values of a column); empty
// when they agree.
QString tallyDifference(const TableTally& read, const TableTally& stored);

// Copies a whole ledger, every table row by row in key order, from one
// database to another: a file to a server database or back, or file to file.
// `from` must have everything the program needs. `to` is a file that does
// not exist yet, or a server database without the shop's tables (with
// `replace`, its tables are dropped and made anew). Afterwards the rows and
// the totals of every amount column are counted on both sides and must
// agree, and so must every column's values, compared as the bytes each side
// stored. A text holding a NUL character, which a server database cannot
// store, and a text whose bytes are no UTF-8, which the program cannot carry
// as it is, are refused by their table, row and column before anything is
// kept. A failure throws LedgerError and leaves
// `to` as it was: a server database untouched (one transaction), a file not
// there.
// Returns the tallies of the copy (the same on both sides).
std::vector<TableTally> copyLedger(const QString& from, const QString& to, bool replace);

}  // namespace setup
