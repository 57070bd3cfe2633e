// SPDX-License-Identifier: GPL-3.0-or-later
#include "charts/figures/wages_check.h"

#include <cmath>

#include "ledger/amount/amount.h"

namespace charts {

bool WagesCheck::differs() const {
    if (!problem.isEmpty() || unpriced > 0) return true;
    return std::abs(wages - booked) > roundingAllowance();
}

QString WagesCheck::why() const {
    if (!problem.isEmpty()) return problem;
    if (unpriced > 0)
        return unpriced == 1 ? QStringLiteral(
                                   "1 employee's wages cannot be priced: the staff register has "
                                   "no such name")
                             : QStringLiteral(
                                   "%1 employees' wages cannot be priced: the staff register has "
                                   "no such names")
                                   .arg(unpriced);
    if (!differs()) return {};
    return QStringLiteral("the wages come to %1 but %2 is booked as the Personnel rate")
        .arg(ledger::amountText(wages), ledger::amountText(booked));
}

}  // namespace charts
