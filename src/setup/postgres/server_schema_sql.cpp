#include "setup/postgres/server_schema_sql.h"

#include <QStringList>

#include "ledger/base/ledger_error.h"
#include "ledger/schema/schema.h"
#include "ledger/store/source_info.h"

namespace ledger::server_sql {

namespace {

QString quotedList(const QStringList& names) {
    QStringList quoted;
    for (const auto& n : names) quoted << quoteName(n);
    return quoted.join(QStringLiteral(", "));
}

const schema::SavedQuery& savedQuery(const QString& name) {
    for (const auto& q : schema::savedQueries())
        if (q.name == name) return q;
    fail(ErrorCode::UnknownName, QStringLiteral("No saved query named %1").arg(name));
}

// The key is handed out by the server, once: a deleted row's key never
// comes back. Texts and days are kept as typed; amounts are doubles, as in
// the file.
QString createTableSql(const schema::Table& table) {
    QStringList columns{quoteName(schema::kRowKey) +
                        QStringLiteral(" BIGINT GENERATED ALWAYS AS IDENTITY PRIMARY KEY")};
    for (const auto& c : table.columns)
        columns << quoteName(c.name) + (c.kind == schema::Kind::Amount
                                            ? QStringLiteral(" DOUBLE PRECISION")
                                            : QStringLiteral(" TEXT"));
    return QStringLiteral("CREATE TABLE %1 (%2);\n")
        .arg(quoteName(table.name), columns.join(QStringLiteral(", ")));
}

// The calendar month of a day text, as in the file's saved queries: `dated`
// is 1 when the trimmed Date reads year/month/day with three non-empty runs
// of digits (leading zeros allowed), and then `year_no` and `month_no` are
// its numbers. Plain string functions (a pattern match per row took ten
// times as long); the checked rows are computed once (materialized):
// inlined, the server would repeat the checks for every use further down. numeric, not integer,
// so that a long run of digits is a big year rather than an error that stops
// the whole month sheet.
QString monthOfDayCtes(const QString& table, const QStringList& carried) {
    const QString date = quoteName(QStringLiteral("Date"));
    auto digits = [](const char* part) {
        return QStringLiteral("%1 <> '' AND translate(%1, '0123456789', '') = ''")
            .arg(QLatin1String(part));
    };
    return QStringLiteral(
               "trimmed AS (SELECT %1, btrim(%2, E' \\t\\n\\r') AS day_text FROM %3), "
               "cut AS (SELECT *, "
               "length(day_text) - length(replace(day_text, '/', '')) AS slashes, "
               "split_part(day_text, '/', 1) AS year_part, "
               "split_part(day_text, '/', 2) AS month_part, "
               "split_part(day_text, '/', 3) AS day_part FROM trimmed), "
               "checked AS MATERIALIZED (SELECT *, CASE WHEN slashes = 2 AND %4 AND %5 AND %6 "
               "THEN 1 ELSE 0 END AS dated FROM cut), "
               "months AS (SELECT *, CASE WHEN dated = 1 THEN year_part::numeric END AS year_no, "
               "CASE WHEN dated = 1 THEN month_part::numeric END AS month_no FROM checked)")
        .arg(quotedList(carried), date, quoteName(table), digits("year_part"), digits("month_part"),
             digits("day_part"));
}

// The month's sum of an amount column, added up in doubles as the file
// does. A total beyond the range of a double must become Infinity, as in the
// file, where the month sheet shows that one total as an overflow and the
// others as they are; the server's own double sum stops the whole sheet with
// an error instead. So the values are added scaled down by 2^-64, which
// changes no bit of any sum of amounts (a power of two), and scaled back only
// when the total fits.
QString sumOf(const QString& column) {
    const QString scaled = QStringLiteral("SUM(%1 * power(2::float8, -64))").arg(quoteName(column));
    return QStringLiteral(
               "CASE WHEN abs(%1) > 1.7976931348623157e308::float8 * power(2::float8, -64) "
               "THEN sign(%1) * 'Infinity'::float8 ELSE %1 * power(2::float8, 64) END")
        .arg(scaled);
}

const QString kUndated = QStringLiteral("'Undated'");
const QString kUndatedNote = QStringLiteral(
    "/* Rows whose Date is not year/month/day are totalled under 'Undated', "
    "after the months. */ ");

// One row per calendar month: "12/ 2002" and the month's sum of each ledger
// amount, in calendar order, the undated rows last.
QString monthTotalsViewSql() {
    const auto& query = savedQuery(schema::kMonthTotals);
    const auto& amounts = schema::ledgerDayAmounts();
    QStringList select;
    select << QStringLiteral(
                  "CASE WHEN dated = 1 THEN month_no::text || '/ ' || year_no::text ELSE %1 END "
                  "AS %2")
                  .arg(kUndated, quoteName(query.columns.at(0)));
    for (const auto& column : amounts)
        select << QStringLiteral("%1 AS %2")
                      .arg(sumOf(column), quoteName(schema::monthTotalOf(column)));
    return QStringLiteral(
               "CREATE VIEW %1 AS %4WITH %2 SELECT %3 FROM months "
               "GROUP BY dated, year_no, month_no ORDER BY dated DESC, year_no, month_no;\n")
        .arg(quoteName(query.name), monthOfDayCtes(schema::kLedger, amounts),
             select.join(QStringLiteral(", ")), kUndatedNote);
}

// One row per employee and month of wage rows: "2002/12", the name, the
// serial number and the month's hours and deductions; by employee (in the
// file's order of texts: byte order, empty names first), then month.
QString monthWagesViewSql() {
    const auto& query = savedQuery(schema::kMonthWages);
    const QStringList summed = {QStringLiteral("Main hour"), QStringLiteral("Work overtime"),
                                QStringLiteral("Insurance"), QStringLiteral("Absent-Deduct")};
    QStringList select;
    select << QStringLiteral(
                  "CASE WHEN dated = 1 THEN year_no::text || '/' || month_no::text ELSE %1 END "
                  "AS %2")
                  .arg(kUndated, quoteName(query.columns.at(0)));
    select << QStringLiteral("%1 AS %2")
                  .arg(quoteName(QStringLiteral("Name")), quoteName(query.columns.at(1)));
    select << QStringLiteral("%1 AS %2")
                  .arg(quoteName(QStringLiteral("Serial numbers")), quoteName(query.columns.at(2)));
    for (int i = 0; i < summed.size(); ++i)
        select
            << QStringLiteral("%1 AS %2").arg(sumOf(summed[i]), quoteName(query.columns.at(3 + i)));
    const QString name = quoteName(QStringLiteral("Name"));
    const QString serial = quoteName(QStringLiteral("Serial numbers"));
    return QStringLiteral(
               "CREATE VIEW %1 AS %6WITH %2 SELECT %3 FROM months "
               "GROUP BY %4, %5, dated, year_no, month_no "
               "ORDER BY %4 COLLATE \"C\" NULLS FIRST, %5 COLLATE \"C\" NULLS FIRST, "
               "dated DESC, year_no, month_no;\n")
        .arg(quoteName(query.name),
             monthOfDayCtes(schema::kWages, QStringList{"Name", "Serial numbers"} + summed),
             select.join(QStringLiteral(", ")), name, serial, kUndatedNote);
}

// One row per wage row, in the table's order, with the day's wage as the wage
// window computes it, an empty value counting 0.
QString inquiryDetailViewSql() {
    const auto& query = savedQuery(schema::kInquiryDetail);
    auto amount = [](const char* column) {
        return QStringLiteral("COALESCE(%1, 0.0)").arg(quoteName(QString::fromLatin1(column)));
    };
    const QString wage =
        QStringLiteral("%1 * %2 + %3 * %4 - (%5 + %6)")
            .arg(amount("Salary hour"), amount("Main hour"), amount("Overtime salary hour"),
                 amount("Work overtime"), amount("Insurance"), amount("Absent-Deduct"));
    QStringList select;
    const QString& wageColumn = query.columns.last();
    for (const auto& column : query.columns) {
        if (column == wageColumn)
            select << wage + QStringLiteral(" AS ") + quoteName(column);
        else
            select << quoteName(column);
    }
    return QStringLiteral("CREATE VIEW %1 AS SELECT %2 FROM %3 ORDER BY %4;\n")
        .arg(quoteName(query.name), select.join(QStringLiteral(", ")), quoteName(schema::kWages),
             quoteName(schema::kRowKey));
}

// The choice lists, as in a new file: "Yes" and "No" for leave and absence,
// the reasons for leaving for the staff register.
QString fillSelectSql() {
    const auto* table = schema::findTable(schema::kSelect);
    QStringList columns;
    for (const auto& c : table->columns) columns << c.name;
    return QStringLiteral(
               "INSERT INTO %1 (%2) VALUES ('Yes', 'Yes', 'Resigned'), ('No', 'No', "
               "'Dismissed');\n")
        .arg(quoteName(table->name), quotedList(columns));
}

}  // namespace

QString createTables() {
    QString sql;
    for (const auto& table : schema::tables()) sql += createTableSql(table);
    // Save and Inquiry look a day up by its date text.
    sql += QStringLiteral("CREATE INDEX %1 ON %2 (%3);\n")
               .arg(quoteName(QStringLiteral("%1 by Date").arg(schema::kLedger)),
                    quoteName(schema::kLedger), quoteName(QStringLiteral("Date")));
    return sql + fillSelectSql();
}

QString createViews() {
    return monthTotalsViewSql() + monthWagesViewSql() + inquiryDetailViewSql();
}

QString dropAll() {
    QString sql;
    for (const auto& query : schema::savedQueries())
        sql += QStringLiteral("DROP VIEW IF EXISTS %1 CASCADE;\n").arg(quoteName(query.name));
    for (const auto& table : schema::tables())
        sql += QStringLiteral("DROP TABLE IF EXISTS %1 CASCADE;\n").arg(quoteName(table.name));
    return sql;
}

}  // namespace ledger::server_sql
