// SPDX-License-Identifier: GPL-3.0-or-later
#include "salary/rules/staff_rates.h"

#include "ledger/query/criteria.h"
#include "ledger/query/like_match.h"
#include "ledger/records/row_set.h"
#include "ledger/schema/schema.h"
#include "ledger/store/store.h"

namespace salary {

StaffRegisterRates StaffRegisterRates::read(ledger::Store& store) {
    const QString salaryHour = QStringLiteral("Salary hour");
    const QString overtimeRate = QStringLiteral("Overtime salary hour");
    StaffRegisterRates rates;
    store.scan(ledger::schema::kStaff, {QStringLiteral("Name"), salaryHour, overtimeRate},
               [&](ledger::Store::RowKey, const std::vector<QVariant>& values) {
                   rates.staff_.push_back({values[0], ledger::fieldText(values[1]),
                                           ledger::fieldText(values[2]), values[1], values[2]});
                   // Compared as a criterion compares text: a member without
                   // a name is never found. Of two members of one name the
                   // first in the register is the one found.
                   const QString compared = ledger::criteriaText(values[0]);
                   if (!compared.isNull()) {
                       const QString key = ledger::comparisonKey(compared);
                       if (!rates.byName_.contains(key))
                           rates.byName_.insert(key, rates.staff_.size() - 1);
                   }
                   return true;
               });
    return rates;
}

const StaffRates* StaffRegisterRates::find(const QString& name) const {
    const auto it = byName_.constFind(ledger::comparisonKey(name));
    return it == byName_.constEnd() ? nullptr : &staff_[it.value()];
}

}  // namespace salary
