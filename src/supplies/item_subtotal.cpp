#include "item_subtotal.h"

#include <cmath>

#include "amount.h"
#include "ledger_error.h"

namespace supplies {

namespace {

double checked(double value) {
    if (std::isnan(value))
        ledger::fail(ledger::ErrorCode::InvalidOperation,
                     QStringLiteral("Invalid operation in the subtotal"));
    if (std::isinf(value))
        ledger::fail(ledger::ErrorCode::Overflow, QStringLiteral("Overflow in the subtotal"));
    return value;
}

}  // namespace

QString itemSubtotalText(const QStringList& itemTexts) {
    double sum = 0.0;
    for (const QString& text : itemTexts) sum = checked(sum + ledger::parseAmount(text));
    return ledger::amountText(sum);
}

}  // namespace supplies
