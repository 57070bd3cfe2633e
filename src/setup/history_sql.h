// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

#include "ledger/store/sql_dialect.h"

// The SQL of the books' own history (schema.h, kHistory), for a file and a
// server: its two tables and the triggers that record every row added,
// changed or removed in the shop's tables. An added row is recorded without
// its values: the row holds them, and a later change or its removal records
// each value it held. The triggers need nothing but
// the database itself, so earlier versions and other programs write books
// that have them as before; their changes are recorded as another
// program's. This program's own connections name the till and the member
// of staff on duty (ledger/store/who_writes.h).
namespace setup::history_sql {

// The history's tables, empty, when they are not there yet.
QString makeTables(const ledger::SqlDialect& dialect);
// The triggers on `table` recording changes of `columns` (the table's
// columns as the books hold them, its row key aside).
QString makeTriggers(const ledger::SqlDialect& dialect, const QString& table,
                     const QStringList& columns);
// The tables and the triggers on the shop's tables with every column of
// this version.
QString makeHistory(const ledger::SqlDialect& dialect);
// The triggers removed, where they are there (the recorded history stays).
QString dropTriggers(const ledger::SqlDialect& dialect);
// The columns of kHistory, in order, its row key first.
const QStringList& historyColumns();
// A line every trigger of this version (and the server's function) holds,
// so that the triggers of an earlier version are told from them and made
// anew. It changes whenever what the triggers record changes.
QString versionMark();
// The SQL reading the names of a file's triggers that hold versionMark().
QString fileTriggersOfThisVersion();

}  // namespace setup::history_sql
