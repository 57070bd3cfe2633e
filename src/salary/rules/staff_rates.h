// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

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
    // name lookup matches; none for a name the lookup cannot hold (an
    // apostrophe), as in the window.
    const StaffRates* find(const QString& name) const;

private:
    std::vector<StaffRates> staff_;
};

}  // namespace salary
