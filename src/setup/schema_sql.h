// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include "ledger/schema/schema.h"
#include "ledger/store/sql_dialect.h"

// The statements that make the shop's tables and saved queries, written once
// for a file and a server: the same tables, the same rows in the same order
// from every saved query, only spelled as each engine spells it.
namespace setup::schema_sql {

// The tables, the index of days, and the choice lists' two rows; on a
// server, each table's count of removals too.
QString createTables(const ledger::SqlDialect& dialect);
// A server's counts of removals and what keeps them, where they are there
// (to go with its tables, which dropping them leaves behind).
QString dropRemovalCounters();
// The saved queries (views).
QString createViews(const ledger::SqlDialect& dialect);
// The kept month totals' tables and the triggers that keep them, empty.
QString makeKeptTotals(const ledger::SqlDialect& dialect);
// The kept month totals made afresh and filled from the rows (after the
// rows are in: each row added later is counted by their triggers).
QString keepTotals(const ledger::SqlDialect& dialect);
// The kept month totals and their triggers removed.
QString dropKeptTotals(const ledger::SqlDialect& dialect);
// A column added by this version (schema::Column::addedLater) added to a
// table of books made before; empty in every row.
QString addLaterColumn(const ledger::SqlDialect& dialect, const ledger::schema::Table& table,
                       const ledger::schema::Column& column);
// The wage detail made anew as this version makes it (counting the monthly
// pay a wage row records).
QString replaceInquiryDetailView(const ledger::SqlDialect& dialect);
// A saved query that adds rows up per month, made anew as this version
// makes it.
QString replaceMonthView(const ledger::SqlDialect& dialect, const ledger::schema::KeptTotals& kept);

}  // namespace setup::schema_sql
