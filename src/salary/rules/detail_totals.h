// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QStringList>

namespace salary {

// The closing line of the printed wage detail, one cell per detail column:
// "Total" under the date, the number of wage rows under the name, the sum of
// the hours and of the wages, and under Absent and Ask for leave the number
// of days that say "Yes". A cell that is not a number counts nothing; the
// sums are shown as every figure is.
QStringList detailTotals(const QList<QStringList>& lines);

}  // namespace salary
