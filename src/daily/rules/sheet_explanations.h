// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace daily {

// How each computed figure of the day sheet and the month sheet is made
// from the boxes, in the shop's words, beside the rule that makes them
// (sheet_balance.h): the figures' tooltips, so an owner can follow a total
// that differs from their own sum. The two sheets add the same boxes, a
// day's or a month's.
struct SheetExplanations {
    QString administrationSubtotal, expenditureSubtotal, totalNetAmount, outOfPocket,
        smallMoneyDeducted, cashSubtotal, difference, total;
};

// `period` names the sheet's total: "day" ("The day's total: ..."), "month".
SheetExplanations sheetExplanations(const QString& period);

}  // namespace daily
