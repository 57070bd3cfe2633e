// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QLabel;
class QLineEdit;

namespace forms {

// The amount a field or a figure shows, read from its text with the amount
// parse (empty or non-numeric text counts 0, a leading number is read). A
// figure fed by another figure is computed from this, so it carries exactly
// what that one shows, to the last digit, not the full double behind it.
double amountShown(const QLineEdit* field);
double amountShown(const QLabel* label);

}  // namespace forms
