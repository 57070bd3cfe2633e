// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QWidget;

namespace salary {

// The wage-detail command ("Detail" on the monthly salary window): asks for a
// month pattern and a name pattern, offering the salary window's month and
// name, writes the detail query text and opens the grid window (or brings it
// forward with the rows it already shows).
//
// A pattern that cannot go into the query is named in one message; the query
// text is then left empty, so a grid opened by it lists no rows.
void runDetailQueryCommand(QWidget* parent);

}  // namespace salary
