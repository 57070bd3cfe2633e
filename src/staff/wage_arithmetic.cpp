// SPDX-License-Identifier: GPL-3.0-or-later
#include "staff/wage_arithmetic.h"

#include <limits>

#include "ledger/amount/amount.h"
#include "ledger/amount/checked_figure.h"
#include "ledger/base/ledger_error.h"
#include "salary/rules/wage_row.h"

namespace staff {

using ledger::ErrorCode;

namespace {

constexpr double kLowest = std::numeric_limits<qint32>::min();
constexpr double kHighest = std::numeric_limits<qint32>::max();

}  // namespace

double checkedResult(double value, const QString& figureName) {
    return ledger::checkedFigure(value, figureName);
}

qint32 wholeWage(double value, const QString& what) {
    const double rounded = salary::nearestEven(value);
    if (!(rounded >= kLowest && rounded <= kHighest))
        ledger::fail(ErrorCode::Overflow,
                     QStringLiteral("%1 (%2) is beyond the whole numbers the ledger takes "
                                    "(-2147483648 to 2147483647), so it cannot be added to the "
                                    "day's Personnel rate. Nothing was stored.\n\nCorrect the "
                                    "rates, hours or deductions (or the monthly pay in the staff "
                                    "register, if the wage came from there) and Save again; or "
                                    "give up this row: close the window and answer \"Give it "
                                    "up\".")
                         .arg(what, ledger::amountText(value)));
    return static_cast<qint32>(rounded);
}

}  // namespace staff
