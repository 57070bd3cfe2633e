// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QHash>
#include <QString>
#include <QVariant>
#include <vector>

namespace ledger {
class Store;
}

namespace salary {

// One member of staff's current rates, as the register holds them.
struct StaffRates {
    QVariant name;
    QString salaryHour;  // as the register's field shows it
    QString overtimeRate;
    QVariant salaryHourValue;  // as stored
    QVariant overtimeRateValue;
};

// The staff register's rates, in the register's order, and the look-up the
// salary window makes for a month row's name.
class StaffRegisterRates {
public:
    // Reads the register; throws LedgerError.
    static StaffRegisterRates read(ledger::Store& store);

    // The first member, in the register's order, that the salary window's
    // name lookup matches: the whole name, without regard to case, its
    // pattern characters and apostrophes standing for themselves. Looked up
    // in a hash, so pricing every month of the books reads each name once.
    const StaffRates* find(const QString& name) const;

private:
    std::vector<StaffRates> staff_;
    QHash<QString, size_t> byName_;  // by comparisonKey of the name
};

}  // namespace salary
