// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QHash>
#include <QString>
#include <QVariant>

namespace ledger {
class Store;
}

namespace salary {

// The monthly pay the wage rows record (what their Save added in place of
// a wage by the hour), added up per employee and month exactly as the month
// wage totals group the wage rows: by month, Name and Serial numbers, an
// empty value apart from an empty text. The salary window and the salaries
// export count it in the month's subtotal.
class MonthlyPays {
public:
    // Reads the wage rows, in one pass over them. Nothing in books whose
    // wage rows cannot record it. Throws LedgerError.
    static MonthlyPays read(ledger::Store& store);

    // The month's monthly pay for a row of the month wage totals (its
    // "Date /月", Name and Serial numbers as stored); 0 when none.
    double of(const QVariant& month, const QVariant& name, const QVariant& serial) const;
    bool isEmpty() const { return byMonth_.isEmpty(); }

private:
    QHash<QString, double> byMonth_;
};

}  // namespace salary
