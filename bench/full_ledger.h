// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// Full ledgers for the benchmarks and for the scripts that time the real
// program: every column of every day filled as on a real day (consecutive
// calendar days from 1990/1/1, amounts with cents), a staff register whose
// first member logs in as Tovena / breakfast, and wage rows of twenty
// employees a day. A file, or a server database named by a postgresql://
// address (its tables made anew there). Throws LedgerError.
namespace bench {

struct LedgerSizes {
    int days = 0;
    int staff = 5;
    int wages = 0;
    // The first member's password hash; empty: "breakfast" hashed as the
    // program hashes it.
    QString passwordHash;
};

void writeFullLedger(const QString& where, const LedgerSizes& sizes);

// The i-th day from 1990/1/1 as the daily window writes dates.
QString dayText(int i);

}  // namespace bench
