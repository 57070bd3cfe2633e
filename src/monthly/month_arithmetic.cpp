#include "monthly/month_arithmetic.h"

#include <QLabel>
#include <QLineEdit>
#include <cmath>

#include "ledger/amount/amount.h"
#include "ledger/amount/checked_figure.h"
#include "ledger/base/ledger_error.h"

namespace monthly {

namespace {

double checked(double value) {
    return ledger::checkedFigure(value, QStringLiteral("the month's figures"));
}

}  // namespace

double amountShown(const QLineEdit* field) { return ledger::parseAmount(field->text()); }

double amountShown(const QLabel* label) { return ledger::parseAmount(label->text()); }

double checkedSum(std::initializer_list<double> terms) {
    double sum = 0.0;
    for (double term : terms) sum = checked(sum + term);
    return sum;
}

double checkedDifference(double first, std::initializer_list<double> deducted) {
    double result = first;
    for (double term : deducted) result = checked(result - term);
    return result;
}

}  // namespace monthly
