// SPDX-License-Identifier: GPL-3.0-or-later
#include "forms/amount_shown.h"

#include <QLabel>
#include <QLineEdit>

#include "ledger/amount/amount.h"

namespace forms {

double amountShown(const QLineEdit* field) { return ledger::parseAmount(field->text()); }

double amountShown(const QLabel* label) { return ledger::parseAmount(label->text()); }

}  // namespace forms
