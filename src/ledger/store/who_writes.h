// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// Who the books' history (schema.h, kHistory) names for a change made by
// this program: its till (the computer's name) and the member of staff
// logged in. The store's connections hand both to the books' triggers, a
// file's through a function and a trigger of this connection alone, a
// server's through two settings of its session.
namespace ledger {

// The member of staff logged in now; empty before the login.
void setStaffOnDuty(const QString& name);
QString staffOnDuty();
// Grows at every setStaffOnDuty, so a connection tells it is behind.
quint64 staffOnDutyMark();
// This till's name in the history: the computer's host name.
QString tillName();

}  // namespace ledger
