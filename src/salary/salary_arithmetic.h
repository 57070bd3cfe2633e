#pragma once

class QLabel;
class QLineEdit;

namespace salary {

// Operands are read from the texts on screen with the amount parse, so a
// figure fed by another figure carries exactly what that one shows.
double amountShown(const QLineEdit* field);
double amountShown(const QLabel* label);

// a × b + c × d, and a − b, a + b, each step tested: an overflow or invalid
// operation throws before the label that would show it is written.
double checkedProductSum(double a, double b, double c, double d);
double checkedSum(double a, double b);
double checkedDifference(double a, double b);

}  // namespace salary
