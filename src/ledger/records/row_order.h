#pragma once

#include <QVariant>

namespace ledger {

// Orders values of one column as the ledger wants them listed: day texts
// (year/month/day) by calendar, numbers by value, other texts after them in
// text order, empty values last. Day texts sort badly as plain text
// (2002/10/1 before 2002/2/1), hence the calendar.
bool rowValueLess(const QVariant& a, const QVariant& b);

}  // namespace ledger
