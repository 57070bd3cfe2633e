// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// Full ledgers for the benchmarks and for the scripts that time the real
// program: every column of every day filled as on a real day (consecutive
// calendar days from 1990/1/1, amounts with cents), a staff register whose
// first member logs in as Tovena / breakfast, and wage rows of twenty
// employees a day. A file, or a server database named by a postgresql://
// address (its tables made anew there). A file's history begins empty,
// after the filling; a server's records the filling. Throws LedgerError.
namespace bench {

struct LedgerSizes {
    int days = 0;
    int staff = 5;
    int wages = 0;
    // The first member's password hash; empty: "breakfast" hashed as the
    // program hashes it.
    QString passwordHash;
    // How the wage rows fall: twenty employees a day from the first day on
    // (a handful of employee-months), or a real shop's shape: two rows a
    // month for each member of staff in turn, spread over the ledger's
    // months, so 20,000 rows are 10,000 employee-months or more; every
    // 25th member is monthly-paid (the month's first row records a monthly
    // pay of 24000 and no hours).
    bool realShop = false;
};

void writeFullLedger(const QString& where, const LedgerSizes& sizes);

// The i-th day from 1990/1/1 as the daily window writes dates.
QString dayText(int i);

}  // namespace bench
