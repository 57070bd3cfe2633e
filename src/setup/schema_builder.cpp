// SPDX-License-Identifier: GPL-3.0-or-later
#include "setup/schema_builder.h"

#include "ledger/schema/schema.h"
#include "ledger/store/sql_dialect.h"
#include "ledger/store/sqlite/sqlite_statements.h"
#include "setup/history_sql.h"
#include "setup/schema_sql.h"

namespace setup {

namespace schema = ledger::schema;
namespace statements = ledger::statements;
using ledger::SqlDialect;

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

HistoryFound keepHistory(statements::Connection& file) {
    sqlite3* db = file.handle();
    auto names = [db](const QString& sql, const QString& value) {
        return statements::textsOf(db, sql, value, QStringLiteral("Reading the database's tables"));
    };
    const SqlDialect& sqlite = SqlDialect::sqlite();
    bool all = true, current = true;
    QString script = history_sql::makeTables(sqlite) + history_sql::dropTriggers(sqlite);
    for (const QString& table : schema::recordedTables()) {
        const QStringList present =
            names(QStringLiteral(
                      "SELECT name FROM sqlite_schema WHERE type = 'trigger' AND tbl_name = ?"),
                  table);
        const QStringList ofThisVersion = names(
            history_sql::fileTriggersOfThisVersion() + QStringLiteral(" AND tbl_name = ?"), table);
        for (const QString& trigger : schema::historyFileTriggers(table)) {
            all = all && present.contains(trigger);
            current = current && ofThisVersion.contains(trigger);
        }
        script += history_sql::makeTriggers(
            sqlite, table, names(QStringLiteral("SELECT name FROM pragma_table_info(?)"), table));
    }
    statements::Savepoint savepoint(db, QStringLiteral("keep_history"));
    run(db, script, QStringLiteral("Making the books' history"));
    savepoint.release();
    return current ? HistoryFound::ThisVersions
                   : (all ? HistoryFound::AnEarlierVersions : HistoryFound::None);
}

void dropHistoryTriggers(statements::Connection& file) {
    run(file.handle(), history_sql::dropTriggers(SqlDialect::sqlite()),
        QStringLiteral("Removing the history's triggers"));
}

void replaceMonthView(statements::Connection& file, const schema::KeptTotals& kept) {
    sqlite3* db = file.handle();
    run(db, schema_sql::replaceMonthView(SqlDialect::sqlite(), kept),
        QStringLiteral("Bringing the saved query %1 up to date").arg(kept.savedQuery));
}

}  // namespace setup
