#pragma once

#include <QString>
#include <initializer_list>

class QLabel;
class QLineEdit;

namespace monthly {

// Every figure reads its operands from the texts on screen: fields and
// labels alike go through the amount parse, so a figure fed by another
// figure carries exactly what that one shows.
double amountShown(const QLineEdit* field);
double amountShown(const QLabel* label);

// Left-to-right sum and difference, tested after each step: an overflow or
// invalid operation throws before any label is written.
double checkedSum(std::initializer_list<double> terms);
double checkedDifference(double first, std::initializer_list<double> deducted);

}  // namespace monthly
