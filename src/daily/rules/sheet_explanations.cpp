// SPDX-License-Identifier: GPL-3.0-or-later
#include "daily/rules/sheet_explanations.h"

namespace daily {

SheetExplanations sheetExplanations(const QString& period) {
    const QString empty = QStringLiteral(" An empty box counts 0.");
    return {
        QStringLiteral("Administration's subtotal: Rant + Partner + Electric rate + Telephone "
                       "rate + Water rate + Personnel rate + Income tax + Board expenses + Main "
                       "payment + Insurance.") +
            empty,
        QStringLiteral("Subtotal of the expenditure: Bread trader + General materials + Noodles "
                       "+ Fruit + Egg + Gas + Beverage + Miscellaneous + Tableware + Articles in "
                       "the shop.") +
            empty,
        QStringLiteral("Total net amount: Turnover + Small incidental money."),
        QStringLiteral("Out-of-pocket expenses: the Subtotal of the expenditure again."),
        QStringLiteral("Deduct the small incidental money: the Small incidental money again."),
        QStringLiteral("Subtotal of the cash: Total net amount - Out-of-pocket expenses - Deduct "
                       "the small incidental money; that is, Turnover - Subtotal of the "
                       "expenditure."),
        QStringLiteral("Difference: Accept cashes in fact - Subtotal of the cash."),
        QStringLiteral("The %1's total: Subtotal of the cash - Administration's subtotal; "
                       "that is, Turnover - Subtotal of the expenditure - Administration's "
                       "subtotal. The expenditure is taken off once, inside the Subtotal of "
                       "the cash.")
            .arg(period),
    };
}

}  // namespace daily
