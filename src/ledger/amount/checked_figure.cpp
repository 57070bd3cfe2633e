// SPDX-License-Identifier: GPL-3.0-or-later
#include "ledger/amount/checked_figure.h"

#include <cmath>

#include "ledger/base/ledger_error.h"

namespace ledger {

double checkedFigure(double value, const QString& figureName) {
    if (std::isfinite(value)) return value;
    QString figure = figureName;
    if (!figure.isEmpty()) figure[0] = figure[0].toUpper();
    if (std::isnan(value))
        fail(ErrorCode::InvalidOperation,
             QStringLiteral("%1 cannot be computed from these amounts, so it keeps its last "
                            "figure. Correct the amount just typed.")
                 .arg(figure));
    fail(ErrorCode::Overflow,
         QStringLiteral("%1 would be beyond the range of a number (the amounts are too large), "
                        "so it keeps its last figure. Correct the amount just typed to a "
                        "smaller one.")
             .arg(figure));
}

}  // namespace ledger
