// SPDX-License-Identifier: GPL-3.0-or-later
#include "setup/postgres/server_setup.h"

#include <QTemporaryDir>

#include "ledger/base/ledger_error.h"
#include "ledger/schema/schema.h"
#include "ledger/store/postgres/server_connection.h"
#include "ledger/store/source_info.h"
#include "ledger/store/sql_dialect.h"
#include "ledger/store/sqlite/sqlite_statements.h"
#include "setup/schema_builder.h"
#include "setup/schema_sql.h"

namespace ledger {

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
        fail(ErrorCode::StoreFailure,
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
    return sql;
}

QString quoted(const QString& name) { return QLatin1Char('"') + name + QLatin1Char('"'); }

struct ServerObject {
    QString name;
    bool isTable = false;
    QStringList columns;
    QStringList types;  // as format_type names them
};

std::vector<ServerObject> serverObjects(ServerConnection& server) {
    auto rows = server.run(
        QStringLiteral("SELECT c.relname, c.relkind IN ('r', 'p'), a.attname, "
                       "format_type(a.atttypid, a.atttypmod) FROM pg_catalog.pg_class c "
                       "JOIN pg_catalog.pg_namespace n ON n.oid = c.relnamespace "
                       "LEFT JOIN pg_catalog.pg_attribute a ON a.attrelid = c.oid AND a.attnum > 0 "
                       "AND NOT a.attisdropped WHERE n.nspname = current_schema() "
                       "AND c.relkind IN ('r', 'p', 'v', 'm') ORDER BY c.relname, a.attnum"),
        {}, QStringLiteral("Cannot read the database's tables"));
    std::vector<ServerObject> objects;
    for (int i = 0; i < rows.count(); ++i) {
        if (objects.empty() || objects.back().name != rows.text(i, 0))
            objects.push_back({rows.text(i, 0), rows.text(i, 1) == QLatin1String("t"), {}, {}});
        if (!rows.value(i, 2).isNull()) {
            objects.back().columns << rows.text(i, 2);
            objects.back().types << rows.text(i, 3);
        }
    }
    return objects;
}

const ServerObject* findObject(const std::vector<ServerObject>& objects, const QString& name) {
    for (const auto& o : objects)
        if (o.name.compare(name, Qt::CaseInsensitive) == 0) return &o;
    return nullptr;
}

bool holds(schema::Kind kind, const QString& type) {
    const SqlDialect& server = SqlDialect::postgres();
    return kind == schema::Kind::Amount ? server.declaresNumber(type) : server.declaresText(type);
}

void checkColumns(const QString& what, const ServerObject& found, const QStringList& required,
                  QStringList& problems) {
    for (const auto& column : required)
        if (!found.columns.contains(column, Qt::CaseInsensitive))
            problems << QStringLiteral("%1 %2 lacks the column %3")
                            .arg(what, quoted(found.name), quoted(column));
}

}  // namespace

QStringList checkServerSchema(const QString& address) {
    ServerConnection server(address);
    const auto objects = serverObjects(server);
    QStringList problems;
    for (const auto& table : schema::tables()) {
        const ServerObject* found = findObject(objects, table.name);
        if (!found) {
            problems << QStringLiteral("Missing table %1").arg(quoted(table.name));
            continue;
        }
        if (!found->isTable && table.name != schema::kSelect)
            problems << QStringLiteral(
                            "%1 is a saved query, but the program stores rows in it: "
                            "it must be a table")
                            .arg(quoted(found->name));
        if (found->isTable && !found->columns.contains(schema::kRowKey, Qt::CaseInsensitive))
            problems << QStringLiteral("Table %1 lacks the column %2, the key of its rows")
                            .arg(quoted(found->name), quoted(schema::kRowKey));
        QStringList required;
        // A column added by this version is not required: books made
        // before lack it (tallowbrook-db check adds it); when there, its
        // type is checked like every other column's.
        for (const auto& c : table.columns)
            if (!c.addedLater) required << c.name;
        checkColumns(QStringLiteral("Table"), *found, required, problems);
        for (qsizetype i = 0; found->isTable && i < found->columns.size(); ++i) {
            const schema::Column* wanted = schema::findColumn(table, found->columns[i]);
            if (!wanted || holds(wanted->kind, found->types[i])) continue;
            problems << QStringLiteral(
                            "Table %1: column %2 must be declared %3, but it is "
                            "declared %4")
                            .arg(quoted(found->name), quoted(found->columns[i]),
                                 wanted->kind == schema::Kind::Amount
                                     ? QStringLiteral("DOUBLE PRECISION")
                                     : QStringLiteral("TEXT"),
                                 found->types[i]);
        }
        if (table.name != schema::kSelect) continue;
        // The wage window acts on the exact texts "Yes" and "No".
        for (const QString& column : {QStringLiteral("Ask for leave"), QStringLiteral("Absent")}) {
            const qsizetype at = found->columns.indexOf(column);
            if (at < 0) continue;  // reported above (or spelled in another case)
            for (const QString& value : {QStringLiteral("Yes"), QStringLiteral("No")}) {
                auto count =
                    server.run(QStringLiteral("SELECT count(*) FROM %1 WHERE %2 = $1")
                                   .arg(quoteName(found->name), quoteName(column)),
                               {value}, QStringLiteral("Reading %1").arg(quoted(found->name)));
                if (count.number(0, 0) < 1)
                    problems << QStringLiteral("%1 has no row with %2 in the column %3")
                                    .arg(quoted(found->name), quoted(value), quoted(column));
            }
        }
    }
    for (const auto& query : schema::savedQueries()) {
        const ServerObject* found = findObject(objects, query.name);
        if (!found) {
            problems << QStringLiteral("Missing saved query %1").arg(quoted(query.name));
            continue;
        }
        checkColumns(QStringLiteral("Saved query"), *found, query.columns, problems);
        try {  // proves that it can be read at all
            server.run(QStringLiteral("SELECT * FROM %1 LIMIT 0").arg(quoteName(found->name)), {},
                       QStringLiteral("Reading %1").arg(quoted(found->name)));
        } catch (const LedgerError& e) {
            problems << QStringLiteral("Saved query %1 cannot be read: %2")
                            .arg(quoted(found->name), e.message());
        }
    }
    return problems;
}

void createServerSchema(ServerConnection& server, bool replace,
                        const std::function<void(ServerConnection&)>& fill) {
    const QStringList existing = existingObjects(server);
    if (!existing.isEmpty() && !replace)
        fail(ErrorCode::StoreFailure,
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
        if (fill) fill(server);
        // Counted once the rows are in, not again at every row.
        server.runScript(schema_sql::keepTotals(SqlDialect::postgres()), doing);
        server.runScript(QStringLiteral("COMMIT"), doing);
    } catch (...) {
        // Whatever failed, the database keeps what it had.
        try {
            server.runScript(QStringLiteral("ROLLBACK"), QStringLiteral("Cannot roll back"));
        } catch (const LedgerError&) {  // a lost connection rolled it back already
        }
        throw;
    }
}

void createServerSchema(const QString& address, bool withDemoData, bool replace) {
    ServerConnection server(address);
    createServerSchema(server, replace,
                       withDemoData ? copyDemoRows : std::function<void(ServerConnection&)>());
}

}  // namespace ledger
