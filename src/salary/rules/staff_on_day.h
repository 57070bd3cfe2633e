// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace salary {

// Whether a member of staff whose register row says `leaveOfficeOn`
// ("Leave office on day") is still on the staff on the day `day`: nobody
// leaves before the day they leave, so the day of leaving counts; an empty
// or undated leaving day (not a calendar day) leaves nobody out, and
// neither does an undated `day`, which no calendar orders.
bool onStaffOn(const QString& leaveOfficeOn, const QString& day);

}  // namespace salary
