// SPDX-License-Identifier: GPL-3.0-or-later
// A ledger copied between databases: what was read and what was stored are
// compared value for value, not only counted, and a file carries every text
// whole, NUL characters included.

#include "setup/postgres/ledger_copy.h"

#include <gtest/gtest.h>

#include <QFileInfo>
#include <QTemporaryDir>
#include <cmath>

#include "sqlite_file.h"
#include "tool_run.h"

namespace {

setup::TableTally tally(qint64 rows, double rentTotal, const char* nameDigest) {
    return {"Materials forms of staff", rows, {"Rent"}, {rentTotal}, {"Name", "Rent"},
            {nameDigest, "r"}};
}

struct TallyCase {
    const char* what;
    setup::TableTally stored;
    const char* difference;  // empty: they agree
};

TEST(CopyTally, RowsTotalsAndEveryColumnsValuesMustAgree) {
    const setup::TableTally read = tally(4, 250.5, "n");
    const TallyCase cases[] = {
        {"the same", tally(4, 250.5, "n"), ""},
        {"a row missing", tally(3, 250.5, "n"), "has 3 rows there against 4 read"},
        {"equal counts, other totals", tally(4, 250.25, "n"),
         "the column 'Rent' totals 250.25 there against 250.5 read"},
        {"equal counts and totals, other values", tally(4, 250.5, "m"),
         "the values of the column 'Name' differ"},
    };
    for (const TallyCase& c : cases) {
        SCOPED_TRACE(c.what);
        const QString difference = setup::tallyDifference(read, c.stored);
        if (*c.difference == '\0') {
            EXPECT_TRUE(difference.isEmpty()) << difference.toStdString();
            EXPECT_TRUE(read == c.stored);
        } else {
            EXPECT_TRUE(difference.contains(c.difference)) << difference.toStdString();
            EXPECT_FALSE(read == c.stored);
        }
    }
    // A total that is no number on either side (a server keeps NaN) agrees.
    EXPECT_EQ(setup::tallyDifference(tally(4, std::nan(""), "n"), tally(4, std::nan(""), "n")),
              QString());
}

TEST(CopyToAFile, EveryTextComesAcrossWholeNulCharactersIncluded) {
    QTemporaryDir dir;
    const QString shop = dir.filePath("shop.mdb"), copy = dir.filePath("copy.mdb");
    ASSERT_EQ(runTool({"demo", shop}).exitCode, 0);
    sqlite_file::exec(shop,
                      "UPDATE \"Materials forms of staff\" SET Address = 'Nul' || char(0) || "
                      "'Byte' WHERE rowid = 2; UPDATE \"daily settlement of accounts\" SET "
                      "Rent = 0.1 + 0.2 WHERE rowid = 1");
    const ToolRun run = runTool({"copy", shop, copy});
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_TRUE(run.out.contains("every value agrees on both sides")) << run.out.toStdString();
    const QString sql =
        "SELECT Address, length(Address) FROM \"Materials forms of staff\" "
        "ORDER BY rowid LIMIT 1 OFFSET 1";
    EXPECT_EQ(sqlite_file::query(copy, sql), sqlite_file::query(shop, sql));
    EXPECT_EQ(sqlite_file::query(copy, sql).at(0).at(0).toString(),
              QStringLiteral("Nul") + QChar(0) + QStringLiteral("Byte"));
    EXPECT_EQ(sqlite_file::query(copy,
                                 "SELECT Rent FROM \"daily settlement of accounts\" "
                                 "ORDER BY rowid LIMIT 1")
                  .at(0)
                  .at(0)
                  .toDouble(),
              0.1 + 0.2);
}

}  // namespace
