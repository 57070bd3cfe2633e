#include "item_subtotal.h"

#include <cmath>

#include "amount.h"
#include "checked_figure.h"
#include "ledger_error.h"

namespace supplies {

namespace {

double checked(double value) {
    return ledger::checkedFigure(value, QStringLiteral("the subtotal"));
}

}  // namespace

QString itemSubtotalText(const QStringList& itemTexts) {
    double sum = 0.0;
    for (const QString& text : itemTexts) sum = checked(sum + ledger::parseAmount(text));
    return ledger::amountText(sum);
}

}  // namespace supplies
