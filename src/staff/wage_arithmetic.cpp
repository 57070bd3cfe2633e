#include "staff/wage_arithmetic.h"

#include <QLabel>
#include <QLineEdit>
#include <cfenv>
#include <cmath>
#include <limits>

#include "ledger/amount/amount.h"
#include "ledger/amount/checked_figure.h"
#include "ledger/base/ledger_error.h"

namespace staff {

using ledger::ErrorCode;

namespace {

constexpr double kLowest = std::numeric_limits<qint32>::min();
constexpr double kHighest = std::numeric_limits<qint32>::max();

// Ties go to the even neighbour (banker's rounding), whatever rounding mode
// some library left behind.
double nearestEven(double value) {
    const int saved = std::fegetround();
    std::fesetround(FE_TONEAREST);
    const double rounded = std::nearbyint(value);
    std::fesetround(saved);
    return rounded;
}

}  // namespace

double amountShown(const QLineEdit* field) { return ledger::parseAmount(field->text()); }

double amountShown(const QLabel* label) { return ledger::parseAmount(label->text()); }

double checkedResult(double value, const QString& figureName) {
    return ledger::checkedFigure(value, figureName);
}

qint32 wholeWage(double value, const QString& what) {
    const double rounded = nearestEven(value);
    if (!(rounded >= kLowest && rounded <= kHighest))
        ledger::fail(ErrorCode::Overflow,
                     QStringLiteral("Overflow: %1 (%2) is too large to be added to the day's "
                                    "Personnel rate. Correct the figures, then Save again.")
                         .arg(what, ledger::amountText(value)));
    return static_cast<qint32>(rounded);
}

qint32 wholePersonnelRate(const QString& text) {
    const auto amount = ledger::parseStoredAmount(text);
    if (!amount || amount->isEmpty)
        ledger::fail(ErrorCode::TypeMismatch,
                     QStringLiteral("Type mismatch: the day's Personnel rate in the daily "
                                    "settlement window (\"%1\") is not a number, so the wage "
                                    "cannot be added to it. Type a number there (0 if the day "
                                    "has no personnel cost yet), then Save again. Nothing was "
                                    "changed.")
                         .arg(text));
    return wholeWage(amount->value, QStringLiteral("the day's Personnel rate"));
}

qint32 checkedWholeSum(qint32 current, qint32 wage) {
    const qint64 sum = qint64(current) + qint64(wage);
    if (sum < std::numeric_limits<qint32>::min() || sum > std::numeric_limits<qint32>::max())
        ledger::fail(ErrorCode::Overflow,
                     QStringLiteral("Overflow: the day's Personnel rate plus this wage is too "
                                    "large. Correct the figures, then Save again."));
    return static_cast<qint32>(sum);
}

}  // namespace staff
