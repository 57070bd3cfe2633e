// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

#include "ledger/query/criteria.h"

namespace ledger {

// The one SQL text the program composes, in its one accepted form:
//   SELECT col, col, ... FROM source [WHERE condition [AND condition]...]
//   [ORDER BY col]
// Names may be bracketed; a quoted constant may be directly followed by a
// keyword ('*2002/1*'AND). Anything else throws MalformedQuery. The parts are
// evaluated by our own code over the source's rows, never handed to SQLite.
struct SelectText {
    QStringList columns;
    QString source;
    Criterion where;  // no conditions: every row
    QString orderBy;  // empty: the source's own order

    static SelectText parse(const QString& text);
    static bool looksLikeSelect(const QString& text);
};

}  // namespace ledger
