// SPDX-License-Identifier: GPL-3.0-or-later
#include "setup/schema_builder.h"

#include "ledger/schema/schema.h"
#include "ledger/store/sql_dialect.h"
#include "ledger/store/sqlite/sqlite_statements.h"
#include "setup/schema_sql.h"

namespace ledger {

using statements::run;

// Each of these lands whole or not at all.
void createSchema(statements::Connection& file) {
    sqlite3* db = file.handle();
    statements::Savepoint savepoint(db, QStringLiteral("create_schema"));
    const SqlDialect& sqlite = SqlDialect::sqlite();
    run(db,
        schema_sql::createTables(sqlite) + schema_sql::createViews(sqlite) +
            schema_sql::makeKeptTotals(sqlite),
        QStringLiteral("Creating the tables and saved queries"));
    savepoint.release();
}

void dropKeptTotals(statements::Connection& file) {
    sqlite3* db = file.handle();
    run(db, schema_sql::dropKeptTotals(SqlDialect::sqlite()),
        QStringLiteral("Removing the kept month totals"));
}

void keepTotals(statements::Connection& file) {
    sqlite3* db = file.handle();
    statements::Savepoint savepoint(db, QStringLiteral("keep_totals"));
    run(db, schema_sql::keepTotals(SqlDialect::sqlite()),
        QStringLiteral("Making the kept month totals"));
    savepoint.release();
}

void replaceMonthView(statements::Connection& file, const schema::KeptTotals& kept) {
    sqlite3* db = file.handle();
    run(db, schema_sql::replaceMonthView(SqlDialect::sqlite(), kept),
        QStringLiteral("Bringing the saved query %1 up to date").arg(kept.savedQuery));
}

}  // namespace ledger
