// SPDX-License-Identifier: GPL-3.0-or-later
#include "salary/rules/staff_on_day.h"

#include "ledger/calendar/calendar_day.h"

namespace salary {

bool onStaffOn(const QString& leaveOfficeOn, const QString& day) {
    using ledger::calendar::dayNumberOf;
    using ledger::calendar::kUndatedDayNumber;
    const qint64 leaving = dayNumberOf(leaveOfficeOn);
    const qint64 working = dayNumberOf(day);
    if (leaving == kUndatedDayNumber || working == kUndatedDayNumber) return true;
    return working <= leaving;
}

}  // namespace salary
