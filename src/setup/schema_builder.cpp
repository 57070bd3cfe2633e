#include "setup/schema_builder.h"

#include <sqlite3.h>

#include "ledger/base/ledger_error.h"
#include "ledger/calendar/calendar_sql.h"
#include "ledger/schema/schema.h"
#include "ledger/store/source_info.h"
#include "ledger/store/sqlite/sqlite_statements.h"
#include "setup/totals_sql.h"

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
QString monthViewSql(const schema::KeptTotals& kept) {
    return QStringLiteral("CREATE VIEW %1 AS %2%3;\n")
        .arg(quoteName(kept.savedQuery), kUndatedNote,
             totals_sql::savedQuerySelect(calendar::SqlDialect::Sqlite, kept));
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
    for (const auto& kept : schema::keptTotals()) sql += monthViewSql(kept);
    sql += inquiryDetailViewSql();
    for (const auto& kept : schema::keptTotals())
        sql += totals_sql::makeKept(calendar::SqlDialect::Sqlite, kept);
    run(db, sql, QStringLiteral("Creating the tables and saved queries"));
    fillSelect(db);
    savepoint.release();
}

void dropKeptTotals(sqlite3* db) {
    QString sql;
    for (const auto& kept : schema::keptTotals())
        sql += totals_sql::dropKept(calendar::SqlDialect::Sqlite, kept);
    run(db, sql, QStringLiteral("Removing the kept month totals"));
}

void keepTotals(sqlite3* db) {
    statements::Savepoint savepoint(db, QStringLiteral("keep_totals"));
    QString sql;
    for (const auto& kept : schema::keptTotals()) {
        sql += totals_sql::dropKept(calendar::SqlDialect::Sqlite, kept);
        sql += totals_sql::makeKept(calendar::SqlDialect::Sqlite, kept);
        sql += totals_sql::refillKept(calendar::SqlDialect::Sqlite, kept);
    }
    run(db, sql, QStringLiteral("Making the kept month totals"));
    savepoint.release();
}

void replaceMonthView(sqlite3* db, const schema::KeptTotals& kept) {
    run(db,
        QStringLiteral("DROP VIEW IF EXISTS %1;\n").arg(quoteName(kept.savedQuery)) +
            monthViewSql(kept),
        QStringLiteral("Bringing the saved query %1 up to date").arg(kept.savedQuery));
}

}  // namespace ledger
