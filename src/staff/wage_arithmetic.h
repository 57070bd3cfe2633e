// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QtGlobal>

namespace staff {

// The wage window reads every operand from the text on screen
// (forms::amountShown) and tests each result before a label shows it:
// an overflow throws and the label keeps its text.
double checkedResult(double value, const QString& figureName);

// The day's wage as a whole number of the ledger: the nearest whole number,
// ties to the even one, as a 32-bit signed integer. Throws Overflow, saying
// what the user can do, when it does not fit; `what` names it ("The wage").
qint32 wholeWage(double value, const QString& what);

}  // namespace staff
