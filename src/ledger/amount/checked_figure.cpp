#include "ledger/amount/checked_figure.h"

#include <cmath>

#include "ledger/base/ledger_error.h"

namespace ledger {

double checkedFigure(double value, const QString& figureName) {
    if (std::isnan(value))
        fail(ErrorCode::InvalidOperation,
             QStringLiteral("Invalid operation while computing %1.").arg(figureName));
    if (std::isinf(value))
        fail(ErrorCode::Overflow,
             QStringLiteral("Overflow while computing %1: the amounts are too large.")
                 .arg(figureName));
    return value;
}

}  // namespace ledger
