// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace ledger {

// Every sum, difference and product a window computes is tested before a
// figure shows it: a result beyond the range of a double fails with Overflow
// (error 6), one that is no number with InvalidOperation. `figureName` says
// in the message which figure was being computed.
double checkedFigure(double value, const QString& figureName);

}  // namespace ledger
