// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QLabel;
class QLineEdit;

namespace salary {

// Operands are read from the texts on screen with the amount parse, so a
// figure fed by another figure carries exactly what that one shows.
double amountShown(const QLineEdit* field);
double amountShown(const QLabel* label);

}  // namespace salary
