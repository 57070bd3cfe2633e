// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringView>
#include <optional>

namespace ledger {

// Reads a number the way the windows read a field: blanks, tabs and line
// feeds are skipped, a leading number is taken and the rest ignored, "." is
// always the decimal point, &H / &O read hexadecimal / octal whole numbers,
// and text that starts with no number reads 0. Throws Overflow beyond the
// range of a double. Never depends on the C library's locale.
double parseAmount(QStringView text);

// Writes a double the way every figure and field shows it: 15 significant
// digits, no trailing zeros, no leading blank, "." as the decimal point, and
// mantissa "E" sign exponent from 1E+15 on (and below 1E-04).
QString amountText(double value);

// The strict form an amount column accepts on write-back: optional blanks
// around an optionally signed decimal number with "." and an optional
// exponent. Empty (or blank) text is an empty value (`isEmpty`); anything
// else that is not such a number gives std::nullopt.
struct StoredAmount {
    bool isEmpty = false;
    double value = 0.0;
};
std::optional<StoredAmount> parseStoredAmount(QStringView text);

}  // namespace ledger
