// SPDX-License-Identifier: GPL-3.0-or-later
// The month totals kept as the days change: whoever writes a day (a window,
// the wage Save's addition, another program, an undone transaction), the
// rows the program reads for the month sheet and the salary window are the
// saved query's rows, figure for figure down to the last bit, on a file and
// on a server; a ledger without them is read from its saved query.

#include <gtest/gtest.h>

#include <QProcess>
#include <QThread>
#include <cstring>
#include <limits>

#include "ledger/base/ledger_error.h"
#include "ledger/calendar/calendar_sql.h"
#include "ledger/fake_field.h"
#include "ledger/location/program_folder.h"
#include "ledger/records/record_source.h"
#include "ledger/schema/schema.h"
#include "ledger/store/postgres/server_connection.h"
#include "ledger/store/source_info.h"
#include "ledger/store/sqlite/sqlite_statements.h"
#include "ledger/store/store.h"
#include "setup/schema_builder.h"
#include "setup/totals_sql.h"
#include "support/temp_database.h"

namespace schema = ledger::schema;
using ledger::quoteName;
using Rows = std::vector<std::vector<QVariant>>;

namespace {

const schema::KeptTotals& monthTotals() { return schema::keptTotals()[0]; }
const schema::KeptTotals& wageMonths() { return schema::keptTotals()[1]; }

QString describe(const QVariant& v) {
    if (v.isNull()) return QStringLiteral("(empty)");
    if (v.typeId() == QMetaType::Double) return QString::number(v.toDouble(), 'g', 17);
    return QLatin1Char('"') + v.toString() + QLatin1Char('"');
}

// The same figure to the last bit, the same text, or both empty.
bool sameValue(const QVariant& a, const QVariant& b) {
    if (a.isNull() || b.isNull()) return a.isNull() && b.isNull();
    if (a.typeId() == QMetaType::Double || b.typeId() == QMetaType::Double) {
        if (a.typeId() != QMetaType::Double || b.typeId() != QMetaType::Double) return false;
        const double x = a.toDouble(), y = b.toDouble();
        return std::memcmp(&x, &y, sizeof x) == 0;
    }
    return a.toString() == b.toString();
}

class KeptTotals : public ::testing::Test {
protected:
    // The saved query's rows as anyone reading it gets them.
    Rows savedQueryRows(const schema::KeptTotals& kept) const {
        QStringList columns;
        for (const QString& c : kept.queryColumns) columns << quoteName(c);
        return db.query(QStringLiteral("SELECT %1 FROM %2")
                            .arg(columns.join(QLatin1Char(',')), quoteName(kept.savedQuery)));
    }

    // The rows the program reads for the saved query (its record sources,
    // the export): the kept ones, where the ledger keeps them.
    Rows programRows(const schema::KeptTotals& kept) const {
        Rows rows;
        ledger::openStore(ledger::Connection{db.path()})
            ->scan(kept.savedQuery, kept.queryColumns,
                   [&](ledger::Store::RowKey, const std::vector<QVariant>& values) {
                       rows.push_back(values);
                       return true;
                   });
        return rows;
    }

    void expectTheSame(const QString& step) const {
        for (const schema::KeptTotals& kept : schema::keptTotals()) {
            const Rows expected = savedQueryRows(kept), read = programRows(kept);
            ASSERT_EQ(read.size(), expected.size())
                << step.toStdString() << ", " << kept.table.toStdString();
            for (size_t r = 0; r < read.size(); ++r)
                for (size_t c = 0; c < read[r].size(); ++c)
                    EXPECT_TRUE(sameValue(read[r][c], expected[r][c]))
                        << step.toStdString() << ": " << kept.table.toStdString() << " row " << r
                        << ", " << kept.queryColumns[qsizetype(c)].toStdString() << ": read "
                        << describe(read[r][c]).toStdString() << ", the saved query gives "
                        << describe(expected[r][c]).toStdString();
        }
    }

    qint64 addDay(const QVariant& date, const QString& column, const QVariant& value) const {
        return db.insert(schema::kLedger, {"Date", column}, {date, value});
    }

    ledger::calendar::SqlDialect dialect() const {
        return db.onServer() ? ledger::calendar::SqlDialect::Postgres
                             : ledger::calendar::SqlDialect::Sqlite;
    }

    TempDatabase db;
};

TEST_F(KeptTotals, EqualTheSavedQueriesAfterEveryKindOfWrite) {
    auto store = ledger::openStore(ledger::Connection{db.path()});
    const QString rent = QStringLiteral("Rent");
    expectTheSame(QStringLiteral("an empty ledger"));

    // Texts that are no calendar day, and days written otherwise.
    for (const char* date : {"2002/2/30", "2002/13/1", "2002 / 4 / 12", "2002/02/12", " 2002/2/13 ",
                             "", "2000/2/29", "1900/2/29", "yesterday"})
        addDay(QString::fromUtf8(date), rent, 10.0);
    addDay(QVariant(), rent, 1.0);
    expectTheSame(QStringLiteral("odd dates"));

    // Added out of calendar order, with figures whose sum depends on the
    // order they are added in: 1E16 + 1 + 1 - 1E16 is 0 in the order the
    // rows were added and 2 in calendar order.
    const qint64 bigDay = addDay("2003/5/20", rent, 1e16);
    store->insertRow(schema::kLedger, {"Date", "Rent"}, {QStringLiteral("2003/5/5"), 1.0});
    store->insertRow(schema::kLedger, {"Date", "Rent"}, {QStringLiteral("2003/5/6"), 1.0});
    addDay("2003/5/25", rent, -1e16);
    addDay("2003/5/7", QStringLiteral("Partner"), 0.1);
    addDay("2003/5/3", QStringLiteral("Partner"), 0.2);
    expectTheSame(QStringLiteral("figures that depend on their order"));

    // A month whose only figure is empty, and one beyond the range of a
    // number (Infinity on a file and on a server alike).
    addDay("2003/6/1", QStringLiteral("Partner"), QVariant());
    const qint64 huge = addDay("2003/7/1", QStringLiteral("Turnover"), 1e308);
    addDay("2003/7/2", QStringLiteral("Turnover"), 1e308);
    expectTheSame(QStringLiteral("an empty month and an overflowing one"));

    // The program's writes: a figure, a date moved to another month, the
    // wage Save's addition, a removal.
    ASSERT_TRUE(store->updateRow(schema::kLedger, bigDay, {"Rent"}, {3.5}, {1e16}));
    ASSERT_TRUE(store->updateRow(schema::kLedger, huge, {"Date"}, {QStringLiteral("2003/8/1")},
                                 {QStringLiteral("2003/7/1")}));
    ASSERT_TRUE(store->addToAmount(schema::kLedger, bigDay, "Personnel rate", 810,
                                   QStringLiteral("Date"), QStringLiteral("2003/5/20")));
    store->deleteRow(schema::kLedger, bigDay);
    expectTheSame(QStringLiteral("the program's writes"));

    // Another program's writes, a supply item (not added up) and a
    // transaction given up.
    db.exec(
        QStringLiteral("UPDATE \"daily settlement of accounts\" SET Date = '2002/2/28' WHERE "
                       "Date = '2002/2/30'"));
    db.exec(
        QStringLiteral("UPDATE \"daily settlement of accounts\" SET Cup = 4 WHERE Date = "
                       "'2003/5/5'"));
    db.exec(QStringLiteral("DELETE FROM \"daily settlement of accounts\" WHERE Date = '2003/8/1'"));
    EXPECT_THROW(store->inTransaction([&] {
        store->insertRow(schema::kLedger, {"Date", "Rent"}, {QStringLiteral("2003/5/9"), 7.0});
        throw ledger::LedgerError(ledger::ErrorCode::StoreFailure, QStringLiteral("given up"));
    }),
                 ledger::LedgerError);
    expectTheSame(QStringLiteral("another program's writes"));
}

TEST_F(KeptTotals, KeepEachEmployeesMonthsApart) {
    auto add = [&](const QVariant& date, const QVariant& name, const QVariant& serial,
                   double hours) {
        return db.insert(schema::kWages,
                         {"Date", "Name", "Serial numbers", "Main hour", "Insurance"},
                         {date, name, serial, hours, 0.1});
    };
    add("2002/5/3", "Tovena", "A001", 8);
    add("2002/5/1", "tovena", "A001", 7);  // another name: letters differ in case
    add("2002/5/2", "Tovena", "A009", 6);  // the same name, another serial number
    add("2002/2/30", "Tovena", "A001", 5);
    add("2002/5/9", QVariant(), "A002", 4);
    const qint64 moved = add("2002/6/1", "Chen", QVariant(), 3);
    add("2002/6/2", "Chen", QVariant(), 2.5);
    expectTheSame(QStringLiteral("wage rows of several employees"));

    auto store = ledger::openStore(ledger::Connection{db.path()});
    ASSERT_TRUE(store->updateRow(schema::kWages, moved, {"Name"}, {QStringLiteral("Ann")},
                                 {QStringLiteral("Chen")}));
    store->deleteRow(schema::kWages, moved);
    db.exec(QStringLiteral("UPDATE \"The staff calculate wages\" SET Absent = 'Yes'"));
    expectTheSame(QStringLiteral("a wage row moved to another employee and removed"));
}

// Another program stores rows in place of stored ones of the same key, in
// one statement: SQLite's INSERT OR REPLACE removes the stored row without
// its delete trigger unless that connection asked for recursive triggers (so
// both are tried). The month each stored row was in is counted again.
TEST_F(KeptTotals, RowsReplacedByAnotherProgramLeaveTheirMonthsCountedAgain) {
    SKIP_ON_SERVER("INSERT OR REPLACE is SQLite's");
    struct Replacing {
        bool wage;
        const char* rows;  // in place of the rows %1 and %2 of March %3
        double march;      // the kept figure of March afterwards; -1: no March row
    } const replacings[] = {
        {false, "(%1, '%3/4/1', 5)", 20},                     // a day of another month
        {false, "(%2, 'Stocktaking %3', 7)", 100},            // a day that is no day
        {false, "(%1, '%3/5/1', 1), (%2, '%3/6/1', 2)", -1},  // both in one statement
        {true, "(%1, '%3/3/1', 4, 'Chen')", 20}};             // another employee's wage
    int year = 2010;
    for (const Replacing& r : replacings) {
        for (const char* pragma : {"", "PRAGMA recursive_triggers = ON; "}) {
            SCOPED_TRACE(QStringLiteral("%1 %2").arg(r.rows, pragma).toStdString());
            const QString march = QString::number(++year);
            const QStringList columns =
                r.wage ? QStringList{"Date", "Main hour", "Name"} : QStringList{"Date", "Rent"};
            const QString table = r.wage ? schema::kWages : schema::kLedger;
            auto add = [&](const char* day, double value) {
                std::vector<QVariant> values{march + day, value, "Tovena"};
                values.resize(size_t(columns.size()));
                return QString::number(db.insert(table, columns, values));
            };
            const QString first = add("/3/1", 100), second = add("/3/2", 20);
            QStringList quoted{"rowid"};
            for (const QString& column : columns) quoted << quoteName(column);
            db.exec(QStringLiteral("%1INSERT OR REPLACE INTO %2 (%3) VALUES %4")
                        .arg(pragma, quoteName(table), quoted.join(", "), r.rows)
                        .replace("%1", first)
                        .replace("%2", second)
                        .replace("%3", march));
            expectTheSame(QString::fromLatin1(r.rows));
            double kept = -1;
            const QString month = r.wage ? march + "/3" : "3/ " + march;
            for (const auto& row : programRows(r.wage ? wageMonths() : monthTotals()))
                if (row.at(0).toString() == month && (!r.wage || row.at(1) == QVariant("Tovena")))
                    kept = row.at(r.wage ? 3 : 1).toDouble();
            EXPECT_EQ(kept, r.march);
        }
    }
}

// The program reads the kept rows, not the saved query: a figure put into
// them by hand shows in the month sheet's record source.
TEST_F(KeptTotals, AreWhatTheMonthSheetReads) {
    addDay("2002/3/1", "Rent", 100.0);
    db.exec(QStringLiteral("UPDATE \"Month totals\" SET \"Rent 之 總計\" = 999"));
    ledger::RecordSource months(QStringLiteral("Data1"));
    FakeField total(months, QStringLiteral("Rent 之 總計"));
    months.setDatabasePath(ledger::databasePath());
    months.setSource(schema::kMonthTotals);
    months.open();
    EXPECT_EQ(total.text, QStringLiteral("999"));
}

// A ledger made before the totals were kept (or whose triggers are gone)
// is read from its saved query, as it always was.
TEST_F(KeptTotals, ALedgerWithoutThemIsReadFromItsSavedQuery) {
    addDay("2002/3/1", "Rent", 100.0);
    addDay("2002/3/2", "Rent", 20.0);
    for (const schema::KeptTotals& kept : schema::keptTotals())
        db.exec(setup::totals_sql::dropKept(dialect(), kept));
    ledger::RecordSource months(QStringLiteral("Data1"));
    FakeField month(months, QStringLiteral("Date per month"));
    FakeField total(months, QStringLiteral("Rent 之 總計"));
    months.setDatabasePath(ledger::databasePath());
    months.setSource(schema::kMonthTotals);
    months.open();
    EXPECT_EQ(month.text, QStringLiteral("3/ 2002"));
    EXPECT_EQ(total.text, QStringLiteral("120"));
}

// On a server two tills may store days of one month at the same moment:
// the second waits for the first one's commit and counts its day too.
TEST_F(KeptTotals, TwoTillsStoringDaysOfOneMonthAtOnceBothCount) {
    if (!db.onServer()) GTEST_SKIP() << "a file has one writer at a time";
    addDay("2002/3/1", "Rent", 100.0);
    addDay("2002/3/2", "Rent", 20.0);
    ledger::ServerConnection first(db.path());
    first.run(QStringLiteral("BEGIN"), {}, QStringLiteral("test"));
    first.run(QStringLiteral("UPDATE \"daily settlement of accounts\" SET \"Rent\" = 101 WHERE "
                             "\"Date\" = '2002/3/1'"),
              {}, QStringLiteral("test"));
    QProcess second;
    second.start(QStringLiteral(TILL_PROBE_PATH), {db.path(), QStringLiteral("2002/3/2"),
                                                   QStringLiteral("Rent"), QStringLiteral("21")});
    // The second till waits for the first one's lock on the month.
    ledger::ServerConnection watch(db.path());
    bool waiting = false;
    for (int i = 0; i < 200 && !waiting; ++i) {
        QThread::msleep(50);
        waiting = watch
                      .run(QStringLiteral("SELECT count(*) FROM pg_locks WHERE NOT granted"), {},
                           QStringLiteral("test"))
                      .number(0, 0) > 0;
    }
    EXPECT_TRUE(waiting) << "the second till never waited for the first";
    first.run(QStringLiteral("COMMIT"), {}, QStringLiteral("test"));
    ASSERT_TRUE(second.waitForFinished(30000));
    EXPECT_EQ(QString::fromUtf8(second.readAllStandardOutput()).trimmed().toStdString(), "stored");
    expectTheSame(QStringLiteral("two tills at once"));
    EXPECT_EQ(programRows(monthTotals()).at(0).at(1).toDouble(), 122.0);
}

// Another program on the server (an import through psql, say) names the
// ledger with its schema and has a search path of its own: the totals are
// kept all the same.
TEST_F(KeptTotals, AServerProgramNamingTheSchemaKeepsThemToo) {
    if (!db.onServer()) GTEST_SKIP() << "a file has no schemas";
    addDay("2002/3/1", "Rent", 100.0);
    ledger::ServerConnection other(test_server::baseAddress());
    const QString table =
        quoteName(db.serverSchema()) + QLatin1Char('.') + quoteName(schema::kLedger);
    other.run(
        QStringLiteral("INSERT INTO %1 (\"Date\", \"Rent\") VALUES ('2002/3/2', 20)").arg(table),
        {}, QStringLiteral("test"));
    other.run(QStringLiteral("UPDATE %1 SET \"Rent\" = 101 WHERE \"Date\" = '2002/3/1'").arg(table),
              {}, QStringLiteral("test"));
    other.run(QStringLiteral("DELETE FROM %1 WHERE \"Date\" = '2002/3/2'").arg(table), {},
              QStringLiteral("test"));
    expectTheSame(QStringLiteral("another program naming the schema"));
    EXPECT_EQ(programRows(monthTotals()).at(0).at(1).toDouble(), 101.0);
}

}  // namespace
