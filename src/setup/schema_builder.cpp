#include "setup/schema_builder.h"

#include <sqlite3.h>

#include "ledger/base/ledger_error.h"
#include "ledger/schema/schema.h"
#include "ledger/store/source_info.h"
#include "ledger/store/sqlite/sqlite_statements.h"

namespace ledger {

namespace {

using statements::run;

QString sqlType(schema::Kind kind) {
    return kind == schema::Kind::Amount ? QStringLiteral("REAL") : QStringLiteral("TEXT");
}

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

// The key column is the table's only unique one (two days with the same
// date are allowed). As INTEGER PRIMARY KEY it is SQLite's rowid itself, so
// the saved queries' row order stays what it was; AUTOINCREMENT keeps a
// deleted row's key from being handed out again.
QString createTableSql(const schema::Table& table) {
    QStringList columns{quoteName(schema::kRowKey) +
                        QStringLiteral(" INTEGER PRIMARY KEY AUTOINCREMENT")};
    for (const auto& c : table.columns) columns << quoteName(c.name) + ' ' + sqlType(c.kind);
    return QStringLiteral("CREATE TABLE %1 (%2);\n")
        .arg(quoteName(table.name), columns.join(QStringLiteral(", ")));
}

// The calendar month of a day text, as common table expressions over `table`
// ending in one named `months`: the columns `carried`, then `dated` (1 when
// the trimmed Date reads year/month/day with three non-empty runs of digits,
// leading zeros allowed, so 2002/02/12 is February 2002), `year_no` and
// `month_no` (numbers; empty for rows that are not dated). The two cuts are
// materialized: inlined, SQLite would repeat every substr/instr once per use
// further down, which made the month totals several times slower.
QString monthOfDayCtes(const QString& table, const QStringList& carried) {
    const QString date = quoteName(QStringLiteral("Date"));
    return QStringLiteral(
               "trimmed AS (SELECT rowid AS row_no, %1, "
               "trim(%2, ' ' || char(9, 10, 13)) AS day_text FROM %3), "
               "first_cut AS MATERIALIZED (SELECT *, substr(day_text, 1, instr(day_text, '/') - 1) "
               "AS "
               "year_part, "
               "substr(day_text, instr(day_text, '/') + 1) AS after_year, "
               "instr(day_text, '/') AS first_slash FROM trimmed), "
               "second_cut AS MATERIALIZED (SELECT *, substr(after_year, 1, instr(after_year, '/') "
               "- 1) "
               "AS month_part, substr(after_year, instr(after_year, '/') + 1) AS day_part, "
               "instr(after_year, '/') AS second_slash FROM first_cut), "
               "checked AS (SELECT *, CASE WHEN first_slash > 0 AND second_slash > 0 "
               "AND year_part <> '' AND year_part NOT GLOB '*[^0-9]*' "
               "AND month_part <> '' AND month_part NOT GLOB '*[^0-9]*' "
               "AND day_part <> '' AND day_part NOT GLOB '*[^0-9]*' "
               "THEN 1 ELSE 0 END AS dated FROM second_cut), "
               "months AS (SELECT *, "
               "CASE WHEN dated THEN CAST(year_part AS INTEGER) END AS year_no, "
               "CASE WHEN dated THEN CAST(month_part AS INTEGER) END AS month_no FROM checked)")
        .arg(quotedList(carried), date, quoteName(table));
}

// Rows whose Date is not a year/month/day text would otherwise drop out of
// the monthly figures without a trace; they are gathered in one row keyed
// "Undated", after every calendar month, so the month sheet still shows what
// they add up to.
const QString kUndated = QStringLiteral("'Undated'");
const QString kUndatedNote = QStringLiteral(
    "/* Rows whose Date is not year/month/day are totalled under 'Undated', "
    "after the months. */ ");

// One row per calendar month that has day rows: the month as "12/ 2002" (no
// leading zero, a blank after the slash, as the month sheet's search expects)
// and the sum of each ledger amount; SUM leaves a month whose column is empty
// on every day empty. Calendar order: year, then month number.
QString monthTotalsViewSql() {
    const auto& query = savedQuery(schema::kMonthTotals);
    const auto& amounts = schema::ledgerDayAmounts();
    QStringList select;
    select << QStringLiteral("CASE WHEN dated THEN month_no || '/ ' || year_no ELSE %1 END AS %2")
                  .arg(kUndated, quoteName(query.columns.at(0)));
    for (const auto& column : amounts)
        select << QStringLiteral("SUM(%1) AS %2")
                      .arg(quoteName(column), quoteName(schema::monthTotalOf(column)));
    return QStringLiteral(
               "CREATE VIEW %1 AS %4WITH %2 SELECT %3 FROM months "
               "GROUP BY dated, year_no, month_no ORDER BY dated DESC, year_no, month_no;\n")
        .arg(quoteName(query.name), monthOfDayCtes(schema::kLedger, amounts),
             select.join(QStringLiteral(", ")), kUndatedNote);
}

// One row per employee (name and serial number) and month of wage rows: the
// month as "2002/12" (the form the wage-detail filter finds inside day texts)
// and the month's hours and deductions. Ordered by employee, then month
// ascending, so stepping back through an employee's rows goes back in time.
QString monthWagesViewSql() {
    const auto& query = savedQuery(schema::kMonthWages);
    const QStringList summed = {QStringLiteral("Main hour"), QStringLiteral("Work overtime"),
                                QStringLiteral("Insurance"), QStringLiteral("Absent-Deduct")};
    // Columns in the order the file lists them: month, name, serial number,
    // then the four totals.
    QStringList select;
    select << QStringLiteral("CASE WHEN dated THEN year_no || '/' || month_no ELSE %1 END AS %2")
                  .arg(kUndated, quoteName(query.columns.at(0)));
    select << QStringLiteral("%1 AS %2")
                  .arg(quoteName(QStringLiteral("Name")), quoteName(query.columns.at(1)));
    select << QStringLiteral("%1 AS %2")
                  .arg(quoteName(QStringLiteral("Serial numbers")), quoteName(query.columns.at(2)));
    for (int i = 0; i < summed.size(); ++i)
        select << QStringLiteral("SUM(%1) AS %2")
                      .arg(quoteName(summed[i]), quoteName(query.columns.at(3 + i)));
    const QString employee =
        quoteName(QStringLiteral("Name")) + ", " + quoteName(QStringLiteral("Serial numbers"));
    return QStringLiteral(
               "CREATE VIEW %1 AS %5WITH %2 SELECT %3 FROM months "
               "GROUP BY %4, dated, year_no, month_no "
               "ORDER BY %4, dated DESC, year_no, month_no;\n")
        .arg(quoteName(query.name),
             monthOfDayCtes(schema::kWages, QStringList{"Name", "Serial numbers"} + summed),
             select.join(QStringLiteral(", ")), employee, kUndatedNote);
}

// One row per wage row, in the table's order, with the day's wage as the wage
// window computes it: Salary hour × Main hour + Overtime salary hour × Work
// overtime − (Insurance + Absent-Deduct), an empty value counting 0.
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
    return QStringLiteral("CREATE VIEW %1 AS SELECT %2 FROM %3 ORDER BY rowid;\n")
        .arg(quoteName(query.name), select.join(QStringLiteral(", ")), quoteName(schema::kWages));
}

// The choice lists: "Yes" and "No" for leave and absence, which the wage
// window acts on, and the reasons for leaving that the staff register offers.
// Two rows, so neither yes/no list shows an empty entry.
void fillSelect(sqlite3* db) {
    const auto* table = schema::findTable(schema::kSelect);
    QStringList columns;
    for (const auto& c : table->columns) columns << c.name;
    statements::Statement insert(db,
                                 QStringLiteral("INSERT INTO %1 (%2) VALUES (?, ?, ?)")
                                     .arg(quoteName(table->name), quotedList(columns)),
                                 QStringLiteral("Filling the choice lists"));
    const QStringList rows[] = {{"Yes", "Yes", "Resigned"}, {"No", "No", "Dismissed"}};
    for (const auto& row : rows) {
        for (int i = 0; i < row.size(); ++i) insert.bind(i + 1, row[i]);
        insert.step();
        insert.reset();
    }
}

}  // namespace

void createSchema(sqlite3* db) {
    statements::Savepoint savepoint(db, QStringLiteral("create_schema"));
    QString sql;
    for (const auto& table : schema::tables()) sql += createTableSql(table);
    // Save and Inquiry look a day up by its date text: with this index the
    // look-up costs the same in a year's ledger as in a century's.
    sql += QStringLiteral("CREATE INDEX %1 ON %2 (%3);\n")
               .arg(quoteName(QStringLiteral("%1 by Date").arg(schema::kLedger)),
                    quoteName(schema::kLedger), quoteName(QStringLiteral("Date")));
    sql += monthTotalsViewSql();
    sql += monthWagesViewSql();
    sql += inquiryDetailViewSql();
    run(db, sql, QStringLiteral("Creating the tables and saved queries"));
    fillSelect(db);
    savepoint.release();
}

}  // namespace ledger
