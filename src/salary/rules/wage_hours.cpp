// SPDX-License-Identifier: GPL-3.0-or-later
#include "salary/rules/wage_hours.h"

#include "ledger/amount/amount.h"

namespace salary {

namespace {

constexpr double kHoursInADay = 24;

}  // namespace

QString hoursDoubt(const TypedHours& hours) {
    const double main = hours.mainHour;
    const double overtime = hours.workOvertime;
    if (main < 0 || overtime < 0)
        return QStringLiteral("negative hours (Main hour %1, Work overtime %2)")
            .arg(ledger::amountText(main), ledger::amountText(overtime));
    if (main + overtime > kHoursInADay)
        return QStringLiteral("%1 hours in one day (Main hour %2, Work overtime %3)")
            .arg(ledger::amountText(main + overtime), ledger::amountText(main),
                 ledger::amountText(overtime));
    if (!hours.byTheMonth && hours.mainHourEmpty && hours.workOvertimeEmpty)
        return QStringLiteral("no hours at all (Main hour and Work overtime are empty)");
    return {};
}

}  // namespace salary
