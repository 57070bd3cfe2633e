// SPDX-License-Identifier: GPL-3.0-or-later
#include "supplies/item_subtotal.h"

#include <cmath>

#include "ledger/amount/amount.h"
#include "ledger/amount/checked_figure.h"
#include "ledger/base/ledger_error.h"

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
