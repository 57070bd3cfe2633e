// SPDX-License-Identifier: GPL-3.0-or-later
// Books made before wage rows recorded the monthly pay: they pass the
// check as they are, `tallowbrook-db check` adds the column once (and the
// wage detail counts it), and a copy of them holds every row.

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "sqlite_file.h"
#include "support/earlier_books.h"
#include "support/temp_database.h"
#include "tool_run.h"

namespace earlier_books_tests {

const QString kAdded =
    QStringLiteral("The column \"Monthly pay\" was added to \"The staff calculate wages\"");

// Runs on a file, and (as ServerTool.*) on a server.
void checkAddsTheMonthlyPay(const TempDatabase& db, const QString& address) {
    db.insert("The staff calculate wages",
              {"Date", "Name", "Salary hour", "Main hour", "Insurance"},
              {"2002/12/2", "Lin", 80.0, 8.0, 40.0});
    makeWageRowsAsEarlierVersions(db);
    const QString wage = "SELECT \"Daily settlement of accounts\" FROM \"Inquiry detail\"";
    ASSERT_EQ(db.scalar(wage), QVariant(600.0));

    ToolRun run = runTool({"check", address});
    EXPECT_EQ(run.exitCode, 0) << run.out.toStdString() << run.err.toStdString();
    EXPECT_TRUE(run.out.contains(kAdded)) << run.out.toStdString();
    EXPECT_EQ(db.scalar(wage), QVariant(600.0)) << "a row stored before keeps its wage";
    db.exec("UPDATE \"The staff calculate wages\" SET \"Monthly pay\" = 24000");
    EXPECT_EQ(db.scalar(wage), QVariant(24000.0)) << "the wage detail counts it";
    const QString index = address.startsWith("postgres")
                              ? "SELECT count(*) FROM pg_indexes WHERE schemaname = "
                                "current_schema() AND indexname = "
                                "'The staff calculate wages with a monthly pay'"
                              : "SELECT count(*) FROM sqlite_master WHERE type = 'index' AND "
                                "name = 'The staff calculate wages with a monthly pay'";
    EXPECT_EQ(db.scalar(index).toInt(), 1) << "the wage rows with a monthly pay are indexed";

    run = runTool({"check", address});
    EXPECT_EQ(run.exitCode, 0) << run.out.toStdString();
    EXPECT_FALSE(run.out.contains("Monthly pay")) << run.out.toStdString();
}

namespace {

TEST(EarlierWageRows, CheckAddsTheMonthlyPayOnceAndTheWageDetailCountsIt) {
    if (test_server::requested()) GTEST_SKIP() << "a file; the server's is ServerTool's";
    TempDatabase db;
    checkAddsTheMonthlyPay(db, db.path());
}

TEST(EarlierWageRows, ACopyHoldsEveryRowWithNoMonthlyPay) {
    if (test_server::requested()) GTEST_SKIP() << "copies a file";
    TempDatabase db;
    db.insert("The staff calculate wages", {"Date", "Name", "Main hour"},
              {"2002/12/2", "Lin", 8.0});
    makeWageRowsAsEarlierVersions(db);
    QTemporaryDir dir;
    const QString copy = dir.filePath("copy.mdb");
    const ToolRun run = runTool({"copy", db.path(), copy});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    const auto rows = sqlite_file::query(
        copy, "SELECT Name, \"Main hour\", \"Monthly pay\" FROM \"The staff calculate wages\"");
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0][0], QVariant("Lin"));
    EXPECT_EQ(rows[0][1], QVariant(8.0));
    EXPECT_TRUE(rows[0][2].isNull());
}

}  // namespace
}  // namespace earlier_books_tests
