#pragma once

#include <QString>

#include "ledger/schema/schema.h"

// The statements that make the shop's tables and saved queries on the
// server: PostgreSQL's dialect for what schema_builder.cpp makes in a file,
// giving the same rows in the same order.
namespace ledger::server_sql {

QString createTables();
QString createViews();
// The kept month totals made afresh and filled from the rows (after the
// rows are in: each row added later is counted by their triggers).
QString keepTotals();
// A saved query that adds rows up per month, made anew as this version
// makes it.
QString replaceMonthView(const schema::KeptTotals& kept);
// Drops the views and tables when they exist (views first).
QString dropAll();

}  // namespace ledger::server_sql
