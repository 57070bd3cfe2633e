// SPDX-License-Identifier: GPL-3.0-or-later
#include "salary/rules/staff_rates.h"

#include "ledger/query/criteria.h"
#include "ledger/records/row_set.h"
#include "ledger/schema/schema.h"
#include "ledger/store/store.h"
#include "salary/rules/salary_rules.h"

namespace salary {

StaffRegisterRates StaffRegisterRates::read(ledger::Store& store) {
    const QString salaryHour = QStringLiteral("Salary hour");
    const QString overtimeRate = QStringLiteral("Overtime salary hour");
    StaffRegisterRates rates;
    store.scan(ledger::schema::kStaff, {QStringLiteral("Name"), salaryHour, overtimeRate},
               [&](ledger::Store::RowKey, const std::vector<QVariant>& values) {
                   rates.staff_.push_back({values[0], ledger::fieldText(values[1]),
                                           ledger::fieldText(values[2]), values[1], values[2]});
                   return true;
               });
    return rates;
}

const StaffRates* StaffRegisterRates::find(const QString& name) const {
    const QString criterion = staffLookupCriterion(name);
    if (!ledger::Criterion::isWellFormed(criterion)) return nullptr;
    const ledger::Criterion lookup = ledger::Criterion::parse(criterion);
    for (const StaffRates& member : staff_)
        if (lookup.matches({member.name})) return &member;
    return nullptr;
}

}  // namespace salary
