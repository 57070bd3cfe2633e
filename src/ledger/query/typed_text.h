// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace ledger {

// A typed search answer with the blanks at both ends cut off. Only blanks:
// a tab or any other space character belongs to what was asked for.
QString withoutOuterBlanks(const QString& text);

}  // namespace ledger
