// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/earlier_books.h"

#include "ledger/store/sql_dialect.h"
#include "setup/history_sql.h"
#include "support/temp_database.h"

void dropHistoryTriggers(const TempDatabase& db) {
    const ledger::SqlDialect& dialect =
        db.onServer() ? ledger::SqlDialect::postgres() : ledger::SqlDialect::sqlite();
    for (const QString& statement :
         setup::history_sql::dropTriggers(dialect).split(u'\n', Qt::SkipEmptyParts))
        db.exec(statement);
}

void makeWageRowsAsEarlierVersions(const TempDatabase& db) {
    dropHistoryTriggers(db);
    db.exec(QStringLiteral("DROP VIEW \"Inquiry detail\""));
    db.exec(QStringLiteral("DROP INDEX \"The staff calculate wages with a monthly pay\""));
    db.exec(
        QStringLiteral("ALTER TABLE \"The staff calculate wages\" DROP COLUMN \"Monthly pay\""));
    db.exec(QStringLiteral(
        "CREATE VIEW \"Inquiry detail\" AS SELECT \"Date\", \"Name\", \"Serial numbers\", "
        "\"Main hour\", \"Work overtime\", \"Absent\", \"Ask for leave\", "
        "COALESCE(\"Salary hour\", 0.0) * COALESCE(\"Main hour\", 0.0) + "
        "COALESCE(\"Overtime salary hour\", 0.0) * COALESCE(\"Work overtime\", 0.0) - "
        "(COALESCE(\"Insurance\", 0.0) + COALESCE(\"Absent-Deduct\", 0.0)) AS "
        "\"Daily settlement of accounts\" FROM \"The staff calculate wages\" ORDER BY rowid"));
}
