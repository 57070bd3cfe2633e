// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QProcess>

#include "ledger/schema/schema.h"
#include "support/temp_database.h"

TEST(CrashSafety, StoredFigureSurvivesAKillRightAfterTheWrite) {
    SKIP_ON_SERVER("a file writer killed with SIGKILL");
    TempDatabase db;
    db.insert(ledger::schema::kLedger, {"Date", "Rent"}, {"2002/2/12", 100.0});
    QProcess probe;
    probe.start(WRITE_PROBE_PATH, {db.path(), "4321.5"});
    ASSERT_TRUE(probe.waitForStarted(10000));
    ASSERT_TRUE(probe.waitForReadyRead(20000)) << probe.readAllStandardError().toStdString();
    EXPECT_EQ(probe.readAllStandardOutput().trimmed(), "stored");
    probe.kill();  // SIGKILL: no chance to flush or close anything
    probe.waitForFinished(10000);

    EXPECT_EQ(db.scalar("PRAGMA integrity_check").toString(), "ok");
    EXPECT_DOUBLE_EQ(db.scalar("SELECT Rent FROM \"daily settlement of accounts\"").toDouble(),
                     4321.5);
}
