// SPDX-License-Identifier: GPL-3.0-or-later
#include "setup/history_sql.h"

#include "ledger/schema/schema.h"
#include "ledger/store/source_info.h"

namespace setup::history_sql {

namespace calendar = ledger::calendar;
namespace schema = ledger::schema;
using ledger::SqlDialect;

namespace {

QString q(const QString& name) { return ledger::quoteName(name); }

QString literal(const QString& text) {
    QString quoted = text;
    return QLatin1Char('\'') + quoted.replace(QLatin1Char('\''), QStringLiteral("''")) +
           QLatin1Char('\'');
}

const QString kPassword = QStringLiteral("Password");

const QString kVersionMark = QStringLiteral("-- history 2: an added row's values are its own");

// What a file records of one column: its name, the values before and after
// (a password only as changed), and whether it changed. `before` and `after`
// are OLD, NEW or empty (the row was added or removed).
QString fileColumnChange(const QString& column, const QString& before, const QString& after) {
    auto value = [&](const QString& row) {
        return row.isEmpty() ? QStringLiteral("NULL") : row + QLatin1Char('.') + q(column);
    };
    const QString changed = before.isEmpty() ? value(after) + QStringLiteral(" IS NOT NULL")
                            : after.isEmpty()
                                ? value(before) + QStringLiteral(" IS NOT NULL")
                                : value(before) + QStringLiteral(" IS NOT ") + value(after);
    if (column.compare(kPassword, Qt::CaseInsensitive) == 0)
        return QStringLiteral("SELECT %1 AS c, NULL AS o, %2 AS n, %3 AS d")
            .arg(literal(column), literal(schema::kPasswordChanged), changed);
    return QStringLiteral("SELECT %1 AS c, %2 AS o, %3 AS n, %4 AS d")
        .arg(literal(column), value(before), value(after), changed);
}

QString fileTrigger(const QString& name, const QString& event, const QString& table,
                    const QStringList& columns, const QString& before, const QString& after) {
    const QString row = after.isEmpty() ? before : after;
    auto own = [&](const QString& column) {
        return columns.contains(column, Qt::CaseInsensitive) ? row + QLatin1Char('.') + q(column)
                                                             : QStringLiteral("NULL");
    };
    QStringList changes, anyChanged;
    for (const QString& column : columns) {
        changes << fileColumnChange(column, before, after);
        if (!before.isEmpty() && !after.isEmpty())
            anyChanged << QStringLiteral("OLD.%1 IS NOT NEW.%1").arg(q(column));
    }
    const QString change = event == QLatin1String("INSERT")   ? QStringLiteral("added")
                           : event == QLatin1String("DELETE") ? QStringLiteral("removed")
                                                              : QStringLiteral("changed");
    // A row stored again unchanged is no change.
    const QString when = anyChanged.isEmpty()
                             ? QString()
                             : QStringLiteral(" WHEN ") + anyChanged.join(QStringLiteral(" OR "));
    // The values belong to the change just recorded, the newest (one
    // writer at a time on a file). The time is the books' own, local, to
    // the second. The till and the
    // member of staff are filled in by this program's own connection
    // (ledger/store/who_writes.h); another program's change keeps these.
    // An added row's values are the row's own: recorded only once they
    // change or go.
    const QString values =
        before.isEmpty() ? QString()
                         : QStringLiteral(
                               "INSERT INTO %1 (\"Change\", \"Column\", \"Old\", \"New\") SELECT "
                               "(SELECT max(rowid) FROM %2), c, o, n FROM (%3) WHERE d;\n")
                               .arg(q(schema::kHistoryValues), q(schema::kHistory),
                                    changes.join(QStringLiteral(" UNION ALL ")));
    return QStringLiteral(
               "CREATE TRIGGER %1 AFTER %2 ON %3%4 BEGIN\n%5\n"
               "INSERT INTO %6 (\"When\", \"Till\", \"Program\", \"Staff\", \"Table\", \"Row\", "
               "\"Date\", \"Name\", \"Change\") VALUES (strftime('%Y-%m-%d %H:%M:%S', 'now', "
               "'localtime'), NULL, %7, NULL, %8, %9.rowid, %10, %11, '%12');\n")
               .arg(q(name), event, q(table), when, kVersionMark, q(schema::kHistory),
                    literal(schema::kAnotherProgram), literal(table), row,
                    own(QStringLiteral("Date")), own(QStringLiteral("Name")), change) +
           values + QStringLiteral("END;\n");
}

// One function for every table on a server: the row's columns read as
// JSON, so it needs no list of them and records a column another program
// added as well. A value is kept as the server writes it as text, a figure
// in the shortest form that reads back as the same double.
QString serverFunction() {
    return QStringLiteral(
               "CREATE OR REPLACE FUNCTION \"history of a change\"() RETURNS trigger LANGUAGE "
               "plpgsql\nSET search_path FROM CURRENT AS $history$\n%6\n"
               "DECLARE o jsonb; n jsonb; r jsonb; k bigint;\n"
               "BEGIN\n"
               "IF TG_OP <> 'INSERT' THEN o := to_jsonb(OLD); END IF;\n"
               "IF TG_OP <> 'DELETE' THEN n := to_jsonb(NEW); END IF;\n"
               "IF TG_OP = 'UPDATE' AND o = n THEN RETURN NULL; END IF;\n"
               "r := coalesce(n, o);\n"
               "INSERT INTO %1 (\"When\", \"Till\", \"Program\", \"Staff\", \"Table\", \"Row\", "
               "\"Date\", \"Name\", \"Change\") VALUES (\n"
               "to_char(clock_timestamp(), 'YYYY-MM-DD HH24:MI:SS'),\n"
               // This program names its till; another one is known by its
               // address and the name it gave the server, if any.
               "coalesce(nullif(current_setting('tallowbrook.till', true), ''), "
               "host(inet_client_addr())),\n"
               "CASE WHEN nullif(current_setting('tallowbrook.till', true), '') IS NOT NULL "
               "THEN 'tallowbrook' ELSE %2 || coalesce(' (' || nullif(current_setting("
               "'application_name'), '') || ')', '') END,\n"
               "CASE WHEN nullif(current_setting('tallowbrook.till', true), '') IS NOT NULL "
               "THEN nullif(current_setting('tallowbrook.staff', true), '') END,\n"
               "TG_TABLE_NAME, (r->>'Row key')::bigint, r->>'Date', r->>'Name',\n"
               "CASE TG_OP WHEN 'INSERT' THEN 'added' WHEN 'DELETE' THEN 'removed' ELSE "
               "'changed' END)\n"
               "RETURNING \"Row key\" INTO k;\n"
               // An added row's values are the row's own.
               "IF TG_OP = 'INSERT' THEN RETURN NULL; END IF;\n"
               "INSERT INTO %3 (\"Change\", \"Column\", \"Old\", \"New\")\n"
               "SELECT k, c.key,\n"
               "CASE WHEN lower(c.key) = 'password' THEN NULL ELSE o->>c.key END,\n"
               "CASE WHEN lower(c.key) = 'password' THEN %4 ELSE n->>c.key END\n"
               "FROM jsonb_object_keys(r) AS c(key)\n"
               "WHERE c.key <> %5 AND coalesce(o->c.key, 'null'::jsonb) IS DISTINCT FROM "
               "coalesce(n->c.key, 'null'::jsonb);\n"
               "RETURN NULL;\n"
               "END $history$;\n")
        .arg(q(schema::kHistory), literal(schema::kAnotherProgram), q(schema::kHistoryValues),
             literal(schema::kPasswordChanged), literal(schema::kRowKey), kVersionMark);
}

}  // namespace

const QStringList& historyColumns() {
    static const QStringList all{schema::kRowKey,         QStringLiteral("When"),
                                 QStringLiteral("Till"),  QStringLiteral("Program"),
                                 QStringLiteral("Staff"), QStringLiteral("Table"),
                                 QStringLiteral("Row"),   QStringLiteral("Date"),
                                 QStringLiteral("Name"),  QStringLiteral("Change")};
    return all;
}

QString versionMark() { return kVersionMark; }

QString fileTriggersOfThisVersion() {
    return QStringLiteral(
               "SELECT name FROM sqlite_schema WHERE type = 'trigger' AND instr(sql, %1) > 0")
        .arg(literal(kVersionMark));
}

QString makeTables(const SqlDialect& dialect) {
    const bool file = (dialect.calendar() == calendar::SqlDialect::Sqlite);
    QStringList columns{dialect.keyColumnDefinition()};
    for (const QString& column : historyColumns().mid(1))
        columns << q(column) + (column == QLatin1String("Row") ? (file ? QStringLiteral(" INTEGER")
                                                                       : QStringLiteral(" BIGINT"))
                                                               : QStringLiteral(" TEXT"));
    // A value keeps its own kind on a file (a figure bit for bit); a server
    // keeps its text.
    const QString value = file ? QString() : QStringLiteral(" TEXT");
    return QStringLiteral("CREATE TABLE IF NOT EXISTS %1 (%2);\n")
               .arg(q(schema::kHistory), columns.join(QStringLiteral(", "))) +
           QStringLiteral(
               "CREATE TABLE IF NOT EXISTS %1 (%2, \"Change\" %3 NOT NULL, \"Column\" TEXT NOT "
               "NULL, \"Old\"%4, \"New\"%4);\n")
               .arg(q(schema::kHistoryValues), dialect.keyColumnDefinition(),
                    file ? QStringLiteral("INTEGER") : QStringLiteral("BIGINT"), value) +
           QStringLiteral("CREATE INDEX IF NOT EXISTS %1 ON %2 (\"Change\");\n")
               .arg(q(schema::kHistoryValues + QStringLiteral(" by change")),
                    q(schema::kHistoryValues)) +
           // A day's changes are looked up by its date.
           QStringLiteral("CREATE INDEX IF NOT EXISTS %1 ON %2 (\"Date\");\n")
               .arg(q(schema::kHistory + QStringLiteral(" by Date")), q(schema::kHistory)) +
           (file ? QString() : serverFunction());
}

QString makeTriggers(const SqlDialect& dialect, const QString& table, const QStringList& columns) {
    if (!(dialect.calendar() == calendar::SqlDialect::Sqlite))
        return QStringLiteral(
                   "CREATE TRIGGER %1 AFTER INSERT OR UPDATE OR DELETE ON %2 FOR EACH ROW EXECUTE "
                   "FUNCTION \"history of a change\"();\n")
            .arg(q(schema::historyServerTriggers(table).at(0)), q(table));
    QStringList recorded;
    for (const QString& column : columns)
        if (column.compare(schema::kRowKey, Qt::CaseInsensitive) != 0) recorded << column;
    const QStringList names = schema::historyFileTriggers(table);
    return fileTrigger(names[0], QStringLiteral("INSERT"), table, recorded, {},
                       QStringLiteral("NEW")) +
           fileTrigger(names[1], QStringLiteral("UPDATE"), table, recorded, QStringLiteral("OLD"),
                       QStringLiteral("NEW")) +
           fileTrigger(names[2], QStringLiteral("DELETE"), table, recorded, QStringLiteral("OLD"),
                       {});
}

QString makeHistory(const SqlDialect& dialect) {
    QString sql = makeTables(dialect);
    for (const QString& name : schema::recordedTables()) {
        QStringList columns;
        for (const schema::Column& column : schema::findTable(name)->columns)
            columns << column.name;
        sql += makeTriggers(dialect, name, columns);
    }
    return sql;
}

QString dropTriggers(const SqlDialect& dialect) {
    QString sql;
    for (const QString& table : schema::recordedTables()) {
        const QStringList names = (dialect.calendar() == calendar::SqlDialect::Sqlite)
                                      ? schema::historyFileTriggers(table)
                                      : schema::historyServerTriggers(table);
        for (const QString& name : names)
            sql +=
                (dialect.calendar() == calendar::SqlDialect::Sqlite)
                    ? QStringLiteral("DROP TRIGGER IF EXISTS %1;\n").arg(q(name))
                    : QStringLiteral("DROP TRIGGER IF EXISTS %1 ON %2;\n").arg(q(name), q(table));
    }
    return sql;
}

}  // namespace setup::history_sql
