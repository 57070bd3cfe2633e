#pragma once

#include <QString>

// The statements that make the shop's tables and saved queries on the
// server: PostgreSQL's dialect for what schema_builder.cpp makes in a file,
// giving the same rows in the same order.
namespace ledger::server_sql {

QString createTables();
QString createViews();
// Drops the views and tables when they exist (views first).
QString dropAll();

}  // namespace ledger::server_sql
