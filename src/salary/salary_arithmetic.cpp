#include "salary_arithmetic.h"

#include <QLabel>
#include <QLineEdit>
#include <cmath>

#include "amount.h"
#include "checked_figure.h"
#include "ledger_error.h"

namespace salary {

namespace {

double checked(double value) { return ledger::checkedFigure(value, QStringLiteral("the salary")); }

}  // namespace

double amountShown(const QLineEdit* field) { return ledger::parseAmount(field->text()); }

double amountShown(const QLabel* label) { return ledger::parseAmount(label->text()); }

double checkedProductSum(double a, double b, double c, double d) {
    return checked(checked(a * b) + checked(c * d));
}

double checkedSum(double a, double b) { return checked(a + b); }

double checkedDifference(double a, double b) { return checked(a - b); }

}  // namespace salary
