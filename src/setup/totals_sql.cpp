// SPDX-License-Identifier: GPL-3.0-or-later
#include "setup/totals_sql.h"

#include "ledger/store/source_info.h"

namespace setup::totals_sql {

namespace calendar = ledger::calendar;
namespace schema = ledger::schema;

namespace {

using schema::KeptTotals;

QString q(const QString& name) { return ledger::quoteName(name); }

const QString kDate = QStringLiteral("Date");

QString dayNumberOf(SqlDialect dialect, const QString& dateText) {
    return calendar::dayNumberSql(dialect, dateText);
}

QString monthNumberOf(SqlDialect dialect, const QString& dateText,
                      calendar::Reading reading = calendar::Reading::OneRow) {
    return calendar::monthNumberSql(dialect, calendar::dayNumberSql(dialect, dateText, reading));
}

QString monthText(SqlDialect dialect, const KeptTotals& kept, const QString& monthNumber) {
    return kept.sheetMonths ? calendar::sheetMonthTextSql(dialect, monthNumber)
                            : calendar::wageMonthTextSql(dialect, monthNumber);
}

// The month's total of a column. A file adds up in SQLite's own SUM, the
// rows in the order they come: the order they were added. On a server the
// sum is ordered by the row key alike, and made in doubles as on a file: a
// total beyond the range of a double must become Infinity, as in the file,
// where the month sheet shows that one total as an overflow and the others
// as they are, while the server's own double sum stops the whole sheet with
// an error. So the values are added scaled down by 2^-64, which changes no
// bit of any sum of amounts (a power of two), and scaled back only when the
// total fits. A value nearer zero than 2^-900 (about 1E-271, no amount of
// money) would be scaled into nothing, which the server takes for an
// error: it counts as 0.
QString totalOf(SqlDialect dialect, const QString& column) {
    if (dialect == SqlDialect::Sqlite) return QStringLiteral("SUM(%1)").arg(q(column));
    const QString scaled =
        QStringLiteral(
            "SUM(CASE WHEN abs(%1) < power(2::float8, -900) THEN 0::float8 ELSE %1 * "
            "power(2::float8, -64) END ORDER BY %2)")
            .arg(q(column), q(schema::kRowKey));
    return QStringLiteral(
               "CASE WHEN abs(%1) > 1.7976931348623157e308::float8 * power(2::float8, -64) "
               "THEN sign(%1) * 'Infinity'::float8 ELSE %1 * power(2::float8, 64) END")
        .arg(scaled);
}

// A group column in a row order: on a server in the file's order of texts
// (byte order, empty ones first).
QString ordered(SqlDialect dialect, const QString& column) {
    return dialect == SqlDialect::Sqlite ? q(column)
                                         : q(column) + QStringLiteral(" COLLATE \"C\" NULLS FIRST");
}

QStringList quotedAll(const QStringList& names) {
    QStringList out;
    for (const QString& n : names) out << q(n);
    return out;
}

// The kept table's columns: the month number, then the saved query's.
QStringList keptColumns(const KeptTotals& kept) {
    return QStringList{schema::kMonthNumber} + kept.queryColumns;
}

const QString kMonthOfRow = QStringLiteral("month_number");

// The rows to add up, each with its month number (on a server with its key,
// the order of the sums): the month's expression written once.
QString rowsWithTheirMonth(SqlDialect dialect, const KeptTotals& kept) {
    QStringList columns{monthNumberOf(dialect, q(kDate), calendar::Reading::EveryRow) +
                        QStringLiteral(" AS ") + kMonthOfRow};
    columns << quotedAll(kept.groupColumns) << quotedAll(kept.summed);
    if (dialect == SqlDialect::Postgres) columns << q(schema::kRowKey);
    return QStringLiteral("(SELECT %1 FROM %2) AS rows")
        .arg(columns.join(QStringLiteral(", ")), q(kept.source));
}

// One row per month (and group) of every row, the month number first when
// `withNumber`, in the saved query's order when `ordered_`.
QString totalsSelect(SqlDialect dialect, const KeptTotals& kept, bool withNumber, bool ordered_) {
    QStringList select;
    if (withNumber) select << kMonthOfRow;
    select << QStringLiteral("%1 AS %2")
                  .arg(monthText(dialect, kept, kMonthOfRow), q(kept.monthColumn));
    for (const QString& group : kept.groupColumns) select << q(group);
    for (qsizetype i = 0; i < kept.summed.size(); ++i)
        select
            << QStringLiteral("%1 AS %2").arg(totalOf(dialect, kept.summed[i]), q(kept.totals[i]));
    QStringList groupBy = quotedAll(kept.groupColumns);
    groupBy << kMonthOfRow;
    QString sql = QStringLiteral("SELECT %1 FROM %2 GROUP BY %3")
                      .arg(select.join(QStringLiteral(", ")), rowsWithTheirMonth(dialect, kept),
                           groupBy.join(QStringLiteral(", ")));
    if (ordered_) {
        QStringList order;
        for (const QString& group : kept.groupColumns) order << ordered(dialect, group);
        order << kMonthOfRow;
        sql += QStringLiteral(" ORDER BY ") + order.join(QStringLiteral(", "));
    }
    return sql;
}

// The totals of one month (and group) from its rows alone, in one row, or
// none when it has none: `month` and `groupValues` are expressions (the
// trigger's row, the function's parameters), `monthRows` the condition that
// picks the month's rows.
QString monthTotalsSelect(SqlDialect dialect, const KeptTotals& kept, const QString& month,
                          const QStringList& groupValues, const QString& from,
                          const QString& monthRows) {
    QStringList select{month, monthText(dialect, kept, month)};
    select << groupValues;
    for (const QString& summed : kept.summed) select << totalOf(dialect, summed);
    // No row for a month without rows: grouped by the one month on a file
    // (older SQLite takes no HAVING without GROUP BY), counted on a server
    // (which takes no parameter to group by).
    const QString oneRowOrNone = dialect == SqlDialect::Sqlite
                                     ? QStringLiteral("GROUP BY ") + month
                                     : QStringLiteral("HAVING count(*) > 0");
    return QStringLiteral("SELECT %1 FROM %2 WHERE %3 %4")
        .arg(select.join(QStringLiteral(", ")), from, monthRows, oneRowOrNone);
}

// --- a file ---------------------------------------------------------------

// Brings the kept rows of the month (and group) of `row` (NEW or OLD) up to
// date: they are counted again from that month's rows, in key order (an IN
// list of row keys is read in ascending order, whatever order the index
// gives them in). The month's number is written once per statement, in a
// one-row table of its own: every connection reads the triggers' text when
// it opens the file.
QString sqliteRecount(const KeptTotals& kept, const QString& row) {
    const QString month = monthNumberOf(SqlDialect::Sqlite, row + QLatin1Char('.') + q(kDate));
    QStringList sameGroup, groupValues;
    for (const QString& group : kept.groupColumns) {
        sameGroup << QStringLiteral("%1 IS %2.%1 AND ").arg(q(group), row);
        groupValues << row + QLatin1Char('.') + q(group);
    }
    const QString inGroup = sameGroup.join(QString());
    const QString monthRows =
        QStringLiteral(
            "%1.rowid IN (SELECT rowid FROM %1 WHERE %2%3 BETWEEN k.m * 100 AND k.m * 100 + "
            "99)")
            .arg(q(kept.source), inGroup, dayNumberOf(SqlDialect::Sqlite, q(kDate)));
    const QString from = QStringLiteral("(SELECT %1 AS m) AS k, %2").arg(month, q(kept.source));
    return QStringLiteral("DELETE FROM %1 WHERE %2%3 IN (SELECT %4);\nINSERT INTO %1 (%5) %6;\n")
        .arg(q(kept.table), inGroup, q(schema::kMonthNumber), month,
             quotedAll(keptColumns(kept)).join(QStringLiteral(", ")),
             monthTotalsSelect(SqlDialect::Sqlite, kept, QStringLiteral("k.m"), groupValues, from,
                               monthRows));
}

// Brings the kept rows of the month (and group) noted by a row that was
// about to be replaced up to date, and forgets the note. At most one month
// is noted: each insert's note replaces the one before.
QString sqliteRecountNoted(const KeptTotals& kept) {
    const QString notes = q(schema::keptFileNotes(kept));
    QStringList noted{q(schema::kMonthNumber) + QStringLiteral(" AS m")}, groupValues, sameGroup,
        sameNote{QStringLiteral("n.%1 = %2.%1").arg(q(schema::kMonthNumber), q(kept.table))};
    for (qsizetype i = 0; i < kept.groupColumns.size(); ++i) {
        const QString group = q(kept.groupColumns[i]), value = QStringLiteral("k.g%1").arg(i);
        noted << QStringLiteral("%1 AS g%2").arg(group).arg(i);
        groupValues << value;
        sameGroup << QStringLiteral("%1 IS %2 AND ").arg(group, value);
        sameNote << QStringLiteral("n.%1 IS %2.%1").arg(group, q(kept.table));
    }
    const QString monthRows =
        QStringLiteral(
            "%1.rowid IN (SELECT rowid FROM %1 WHERE %2%3 BETWEEN k.m * 100 AND k.m * 100 + 99)")
            .arg(q(kept.source), sameGroup.join(QString()),
                 dayNumberOf(SqlDialect::Sqlite, q(kDate)));
    const QString from = QStringLiteral("(SELECT %1 FROM %2) AS k, %3")
                             .arg(noted.join(QStringLiteral(", ")), notes, q(kept.source));
    return QStringLiteral(
               "DELETE FROM %1 WHERE EXISTS (SELECT 1 FROM %2 AS n WHERE %3);\n"
               "INSERT INTO %1 (%4) %5;\nDELETE FROM %2;\n")
        .arg(q(kept.table), notes, sameNote.join(QStringLiteral(" AND ")),
             quotedAll(keptColumns(kept)).join(QStringLiteral(", ")),
             monthTotalsSelect(SqlDialect::Sqlite, kept, QStringLiteral("k.m"), groupValues, from,
                               monthRows));
}

// Another program's INSERT OR REPLACE removes the row of the same key
// without the delete trigger (SQLite fires it only on a connection that
// asked for recursive triggers): the row notes its month before it goes, and
// the insert counts that month again once it is gone. A plain INSERT that
// fails on the key takes its note back with it; an INSERT OR IGNORE leaves
// one that merely counts a month again at the next insert.
QString sqliteReplacedRowTriggers(const KeptTotals& kept, const QString& before,
                                  const QString& after) {
    const QString notes = q(schema::keptFileNotes(kept));
    QStringList columns{q(schema::kMonthNumber) + QStringLiteral(" INTEGER")},
        noted{monthNumberOf(SqlDialect::Sqlite, q(kDate))};
    for (const QString& group : kept.groupColumns) {
        columns << q(group) + QStringLiteral(" TEXT");
        noted << q(group);
    }
    QStringList names{q(schema::kMonthNumber)};
    names << quotedAll(kept.groupColumns);
    return QStringLiteral("CREATE TABLE %1 (%2);\n")
               .arg(notes, columns.join(QStringLiteral(", "))) +
           QStringLiteral(
               "CREATE TRIGGER %1 BEFORE INSERT ON %2 WHEN EXISTS (SELECT 1 FROM %2 WHERE rowid "
               "= NEW.rowid) BEGIN\nDELETE FROM %3;\nINSERT INTO %3 (%4) SELECT %5 FROM %2 "
               "WHERE rowid = NEW.rowid;\nEND;\n")
               .arg(q(before), q(kept.source), notes, names.join(QStringLiteral(", ")),
                    noted.join(QStringLiteral(", "))) +
           QStringLiteral(
               "CREATE TRIGGER %1 AFTER INSERT ON %2 WHEN EXISTS (SELECT 1 FROM %3) BEGIN\n%4"
               "END;\n")
               .arg(q(after), q(kept.source), notes, sqliteRecountNoted(kept));
}

QString sqliteMakeKept(const KeptTotals& kept) {
    QStringList columns;
    columns << q(schema::kMonthNumber) + (kept.groupColumns.isEmpty()
                                              ? QStringLiteral(" INTEGER PRIMARY KEY")
                                              : QStringLiteral(" INTEGER NOT NULL"));
    columns << q(kept.monthColumn) + QStringLiteral(" TEXT");
    for (const QString& group : kept.groupColumns) columns << q(group) + QStringLiteral(" TEXT");
    for (const QString& total : kept.totals) columns << q(total) + QStringLiteral(" REAL");
    QString sql = QStringLiteral("CREATE TABLE %1 (%2);\n")
                      .arg(q(kept.table), columns.join(QStringLiteral(", ")));
    if (!kept.groupColumns.isEmpty())
        sql += QStringLiteral("CREATE INDEX %1 ON %2 (%3);\n")
                   .arg(q(kept.table + QStringLiteral(" by month")), q(kept.table),
                        (quotedAll(kept.groupColumns) << q(schema::kMonthNumber))
                            .join(QStringLiteral(", ")));
    sql +=
        QStringLiteral("CREATE INDEX %1 ON %2 (%3);\n")
            .arg(q(dayIndexName(kept)), q(kept.source), dayNumberOf(SqlDialect::Sqlite, q(kDate)));
    const QStringList triggers = schema::keptFileTriggers(kept);
    const QStringList changing = quotedAll(QStringList{kDate} + kept.groupColumns + kept.summed);
    sql += QStringLiteral("CREATE TRIGGER %1 AFTER INSERT ON %2 BEGIN\n%3END;\n")
               .arg(q(triggers[0]), q(kept.source), sqliteRecount(kept, QStringLiteral("NEW")));
    sql += QStringLiteral("CREATE TRIGGER %1 AFTER DELETE ON %2 BEGIN\n%3END;\n")
               .arg(q(triggers[1]), q(kept.source), sqliteRecount(kept, QStringLiteral("OLD")));
    sql += QStringLiteral("CREATE TRIGGER %1 AFTER UPDATE OF %2 ON %3 BEGIN\n%4%5END;\n")
               .arg(q(triggers[2]), changing.join(QStringLiteral(", ")), q(kept.source),
                    sqliteRecount(kept, QStringLiteral("OLD")),
                    sqliteRecount(kept, QStringLiteral("NEW")));
    sql += sqliteReplacedRowTriggers(kept, triggers[3], triggers[4]);
    return sql;
}

// --- a server -------------------------------------------------------------

QString recountFunction(const KeptTotals& kept) {
    return q(kept.table + QStringLiteral(": recount"));
}

QString keepFunction(const KeptTotals& kept) { return q(kept.table + QStringLiteral(": keep")); }

// The recount function's parameters: the month, then one per group column.
QStringList parameterNames(const KeptTotals& kept) {
    QStringList names{QStringLiteral("p_month")};
    for (qsizetype i = 0; i < kept.groupColumns.size(); ++i)
        names << QStringLiteral("p_group%1").arg(i + 1);
    return names;
}

QString parameterTypes(const KeptTotals& kept) {
    QStringList types{QStringLiteral("bigint")};
    for (qsizetype i = 0; i < kept.groupColumns.size(); ++i) types << QStringLiteral("text");
    return types.join(QStringLiteral(", "));
}

// The lock that lets one transaction at a time count a month (and group)
// again: a second till waits for the first one's commit, then counts with
// its rows in.
QString lockKey(const QStringList& values) {
    QStringList texts;
    for (const QString& value : values) texts << value + QStringLiteral("::text");
    return QStringLiteral("hashtext(concat_ws('/', %1))").arg(texts.join(QStringLiteral(", ")));
}

QString lockOf(const KeptTotals& kept, const QString& key) {
    return QStringLiteral("PERFORM pg_advisory_xact_lock(hashtext('%1'), %2);\n")
        .arg(kept.table, key);
}

QString postgresRecountFunction(const KeptTotals& kept) {
    const QStringList parameters = parameterNames(kept);
    QStringList declared;
    const QStringList types = parameterTypes(kept).split(QStringLiteral(", "));
    for (qsizetype i = 0; i < parameters.size(); ++i) declared << parameters[i] + ' ' + types[i];
    QStringList sameGroup, inGroup;
    for (qsizetype i = 0; i < kept.groupColumns.size(); ++i) {
        const QString column = q(kept.groupColumns[i]);
        const QString value = parameters[i + 1];
        sameGroup << QStringLiteral(" AND %1 IS NOT DISTINCT FROM %2").arg(column, value);
        inGroup << QStringLiteral(" AND (%1 = %2 OR %2 IS NULL AND %1 IS NULL)").arg(column, value);
    }
    // The month's rows, found by the index on their calendar day.
    const QString monthRows =
        QStringLiteral("%1 BETWEEN p_month * 100 AND p_month * 100 + 99%2")
            .arg(dayNumberOf(SqlDialect::Postgres, q(kDate)), inGroup.join(QString()));
    const QString select = monthTotalsSelect(SqlDialect::Postgres, kept, QStringLiteral("p_month"),
                                             parameters.mid(1), q(kept.source), monthRows);
    return QStringLiteral(
               "CREATE OR REPLACE FUNCTION %1(%2) RETURNS void LANGUAGE plpgsql\n"
               // The books' own schema, whatever the writer's search path: a
               // program naming the table with its schema still keeps the totals.
               "SET search_path FROM CURRENT AS $kept$\n"
               "BEGIN\n%3"
               "DELETE FROM %4 WHERE %5 = p_month%6;\n"
               "INSERT INTO %4 (%7) %8;\n"
               "END $kept$;\n")
        .arg(recountFunction(kept), declared.join(QStringLiteral(", ")),
             lockOf(kept, lockKey(parameters)), q(kept.table), q(schema::kMonthNumber),
             sameGroup.join(QString()), quotedAll(keptColumns(kept)).join(QStringLiteral(", ")),
             select);
}

QString postgresKeepFunction(const KeptTotals& kept) {
    auto groupOf = [&](const QString& row) {
        QStringList values;
        for (const QString& group : kept.groupColumns) values << row + '.' + q(group);
        return values;
    };
    auto recount = [&](const QString& month, const QString& row) {
        return QStringLiteral("PERFORM %1(%2);\n")
            .arg(recountFunction(kept),
                 (QStringList{month} + groupOf(row)).join(QStringLiteral(", ")));
    };
    const QString oldKey = lockKey(QStringList{QStringLiteral("old_month")} + groupOf("OLD"));
    const QString newKey = lockKey(QStringList{QStringLiteral("new_month")} + groupOf("NEW"));
    const QString sameGroup =
        QStringLiteral("ROW(%1) IS NOT DISTINCT FROM ROW(%2)")
            .arg((QStringList{QStringLiteral("old_month")} + groupOf("OLD")).join(", "),
                 (QStringList{QStringLiteral("new_month")} + groupOf("NEW")).join(", "));
    return QStringLiteral(
               "CREATE OR REPLACE FUNCTION %1() RETURNS trigger LANGUAGE plpgsql\n"
               "SET search_path FROM CURRENT AS $kept$\n"
               "DECLARE old_month bigint; new_month bigint;\n"
               "BEGIN\n"
               "IF TG_OP = 'TRUNCATE' THEN DELETE FROM %2; RETURN NULL; END IF;\n"
               "IF TG_OP = 'INSERT' THEN\nnew_month := %3;\n%4RETURN NULL;\nEND IF;\n"
               "old_month := %5;\n"
               "IF TG_OP = 'DELETE' THEN\n%6RETURN NULL;\nEND IF;\n"
               "new_month := %3;\n"
               "IF %7 THEN\n%4RETURN NULL;\nEND IF;\n"
               // Two months (or groups): their locks in one order, so that
               // two tills never wait for each other.
               "PERFORM pg_advisory_xact_lock(hashtext('%8'), least(%9, %10));\n"
               "PERFORM pg_advisory_xact_lock(hashtext('%8'), greatest(%9, %10));\n"
               "%6%4RETURN NULL;\n"
               "END $kept$;\n")
        .arg(keepFunction(kept), q(kept.table),
             monthNumberOf(SqlDialect::Postgres, QStringLiteral("NEW.") + q(kDate)),
             recount(QStringLiteral("new_month"), QStringLiteral("NEW")),
             monthNumberOf(SqlDialect::Postgres, QStringLiteral("OLD.") + q(kDate)),
             recount(QStringLiteral("old_month"), QStringLiteral("OLD")), sameGroup, kept.table,
             oldKey, newKey);
}

QString postgresMakeKept(const KeptTotals& kept) {
    QStringList columns;
    columns << q(schema::kMonthNumber) + QStringLiteral(" bigint NOT NULL");
    columns << q(kept.monthColumn) + QStringLiteral(" text");
    for (const QString& group : kept.groupColumns) columns << q(group) + QStringLiteral(" text");
    for (const QString& total : kept.totals)
        columns << q(total) + QStringLiteral(" double precision");
    columns << QStringLiteral("UNIQUE (%1)")
                   .arg((quotedAll(kept.groupColumns) << q(schema::kMonthNumber))
                            .join(QStringLiteral(", ")));
    QString sql = QStringLiteral("CREATE TABLE %1 (%2);\n")
                      .arg(q(kept.table), columns.join(QStringLiteral(", ")));
    sql += QStringLiteral("CREATE INDEX %1 ON %2 ((%3));\n")
               .arg(q(dayIndexName(kept)), q(kept.source),
                    dayNumberOf(SqlDialect::Postgres, q(kDate)));
    sql += postgresRecountFunction(kept);
    sql += postgresKeepFunction(kept);
    const QStringList triggers = schema::keptServerTriggers(kept);
    const QStringList changing = quotedAll(QStringList{kDate} + kept.groupColumns + kept.summed);
    sql += QStringLiteral(
               "CREATE TRIGGER %1 AFTER INSERT OR DELETE OR UPDATE OF %2 ON %3 FOR EACH ROW "
               "EXECUTE FUNCTION %4();\n")
               .arg(q(triggers[0]), changing.join(QStringLiteral(", ")), q(kept.source),
                    keepFunction(kept));
    sql += QStringLiteral(
               "CREATE TRIGGER %1 AFTER TRUNCATE ON %2 FOR EACH STATEMENT EXECUTE FUNCTION "
               "%3();\n")
               .arg(q(triggers[1]), q(kept.source), keepFunction(kept));
    return sql;
}

}  // namespace

QString savedQuerySelect(SqlDialect dialect, const KeptTotals& kept) {
    return totalsSelect(dialect, kept, false, true);
}

QString makeKept(SqlDialect dialect, const KeptTotals& kept) {
    return dialect == SqlDialect::Sqlite ? sqliteMakeKept(kept) : postgresMakeKept(kept);
}

QString refillKept(SqlDialect dialect, const KeptTotals& kept) {
    return QStringLiteral("DELETE FROM %1;\nINSERT INTO %1 (%2) %3;\n")
        .arg(q(kept.table), quotedAll(keptColumns(kept)).join(QStringLiteral(", ")),
             totalsSelect(dialect, kept, true, false));
}

QString dropKept(SqlDialect dialect, const KeptTotals& kept) {
    QString sql;
    if (dialect == SqlDialect::Sqlite) {
        for (const QString& trigger : schema::keptFileTriggers(kept))
            sql += QStringLiteral("DROP TRIGGER IF EXISTS %1;\n").arg(q(trigger));
        sql += QStringLiteral("DROP TABLE IF EXISTS %1;\n").arg(q(schema::keptFileNotes(kept)));
        sql += QStringLiteral("DROP INDEX IF EXISTS %1;\n").arg(q(dayIndexName(kept)));
    } else {
        // The triggers go with their function.
        sql += QStringLiteral("DROP FUNCTION IF EXISTS %1() CASCADE;\n").arg(keepFunction(kept));
        sql += QStringLiteral("DROP FUNCTION IF EXISTS %1(%2);\n")
                   .arg(recountFunction(kept), parameterTypes(kept));
        sql += QStringLiteral("DROP INDEX IF EXISTS %1;\n").arg(q(dayIndexName(kept)));
    }
    sql += QStringLiteral("DROP TABLE IF EXISTS %1;\n").arg(q(kept.table));
    return sql;
}

QString dayIndexName(const KeptTotals& kept) {
    return kept.source + QStringLiteral(" by calendar day");
}

}  // namespace setup::totals_sql
