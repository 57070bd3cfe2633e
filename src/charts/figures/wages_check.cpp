// SPDX-License-Identifier: GPL-3.0-or-later
#include "charts/figures/wages_check.h"

#include <cmath>

#include "ledger/amount/amount.h"

namespace charts {

bool WagesCheck::differs() const {
    if (!problem.isEmpty()) return true;
    return std::abs(wages - booked) >= 0.005;
}

QString WagesCheck::why() const {
    if (!problem.isEmpty()) return problem;
    if (!differs()) return {};
    return QStringLiteral(
               "the wage rows added %1 to their days but %2 is booked as the Personnel rate")
        .arg(ledger::amountText(wages), ledger::amountText(booked));
}

}  // namespace charts
