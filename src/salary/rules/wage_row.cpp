// SPDX-License-Identifier: GPL-3.0-or-later
#include "salary/rules/wage_row.h"

#include <cfenv>
#include <cmath>
#include <limits>

#include "ledger/amount/amount.h"
#include "ledger/amount/checked_figure.h"
#include "ledger/records/row_set.h"
#include "ledger/schema/schema.h"

namespace salary {

namespace {

// A whole number below 10^15 reads back from its 15 digits as itself: the
// text need not be written (most rates, hours and wages are whole).
bool readsBackAsItself(double value) {
    return std::abs(value) < 1e15 && std::trunc(value) == value;
}

double amountOf(const QVariant& stored) {
    if (stored.isNull()) return 0;
    if (stored.typeId() == QMetaType::Double && readsBackAsItself(stored.toDouble()))
        return stored.toDouble();
    return ledger::parseAmount(ledger::fieldText(stored));
}

// A figure as the window shows it and the next figure reads it back.
double shown(double value, const QString& figure) {
    const double checked = ledger::checkedFigure(value, figure);
    if (readsBackAsItself(checked)) return checked;
    return ledger::parseAmount(ledger::amountText(checked));
}

}  // namespace

const QStringList& wageRowColumns() {
    static const QStringList columns = {
        QStringLiteral("Salary hour"),  QStringLiteral("Overtime salary hour"),
        QStringLiteral("Main hour"),    QStringLiteral("Work overtime"),
        QStringLiteral("Insurance"),    QStringLiteral("Absent-Deduct"),
        ledger::schema::kWageMonthlyPay};
    return columns;
}

double dayWageOf(const WageRowAmounts& row) {
    if (!ledger::fieldText(row.monthlyPay).isEmpty()) return amountOf(row.monthlyPay);
    const double salaryHour = shown(amountOf(row.salaryHour), QStringLiteral("the salary hour"));
    const double overtimeRate =
        shown(amountOf(row.overtimeRate), QStringLiteral("the overtime salary hour"));
    const double mainTotal =
        shown(salaryHour * amountOf(row.mainHour), QStringLiteral("the main total"));
    const double overtimeTotal =
        shown(overtimeRate * amountOf(row.workOvertime), QStringLiteral("the overtime total"));
    const double subtotal = shown(mainTotal + overtimeTotal, QStringLiteral("the subtotal"));
    const double deductions = shown(amountOf(row.insurance) + amountOf(row.absentDeduct),
                                    QStringLiteral("the deductions"));
    return shown(subtotal - deductions, QStringLiteral("the day's wage"));
}

double nearestEven(double value) {
    const int saved = std::fegetround();
    std::fesetround(FE_TONEAREST);
    const double rounded = std::nearbyint(value);
    std::fesetround(saved);
    return rounded;
}

std::optional<double> addedToDay(const WageRowAmounts& row) {
    const double rounded = nearestEven(dayWageOf(row));
    if (!(rounded >= std::numeric_limits<qint32>::min() &&
          rounded <= std::numeric_limits<qint32>::max()))
        return std::nullopt;
    return rounded;
}

}  // namespace salary
