// SPDX-License-Identifier: GPL-3.0-or-later
#include "setup/postgres/server_setup.h"

#include <QTemporaryDir>

#include "ledger/base/ledger_error.h"
#include "ledger/schema/schema.h"
#include "ledger/store/postgres/postgres_store.h"
#include "ledger/store/postgres/server_connection.h"
#include "ledger/store/source_info.h"
#include "ledger/store/sql_dialect.h"
#include "ledger/store/sqlite/sqlite_statements.h"
#include "setup/history_sql.h"
#include "setup/schema_builder.h"
#include "setup/schema_sql.h"

namespace setup {

namespace schema = ledger::schema;
namespace statements = ledger::statements;
using ledger::quoteName;
using ledger::ServerConnection;
using ledger::SqlDialect;

namespace {

using Resend = ServerConnection::Resend;

// The program's tables and saved queries the database already has, as the
// server spells them (matched without regard to case).
QStringList existingObjects(ServerConnection& server) {
    auto rows = server.run(QStringLiteral("SELECT c.relname FROM pg_catalog.pg_class c "
                                          "JOIN pg_catalog.pg_namespace n ON n.oid = "
                                          "c.relnamespace WHERE n.nspname = current_schema() "
                                          "AND c.relkind IN ('r', 'p', 'v', 'm')"),
                           {}, QStringLiteral("Cannot read the database's tables"));
    QStringList wanted;
    for (const auto& t : schema::tables()) wanted << t.name;
    for (const auto& q : schema::savedQueries()) wanted << q.name;
    QStringList found;
    for (int i = 0; i < rows.count(); ++i)
        if (wanted.contains(rows.text(i, 0), Qt::CaseInsensitive)) found << rows.text(i, 0);
    return found;
}

// The demo shop is made by the same code as for a file, in a temporary
// file, and its rows are then sent over in their order.
void copyDemoRows(ServerConnection& server) {
    QTemporaryDir scratch;
    if (!scratch.isValid())
        ledger::fail(ledger::ErrorCode::StoreFailure,
                     QStringLiteral("Cannot make a temporary folder for the demo data: %1")
                         .arg(scratch.errorString()));
    const QString file = scratch.filePath(QStringLiteral("demo.sqlite"));
    writeDatabaseFile(file, true, false);
    statements::Connection demo(file, statements::Connection::Mode::ReadOnly);
    for (const auto& table : schema::tables()) {
        if (table.name == schema::kSelect) continue;  // made with the tables
        QStringList columns;
        QStringList marks;
        for (const auto& c : table.columns) {
            columns << quoteName(c.name);
            marks << QStringLiteral("$%1").arg(marks.size() + 1);
        }
        statements::Statement read(demo.handle(),
                                   QStringLiteral("SELECT %1 FROM %2 ORDER BY rowid")
                                       .arg(columns.join(','), quoteName(table.name)),
                                   QStringLiteral("Reading the demo data"));
        const QString insert = QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                                   .arg(quoteName(table.name), columns.join(','), marks.join(','));
        while (read.step()) {
            std::vector<QVariant> values;
            for (int i = 0; i < read.columnCount(); ++i) values.push_back(read.value(i));
            server.run(insert, values, QStringLiteral("Cannot add the demo data"), Resend::Never);
        }
    }
}

// Drops the kept totals, the saved queries and the tables when they exist
// (the saved queries first), with whatever the shop made on them.
QString dropAllSql() {
    QString sql = schema_sql::dropKeptTotals(SqlDialect::postgres());
    for (const auto& query : schema::savedQueries())
        sql += QStringLiteral("DROP VIEW IF EXISTS %1 CASCADE;\n").arg(quoteName(query.name));
    for (const auto& table : schema::tables())
        sql += QStringLiteral("DROP TABLE IF EXISTS %1 CASCADE;\n").arg(quoteName(table.name));
    for (const QString& table : {schema::kHistory, schema::kHistoryValues})
        sql += QStringLiteral("DROP TABLE IF EXISTS %1 CASCADE;\n").arg(quoteName(table));
    return sql + schema_sql::dropRemovalCounters() +
           QStringLiteral("DROP FUNCTION IF EXISTS \"history of a change\"() CASCADE;\n");
}

}  // namespace

QStringList checkServerSchema(const QString& address) {
    ServerConnection server(address);
    return checkSchemaOf(*ledger::serverEngineOn(server)).problems;
}

void createServerSchema(ServerConnection& server, bool replace,
                        const std::function<void(ServerConnection&)>& fill) {
    const QStringList existing = existingObjects(server);
    if (!existing.isEmpty() && !replace)
        ledger::fail(
            ledger::ErrorCode::StoreFailure,
            QStringLiteral("The database '%1' already holds the shop's tables (%2); nothing "
                           "was changed.")
                .arg(server.shownName(), existing.join(QStringLiteral(", "))));
    server.runScript(QStringLiteral("BEGIN"), QStringLiteral("Cannot begin making the tables"));
    try {
        const QString doing =
            QStringLiteral("Cannot make the tables in '%1'").arg(server.shownName());
        if (replace) server.runScript(dropAllSql(), doing);
        server.runScript(schema_sql::createTables(SqlDialect::postgres()), doing);
        server.runScript(schema_sql::createViews(SqlDialect::postgres()), doing);
        server.runScript(history_sql::makeTables(SqlDialect::postgres()), doing);
        if (fill) fill(server);
        // Counted once the rows are in, not again at every row.
        server.runScript(schema_sql::keepTotals(SqlDialect::postgres()), doing);
        // Recorded from here on: the rows filled in are the books handed over.
        for (const QString& table : schema::recordedTables())
            server.runScript(history_sql::makeTriggers(SqlDialect::postgres(), table, {}), doing);
        server.runScript(QStringLiteral("COMMIT"), doing);
    } catch (...) {
        // Whatever failed, the database keeps what it had.
        try {
            server.runScript(QStringLiteral("ROLLBACK"), QStringLiteral("Cannot roll back"));
        } catch (const ledger::LedgerError&) {  // a lost connection rolled it back already
        }
        throw;
    }
}

void createServerSchema(const QString& address, bool withDemoData, bool replace) {
    ServerConnection server(address);
    createServerSchema(server, replace,
                       withDemoData ? copyDemoRows : std::function<void(ServerConnection&)>());
}

}  // namespace setup
