// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QStringList>

#include "accountant/export_stream.h"

// How the streamed exports lay out a row for the accountant's spreadsheet.
namespace accountant {

// A day: every column the ledger has (the shop-article columns that repeat
// a tableware name told apart in plain words), then the sheet's computed
// figures balanced by the daily window's own rule: the two subtotals, the
// cash subtotal, the difference and the settlement total. A day whose
// figures are beyond the range of a number leaves them empty (and is not
// complete).
RecordLayout dayLayout(const QStringList& columns);

// A wage row: every column of the wage rows under its own name, the serial
// number kept exactly as text.
RecordLayout wageLayout(const QStringList& columns);

}  // namespace accountant
