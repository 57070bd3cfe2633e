// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

namespace supplies {

// The sheet's subtotal: every item text read as an amount (no number counts
// 0), added left to right, written as amount text. The sum is tested after
// each addition, so an overflow throws before anything shows it.
QString itemSubtotalText(const QStringList& itemTexts);

}  // namespace supplies
