// SPDX-License-Identifier: GPL-3.0-or-later
#include "salary/rules/salary_rules.h"

#include "ledger/amount/amount.h"
#include "ledger/amount/checked_figure.h"
#include "ledger/query/quoted_text.h"

namespace salary {

namespace {

double checked(double value) { return ledger::checkedFigure(value, QStringLiteral("the salary")); }

}  // namespace

double salarySubtotal(double salaryHour, double workHours, double overtimeHours,
                      double overtimeRate, double monthlyPay) {
    const double byTheHour =
        checked(checked(salaryHour * workHours) + checked(overtimeHours * overtimeRate));
    return monthlyPay == 0 ? byTheHour : checked(byTheHour + monthlyPay);
}

double salaryDeductions(double insurance, double absentDeduct) {
    return checked(insurance + absentDeduct);
}

double actualSalary(double subtotal, double deductions) { return checked(subtotal - deductions); }

MonthSalaryFigures monthSalary(const MonthSalaryFields& shown) {
    using ledger::amountText;
    using ledger::parseAmount;
    MonthSalaryFigures figures;
    figures.subtotal =
        amountText(salarySubtotal(parseAmount(shown.salaryHour), parseAmount(shown.workHours),
                                  parseAmount(shown.overtimeHours), parseAmount(shown.overtimeRate),
                                  parseAmount(shown.monthlyPay)));
    figures.deductions =
        amountText(salaryDeductions(parseAmount(shown.insurance), parseAmount(shown.absentDeduct)));
    figures.actualSalary =
        amountText(actualSalary(parseAmount(figures.subtotal), parseAmount(figures.deductions)));
    return figures;
}

QString staffLookupCriterion(const QString& name) {
    // This very name, whatever it holds: quoted, its pattern characters
    // standing for themselves.
    return QStringLiteral("Name like ") + ledger::quotedText(ledger::likeLiteral(name));
}

}  // namespace salary
