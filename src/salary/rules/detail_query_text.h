// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

// The wage-detail query, as the salary window's "Detail" composes it and the
// detail grid opens it; no widgets, so the tests of the query language read
// the program's very text.
namespace salary {

// The query over the saved query "Inquiry detail" for a month pattern and a
// name pattern, each matched anywhere inside the day and the name. The
// patterns are quoted (an apostrophe is a letter, O'Brien included); callers
// check them first with patternProblem().
QString composeDetailQuery(const QString& monthPattern, const QString& namePattern);

// The columns the query selects, in the grid's order.
const QStringList& detailColumns();

// Why a typed pattern cannot be used (an open [ list, a range that runs
// backwards), or empty text when it can.
QString patternProblem(const QString& pattern);

}  // namespace salary
