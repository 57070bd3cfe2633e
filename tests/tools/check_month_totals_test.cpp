// SPDX-License-Identifier: GPL-3.0-or-later
// tallowbrook-db check and the month totals kept as the days change: a
// ledger made by an earlier version gets them (with its month queries made
// anew by the one calendar rule), kept totals changed by hand are counted
// again, and saved queries the shop made itself are left alone.

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "sqlite_file.h"
#include "tool_run.h"

namespace {

const QString kMonthView = QStringLiteral("\"daily settlement of accounts -Inquiry\"");

// The month totals as the version before kept totals made them: the month
// is the middle number of any three runs of digits, 2002/13/1 included.
const char* const kEarlierMonthTotals = R"sql(
CREATE VIEW "daily settlement of accounts -Inquiry" AS /* Rows whose Date is not year/month/day are totalled under 'Undated', after the months. */ WITH trimmed AS (SELECT rowid AS row_no, "Rent", "Partner", "Electric rate", "Telephone rate", "Water rate", "Personnel rate", "Income tax", "Board expenses", "Main payment", "Insurance", "Bread trader", "General materials", "Noodles", "Fruit", "Egg", "Gas", "Beverage", "Miscellaneous", "Tableware", "Articles in the shop", "Turnover", "Small incidental money", "Accept cashes in fact", trim("Date", ' ' || char(9, 10, 13)) AS day_text FROM "daily settlement of accounts"), first_cut AS MATERIALIZED (SELECT *, substr(day_text, 1, instr(day_text, '/') - 1) AS year_part, substr(day_text, instr(day_text, '/') + 1) AS after_year, instr(day_text, '/') AS first_slash FROM trimmed), second_cut AS MATERIALIZED (SELECT *, substr(after_year, 1, instr(after_year, '/') - 1) AS month_part, substr(after_year, instr(after_year, '/') + 1) AS day_part, instr(after_year, '/') AS second_slash FROM first_cut), checked AS (SELECT *, CASE WHEN first_slash > 0 AND second_slash > 0 AND year_part <> '' AND year_part NOT GLOB '*[^0-9]*' AND month_part <> '' AND month_part NOT GLOB '*[^0-9]*' AND day_part <> '' AND day_part NOT GLOB '*[^0-9]*' THEN 1 ELSE 0 END AS dated FROM second_cut), months AS (SELECT *, CASE WHEN dated THEN CAST(year_part AS INTEGER) END AS year_no, CASE WHEN dated THEN CAST(month_part AS INTEGER) END AS month_no FROM checked) SELECT CASE WHEN dated THEN month_no || '/ ' || year_no ELSE 'Undated' END AS "Date per month", SUM("Rent") AS "Rent 之 總計", SUM("Partner") AS "Partner 之 總計", SUM("Electric rate") AS "Electric rate 之 總計", SUM("Telephone rate") AS "Telephone rate 之 總計", SUM("Water rate") AS "Water rate 之 總計", SUM("Personnel rate") AS "Personnel rate 之 總計", SUM("Income tax") AS "Income tax 之 總計", SUM("Board expenses") AS "Board expenses 之 總計", SUM("Main payment") AS "Main payment 之 總計", SUM("Insurance") AS "Insurance 之 總計", SUM("Bread trader") AS "Bread trader 之 總計", SUM("General materials") AS "General materials 之 總計", SUM("Noodles") AS "Noodles 之 總計", SUM("Fruit") AS "Fruit 之 總計", SUM("Egg") AS "Egg 之 總計", SUM("Gas") AS "Gas 之 總計", SUM("Beverage") AS "Beverage 之 總計", SUM("Miscellaneous") AS "Miscellaneous 之 總計", SUM("Tableware") AS "Tableware 之 總計", SUM("Articles in the shop") AS "Articles in the shop之總計", SUM("Turnover") AS "Turnover之總計", SUM("Small incidental money") AS "Small incidental money之總計", SUM("Accept cashes in fact") AS "Accept cashes in fact之總計" FROM months GROUP BY dated, year_no, month_no ORDER BY dated DESC, year_no, month_no;
)sql";

// What the versions that first kept the totals lacked: the note of a row
// about to be replaced.
const char* const kDropReplacedRowNotes =
    R"(DROP TRIGGER "Month totals: a row about to be replaced"; DROP TRIGGER "Month totals: a )"
    R"(replaced row's month"; DROP TABLE "Month totals: months to count again";)";

// What keeps the totals in a file this version makes, all of it dropped.
const char* const kDropKeptTotals = R"sql(
DROP TRIGGER "Month totals: a row about to be replaced";
DROP TRIGGER "Month totals: a replaced row's month";
DROP TABLE "Month totals: months to count again";
DROP TRIGGER "Month totals: a row added"; DROP TRIGGER "Month totals: a row removed";
DROP TRIGGER "Month totals: a row changed"; DROP TABLE "Month totals";
DROP INDEX "daily settlement of accounts by calendar day";
)sql";

class CheckKeepsMonthTotals : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(runTool({"create", path}).exitCode, 0);
        for (const auto& [date, rent] :
             {std::pair{"2002/3/1", 1}, {"2002/13/1", 5}, {"2002/2/30", 7}})
            sqlite_file::exec(path, QStringLiteral("INSERT INTO \"daily settlement of accounts\" "
                                                   "(Date, Rent) VALUES ('%1', %2)")
                                        .arg(QString::fromLatin1(date))
                                        .arg(rent));
    }

    QStringList months() const {
        QStringList out;
        for (const auto& row : sqlite_file::query(
                 path, QStringLiteral("SELECT \"Date per month\", \"Rent 之 總計\" FROM %1")
                           .arg(kMonthView)))
            out << row[0].toString() + '=' + row[1].toString();
        return out;
    }

    QStringList keptMonths() const {
        QStringList out;
        for (const auto& row : sqlite_file::query(
                 path, QStringLiteral("SELECT \"Date per month\", \"Rent 之 總計\" FROM \"Month "
                                      "totals\" ORDER BY \"Month number\"")))
            out << row[0].toString() + '=' + row[1].toString();
        return out;
    }

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("breakfast.mdb"));
};

TEST_F(CheckKeepsMonthTotals, AnEarlierLedgerGetsThemWithItsMonthQueryMadeAnew) {
    sqlite_file::exec(path, QString::fromUtf8(kDropKeptTotals));
    sqlite_file::exec(path, QStringLiteral("DROP VIEW ") + kMonthView + ';' +
                                QString::fromUtf8(kEarlierMonthTotals));
    ASSERT_EQ(months(), (QStringList{"2/ 2002=7", "3/ 2002=1", "13/ 2002=5"}))
        << "the earlier rule counts 2002/13/1 and 2002/2/30 in months";

    ToolRun r = runTool({"check", path});
    EXPECT_EQ(r.exitCode, 0) << r.out.toStdString() << r.err.toStdString();
    EXPECT_TRUE(r.out.contains(
        QStringLiteral("The saved query %1 was made anew by this version").arg(kMonthView)))
        << r.out.toStdString();
    EXPECT_TRUE(r.out.contains("The month totals are now kept in \"Month totals\""))
        << r.out.toStdString();
    EXPECT_TRUE(r.out.contains("has everything the program needs")) << r.out.toStdString();
    EXPECT_EQ(months(), (QStringList{"3/ 2002=1", "Undated=12"}));
    EXPECT_EQ(keptMonths(), months());

    // Up to date now: the next check has nothing to say about them.
    r = runTool({"check", path});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_FALSE(r.out.contains("month totals", Qt::CaseInsensitive)) << r.out.toStdString();
}

TEST_F(CheckKeepsMonthTotals, TotalsChangedByHandAreCountedAgain) {
    sqlite_file::exec(path, QStringLiteral("UPDATE \"Month totals\" SET \"Rent 之 總計\" = 99"));
    ToolRun r = runTool({"check", path});
    EXPECT_EQ(r.exitCode, 0) << r.out.toStdString();
    EXPECT_TRUE(r.out.contains(
        QStringLiteral("The month totals kept in \"Month totals\" did not hold what %1 adds up; "
                       "they were counted again.")
            .arg(kMonthView)))
        << r.out.toStdString();
    EXPECT_EQ(keptMonths(), (QStringList{"3/ 2002=1", "Undated=12"}));
}

// Books whose totals an earlier version kept have triggers that miss a row
// another program replaced; so do backups of them. check and restore make
// the triggers anew (and restore counts totals changed by hand again, as
// check does), and such a row leaves its month.
TEST_F(CheckKeepsMonthTotals, EarlierTriggersAreMadeAnewByCheckAndRestore) {
    const QString backup = dir.filePath(QStringLiteral("backup.mdb"));
    const struct {
        const char* command;
        const char* change;
        const char* said;
    } cases[] = {
        {"check", kDropReplacedRowNotes, "were kept by triggers of an earlier version"},
        {"restore", kDropReplacedRowNotes, "were kept by triggers of an earlier version"},
        {"restore", "UPDATE \"Month totals\" SET \"Rent 之 總計\" = 99", "counted again"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.said);
        sqlite_file::exec(path, QString::fromUtf8(c.change));
        QFile::remove(backup);
        ASSERT_TRUE(QFile::copy(path, backup));
        const ToolRun r = runTool(QString::fromLatin1(c.command) == "check"
                                      ? QStringList{"check", path}
                                      : QStringList{"restore", backup, path});
        EXPECT_EQ(r.exitCode, 0) << r.out.toStdString() << r.err.toStdString();
        EXPECT_TRUE(r.out.contains(QString::fromUtf8(c.said))) << r.out.toStdString();
        // Another program moves 2002/3/1 to April, without recursive triggers.
        sqlite_file::exec(path,
                          "INSERT OR REPLACE INTO \"daily settlement of accounts\" (rowid, "
                          "Date, Rent) SELECT rowid, '2002/4/1', 4 FROM \"daily settlement "
                          "of accounts\" WHERE Date = '2002/3/1'");
        EXPECT_EQ(keptMonths(), (QStringList{"4/ 2002=4", "Undated=12"}));
        sqlite_file::exec(path,
                          "UPDATE \"daily settlement of accounts\" SET Date = '2002/3/1', "
                          "Rent = 1 WHERE Rent = 4");
    }
}

TEST_F(CheckKeepsMonthTotals, ASavedQueryOfTheShopsOwnIsLeftAlone) {
    sqlite_file::exec(path, QString::fromUtf8(kDropKeptTotals));
    const QString own =
        QStringLiteral("CREATE VIEW %1 AS SELECT \"Date\" AS \"Date per month\"").arg(kMonthView);
    QString columns;
    for (const auto& row : sqlite_file::query(
             path,
             QStringLiteral("SELECT name FROM pragma_table_info('%1') WHERE name <> 'Date per "
                            "month'")
                 .arg("daily settlement of accounts -Inquiry")))
        columns += QStringLiteral(", \"Rent\" AS \"%1\"").arg(row[0].toString());
    sqlite_file::exec(path, QStringLiteral("DROP VIEW ") + kMonthView + ';' + own + columns +
                                QStringLiteral(" FROM \"daily settlement of accounts\""));
    const QStringList before = months();

    ToolRun r = runTool({"check", path});
    EXPECT_EQ(r.exitCode, 0) << r.out.toStdString();
    EXPECT_TRUE(r.out.contains(QStringLiteral("Note: the saved query %1 is not the program's own, "
                                              "so its month totals are not kept")
                                   .arg(kMonthView)))
        << r.out.toStdString();
    EXPECT_EQ(months(), before);
    EXPECT_TRUE(
        sqlite_file::query(path, "SELECT name FROM sqlite_schema WHERE name = 'Month totals'")
            .empty());
}

}  // namespace
