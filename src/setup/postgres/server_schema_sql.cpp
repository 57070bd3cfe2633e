#include "setup/postgres/server_schema_sql.h"

#include <QStringList>

#include "ledger/base/ledger_error.h"
#include "ledger/calendar/calendar_sql.h"
#include "ledger/schema/schema.h"
#include "ledger/store/source_info.h"
#include "setup/totals_sql.h"

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

const QString kUndatedNote = QStringLiteral(
    "/* Rows whose Date is not a calendar day are totalled under 'Undated', "
    "after the months. */ ");

// The month totals and the wage totals per employee and month, as in a
// file (totals_sql.h): the same rows in the same order, the same figures.
QString monthViewSql(const schema::KeptTotals& kept) {
    return QStringLiteral("CREATE VIEW %1 AS %2%3;\n")
        .arg(quoteName(kept.savedQuery), kUndatedNote,
             totals_sql::savedQuerySelect(calendar::SqlDialect::Postgres, kept));
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
    QString sql;
    for (const auto& kept : schema::keptTotals()) sql += monthViewSql(kept);
    return sql + inquiryDetailViewSql();
}

QString keepTotals() {
    QString sql;
    for (const auto& kept : schema::keptTotals()) {
        sql += totals_sql::dropKept(calendar::SqlDialect::Postgres, kept);
        sql += totals_sql::makeKept(calendar::SqlDialect::Postgres, kept);
        sql += totals_sql::refillKept(calendar::SqlDialect::Postgres, kept);
    }
    return sql;
}

QString replaceMonthView(const schema::KeptTotals& kept) {
    return QStringLiteral("DROP VIEW IF EXISTS %1;\n").arg(quoteName(kept.savedQuery)) +
           monthViewSql(kept);
}

QString dropAll() {
    QString sql;
    for (const auto& kept : schema::keptTotals())
        sql += totals_sql::dropKept(calendar::SqlDialect::Postgres, kept);
    for (const auto& query : schema::savedQueries())
        sql += QStringLiteral("DROP VIEW IF EXISTS %1 CASCADE;\n").arg(quoteName(query.name));
    for (const auto& table : schema::tables())
        sql += QStringLiteral("DROP TABLE IF EXISTS %1 CASCADE;\n").arg(quoteName(table.name));
    return sql;
}

}  // namespace ledger::server_sql
