// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

#include "ledger/calendar/calendar_sql.h"
#include "ledger/schema/schema.h"

// The SQL of the month totals, in one place for both engines: the saved
// queries that add the days (or the wage rows) up per month, and the kept
// totals (schema.h, KeptTotals) that hold the same rows ready, made with an
// index on the rows' calendar day and the triggers that keep them. The
// saved query and the kept rows add up the same rows in the same order (the
// order the rows were added), so their figures are the very same numbers:
// on a file SQLite's SUM over the month's rows in key order, on a server the
// scaled sum of totals_sql.cpp (which says why), ordered by the row key.
namespace setup::totals_sql {

using ledger::calendar::SqlDialect;

// The saved query's SELECT: one row per month (and group), in its order.
QString savedQuerySelect(SqlDialect dialect, const ledger::schema::KeptTotals& kept);

// Makes the kept table (empty), the index on the rows' calendar day and
// what keeps the table (triggers; on a server their functions as well).
QString makeKept(SqlDialect dialect, const ledger::schema::KeptTotals& kept);
// Fills the kept table afresh from the rows.
QString refillKept(SqlDialect dialect, const ledger::schema::KeptTotals& kept);
// Drops all of it, where it is there.
QString dropKept(SqlDialect dialect, const ledger::schema::KeptTotals& kept);

// The index on the rows' calendar day (and groups) that the triggers use.
QString dayIndexName(const ledger::schema::KeptTotals& kept);

}  // namespace setup::totals_sql
