// SPDX-License-Identifier: GPL-3.0-or-later
#include "setup/schema_sql.h"

#include <QStringList>

#include "ledger/base/ledger_error.h"
#include "ledger/store/source_info.h"
#include "setup/totals_sql.h"

namespace setup::schema_sql {

namespace schema = ledger::schema;
using ledger::quoteName;
using ledger::SqlDialect;

namespace {

QString quotedList(const QStringList& names) {
    QStringList quoted;
    for (const auto& n : names) quoted << quoteName(n);
    return quoted.join(QStringLiteral(", "));
}

const schema::SavedQuery& savedQuery(const QString& name) {
    for (const auto& q : schema::savedQueries())
        if (q.name == name) return q;
    ledger::fail(ledger::ErrorCode::UnknownName,
                 QStringLiteral("No saved query named %1").arg(name));
}

// The key column is the table's only unique one (two days with the same
// date are allowed).
QString createTableSql(const SqlDialect& dialect, const schema::Table& table) {
    QStringList columns{dialect.keyColumnDefinition()};
    for (const auto& c : table.columns)
        columns << quoteName(c.name) + QLatin1Char(' ') + dialect.columnType(c.kind);
    return QStringLiteral("CREATE TABLE %1 (%2);\n")
        .arg(quoteName(table.name), columns.join(QStringLiteral(", ")));
}

// Rows whose Date is not a calendar day would otherwise drop out of the
// monthly figures without a trace; they are gathered in one row keyed
// "Undated", after every calendar month, so the month sheet still shows what
// they add up to.
const QString kUndatedNote = QStringLiteral(
    "/* Rows whose Date is not a calendar day are totalled under 'Undated', "
    "after the months. */ ");

// The two saved queries that add the rows up per month: the ledger's month
// totals ("12/ 2002", the month sheet's form) and the wage totals per
// employee and month ("2002/12", the form the wage-detail filter finds
// inside day texts), by the program's one rule of what a calendar day is.
QString monthViewSql(const SqlDialect& dialect, const schema::KeptTotals& kept) {
    return QStringLiteral("CREATE VIEW %1 AS %2%3;\n")
        .arg(quoteName(kept.savedQuery), kUndatedNote,
             totals_sql::savedQuerySelect(dialect.calendar(), kept));
}

// One row per wage row, in the table's order, with the day's wage as the wage
// window computes it: Salary hour × Main hour + Overtime salary hour × Work
// overtime − (Insurance + Absent-Deduct), an empty value counting 0; or,
// for a row that records the monthly pay its Save added in its place, that
// monthly pay.
QString inquiryDetailViewSql(const SqlDialect& dialect) {
    const auto& query = savedQuery(schema::kInquiryDetail);
    auto amount = [](const char* column) {
        return QStringLiteral("COALESCE(%1, 0.0)").arg(quoteName(QString::fromLatin1(column)));
    };
    const QString byTheHour =
        QStringLiteral("%1 * %2 + %3 * %4 - (%5 + %6)")
            .arg(amount("Salary hour"), amount("Main hour"), amount("Overtime salary hour"),
                 amount("Work overtime"), amount("Insurance"), amount("Absent-Deduct"));
    const QString monthlyPay = quoteName(schema::kWageMonthlyPay);
    const QString wage =
        QStringLiteral("CASE WHEN %1 IS NOT NULL THEN %1 ELSE %2 END").arg(monthlyPay, byTheHour);
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
             dialect.rowOrder());
}

// The choice lists: "Yes" and "No" for leave and absence, which the wage
// window acts on, and the reasons for leaving that the staff register offers.
// Two rows, so neither yes/no list shows an empty entry.
QString fillSelectSql() {
    const auto* table = schema::findTable(schema::kSelect);
    QStringList columns;
    for (const auto& c : table->columns) columns << c.name;
    return QStringLiteral(
               "INSERT INTO %1 (%2) VALUES ('Yes', 'Yes', 'Resigned'), ('No', 'No', "
               "'Dismissed');\n")
        .arg(quoteName(table->name), quotedList(columns));
}

// A server's count of removals for each table (schema::removalCounter).
// One statement's removal, or a TRUNCATE, moves it once, however many rows
// went: the store only asks whether any may have. A sequence is not undone
// with the transaction, so a removal rolled back still moves it, which only
// costs the next refresh one full read of the keys; a removal is never
// missed. The function runs as the one who made the books, so that a till
// allowed to remove rows needs no right to the counter, and does nothing
// when the counter was dropped: removals then go on, and the store counts
// rows instead.
QString removalCountersSql() {
    QString sql = QStringLiteral(
        "CREATE OR REPLACE FUNCTION \"count a removal\"() RETURNS trigger LANGUAGE plpgsql "
        "SECURITY DEFINER SET search_path = pg_catalog AS $removals$\n"
        "DECLARE counter regclass := to_regclass(format('%I.%I', TG_TABLE_SCHEMA, TG_ARGV[0]));\n"
        "BEGIN\n"
        "IF counter IS NOT NULL THEN PERFORM nextval(counter); END IF;\n"
        "RETURN NULL;\n"
        "END $removals$;\n");
    const QStringList triggers = schema::removalServerTriggers();
    for (const auto& table : schema::tables()) {
        const QString counter = schema::removalCounter(table.name);
        QString argument = counter;
        argument.replace(QLatin1Char('\''), QStringLiteral("''"));
        sql += QStringLiteral("CREATE SEQUENCE %1;\n").arg(quoteName(counter));
        sql += QStringLiteral(
                   "CREATE TRIGGER %1 AFTER DELETE ON %3 FOR EACH STATEMENT EXECUTE FUNCTION "
                   "\"count a removal\"('%4');\n"
                   "CREATE TRIGGER %2 AFTER TRUNCATE ON %3 FOR EACH STATEMENT EXECUTE FUNCTION "
                   "\"count a removal\"('%4');\n")
                   .arg(quoteName(triggers[0]), quoteName(triggers[1]), quoteName(table.name),
                        argument);
    }
    return sql;
}

// The salary window and the salaries export add up the monthly pays: with
// this index they read the few wage rows that record one, not all of them.
QString monthlyPayIndexSql() {
    const QString pay = quoteName(schema::kWageMonthlyPay);
    return QStringLiteral("CREATE INDEX IF NOT EXISTS %1 ON %2 (%3) WHERE %3 IS NOT NULL;\n")
        .arg(quoteName(schema::kWages + QStringLiteral(" with a monthly pay")),
             quoteName(schema::kWages), pay);
}

}  // namespace

QString createTables(const SqlDialect& dialect) {
    QString sql;
    for (const auto& table : schema::tables()) sql += createTableSql(dialect, table);
    // A file's mark of removals is SQLite's own data_version.
    if (dialect.calendar() == ledger::calendar::SqlDialect::Postgres) sql += removalCountersSql();
    // Save and Inquiry look a day up by its date text, and a search of days
    // with a fixed start reads a range of it: with this index both cost the
    // same in a year's ledger as in a century's.
    sql += QStringLiteral("CREATE INDEX %1 ON %2 (%3);\n")
               .arg(quoteName(QStringLiteral("%1 by Date").arg(schema::kLedger)),
                    quoteName(schema::kLedger),
                    dialect.indexedText(quoteName(QStringLiteral("Date"))));
    return sql + monthlyPayIndexSql() + fillSelectSql();
}

QString createViews(const SqlDialect& dialect) {
    QString sql;
    for (const auto& kept : schema::keptTotals()) sql += monthViewSql(dialect, kept);
    return sql + inquiryDetailViewSql(dialect);
}

QString makeKeptTotals(const SqlDialect& dialect) {
    QString sql;
    for (const auto& kept : schema::keptTotals())
        sql += totals_sql::makeKept(dialect.calendar(), kept);
    return sql;
}

QString keepTotals(const SqlDialect& dialect) {
    QString sql;
    for (const auto& kept : schema::keptTotals()) {
        sql += totals_sql::dropKept(dialect.calendar(), kept);
        sql += totals_sql::makeKept(dialect.calendar(), kept);
        sql += totals_sql::refillKept(dialect.calendar(), kept);
    }
    return sql;
}

QString dropRemovalCounters() {
    QString sql;
    for (const auto& table : schema::tables())
        sql += QStringLiteral("DROP SEQUENCE IF EXISTS %1;\n")
                   .arg(quoteName(schema::removalCounter(table.name)));
    return sql + QStringLiteral("DROP FUNCTION IF EXISTS \"count a removal\"() CASCADE;\n");
}

QString dropKeptTotals(const SqlDialect& dialect) {
    QString sql;
    for (const auto& kept : schema::keptTotals())
        sql += totals_sql::dropKept(dialect.calendar(), kept);
    return sql;
}

QString addLaterColumn(const SqlDialect& dialect, const schema::Table& table,
                       const schema::Column& column) {
    QString sql =
        QStringLiteral("ALTER TABLE %1 ADD COLUMN %2 %3;\n")
            .arg(quoteName(table.name), quoteName(column.name), dialect.columnType(column.kind));
    if (table.name == schema::kWages && column.name == schema::kWageMonthlyPay)
        sql += monthlyPayIndexSql();
    return sql;
}

QString replaceInquiryDetailView(const SqlDialect& dialect) {
    return QStringLiteral("DROP VIEW IF EXISTS %1;\n").arg(quoteName(schema::kInquiryDetail)) +
           inquiryDetailViewSql(dialect);
}

QString replaceMonthView(const SqlDialect& dialect, const schema::KeptTotals& kept) {
    return QStringLiteral("DROP VIEW IF EXISTS %1;\n").arg(quoteName(kept.savedQuery)) +
           monthViewSql(dialect, kept);
}

}  // namespace setup::schema_sql
