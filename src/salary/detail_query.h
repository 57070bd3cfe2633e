// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include "salary/rules/detail_query_text.h"

namespace salary {

// The wage-detail query text: one value for the whole program, empty at
// start. The "Detail" command writes it; the grid window reads it when it
// loads, so a grid already open keeps showing the rows it was opened with.
QString detailQueryText();
void setDetailQueryText(const QString& text);

}  // namespace salary
