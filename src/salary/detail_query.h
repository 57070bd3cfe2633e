#pragma once

#include <QString>
#include <QStringList>

namespace salary {

// The wage-detail query text: one value for the whole program, empty at
// start. The "Detail" command writes it; the grid window reads it when it
// loads, so a grid already open keeps showing the rows it was opened with.
QString detailQueryText();
void setDetailQueryText(const QString& text);

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
