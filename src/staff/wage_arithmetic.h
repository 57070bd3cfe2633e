#pragma once

#include <QString>
#include <QtGlobal>

class QLabel;
class QLineEdit;

namespace staff {

// The wage window reads every operand from the text on screen (fields and
// labels alike, through the amount parse) and tests each result before a
// label shows it: an overflow throws and the label keeps its text.
double amountShown(const QLineEdit* field);
double amountShown(const QLabel* label);
double checkedResult(double value, const QString& figureName);

// The day's wage as a whole number of the ledger: the nearest whole number,
// ties to the even one, as a 32-bit signed integer. Throws Overflow when it
// does not fit.
qint32 wholeWage(double value, const QString& what);

// The day's Personnel rate as the daily window shows it, read strictly: the
// complete text must be a number (optionally signed, with a fraction); empty
// text is not a number. Throws TypeMismatch (with what the user should do)
// or Overflow; the number is rounded as wholeWage rounds.
qint32 wholePersonnelRate(const QString& text);

// current + wage in 32 bits; Overflow when the sum leaves that range.
qint32 checkedWholeSum(qint32 current, qint32 wage);

}  // namespace staff
