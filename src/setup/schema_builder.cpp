#include "setup/schema_builder.h"

#include <sqlite3.h>

#include "ledger/schema/schema.h"
#include "ledger/store/sql_dialect.h"
#include "ledger/store/sqlite/sqlite_statements.h"
#include "setup/schema_sql.h"

namespace ledger {

using statements::run;

// Each of these lands whole or not at all.
void createSchema(sqlite3* db) {
    statements::Savepoint savepoint(db, QStringLiteral("create_schema"));
    const SqlDialect& file = SqlDialect::sqlite();
    run(db,
        schema_sql::createTables(file) + schema_sql::createViews(file) +
            schema_sql::makeKeptTotals(file),
        QStringLiteral("Creating the tables and saved queries"));
    savepoint.release();
}

void dropKeptTotals(sqlite3* db) {
    run(db, schema_sql::dropKeptTotals(SqlDialect::sqlite()),
        QStringLiteral("Removing the kept month totals"));
}

void keepTotals(sqlite3* db) {
    statements::Savepoint savepoint(db, QStringLiteral("keep_totals"));
    run(db, schema_sql::keepTotals(SqlDialect::sqlite()),
        QStringLiteral("Making the kept month totals"));
    savepoint.release();
}

void replaceMonthView(sqlite3* db, const schema::KeptTotals& kept) {
    run(db, schema_sql::replaceMonthView(SqlDialect::sqlite(), kept),
        QStringLiteral("Bringing the saved query %1 up to date").arg(kept.savedQuery));
}

}  // namespace ledger
