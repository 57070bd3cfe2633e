// SPDX-License-Identifier: GPL-3.0-or-later
// Wages of one day saved at two tills, a wage Save killed at every step, and
// a Save whose commit the server's network lost: the wage rows and the day's
// Personnel rate always agree, and no wage counts twice or not at all.

#include <QProcess>
#include <QSettings>
#include <QThread>
#include <random>

#include "forms/workspace.h"
#include "ledger/location/program_folder.h"
#include "staff_fixture.h"
#include "support/server_relay.h"

namespace staff_tests {
namespace {

// Another till's wage Save, a process of its own; what it said.
// Churning, it stores and removes the wage until killed.
QString otherTillSaves(const QString& books, const QString& day, const QString& wage,
                       int stopAt = -1, QProcess* keep = nullptr, bool churning = false) {
    QProcess local;
    QProcess& till = keep ? *keep : local;
    QStringList arguments = {books, day, wage};
    if (stopAt >= 0) arguments << QString::number(stopAt);
    if (churning) arguments << QStringLiteral("churn");
    till.start(QStringLiteral(WAGE_TILL_PROBE), arguments);
    if (!till.waitForStarted(10000)) return QStringLiteral("not started");
    if (stopAt >= 0 || churning) {
        if (!till.waitForReadyRead(30000)) return QStringLiteral("silent");
        return QString::fromUtf8(till.readAllStandardOutput()).trimmed();
    }
    till.waitForFinished(30000);
    return QString::fromUtf8(till.readAllStandardOutput()).trimmed();
}

class WageTills : public StaffTest {
protected:
    void SetUp() override {
        StaffTest::SetUp();
        addEmployee("Tovena", "S1", 80, 100);
    }

    // A wage of 640 entered for the day shown, not saved yet.
    staff::Form5* enterWage(FormWindow* main) {
        staff::Form5* wages = openWageWindow(main);
        beginWageFor(wages, "Tovena");
        type(wages, "Text7", "8");
        EXPECT_EQ(text(wages, "Label25"), "640");
        return wages;
    }
};

TEST_F(WageTills, TwoTillsEachAddingAWageToOneDayBothCount) {
    const qint64 day = addDay("2002/2/12", 512);
    FormWindow* main = openDailyOn("2002/2/12");
    staff::Form5* wages = enterWage(main);
    ASSERT_EQ(otherTillSaves(db.path(), "2002/2/12", "77"), "stored");
    EXPECT_EQ(text(main, "Text7"), "512");  // this till has not looked again

    button(wages, "Command1")->click();
    flushDeletes();
    EXPECT_TRUE(prompts.told.isEmpty()) << prompts.told.join("\n").toStdString();
    EXPECT_EQ(stored(schema::kLedger, day, "Personnel rate"), QVariant(1229.0));
    EXPECT_EQ(text(main, "Text7"), "1229");
    EXPECT_EQ(wageRowCount(), 2);
    // The day's own Save after it finds nothing to quarrel about.
    type(main, "Text1", "5");
    button(main, "Command5")->click();
    EXPECT_TRUE(prompts.told.isEmpty()) << prompts.told.join("\n").toStdString();
    EXPECT_EQ(stored(schema::kLedger, day, "Personnel rate"), QVariant(1229.0));
}

TEST_F(WageTills, APersonnelRateTypedOverAnotherTillsWageIsNeverAdvisedToReplaceIt) {
    const qint64 day = addDay("2002/2/12", 512);
    FormWindow* main = openDailyOn("2002/2/12");
    staff::Form5* wages = enterWage(main);
    field(main, "Text7")->setText("600");
    ASSERT_EQ(otherTillSaves(db.path(), "2002/2/12", "77"), "stored");

    button(wages, "Command1")->click();
    ASSERT_EQ(prompts.toldTexts.size(), 1);
    const QString said = prompts.toldTexts[0];
    EXPECT_TRUE(said.contains("Personnel rate from \"512\" to \"589\"")) << said.toStdString();
    EXPECT_TRUE(said.contains("Type the stored figure (\"589\") back")) << said.toStdString();
    EXPECT_FALSE(said.contains("store again")) << said.toStdString();
    EXPECT_EQ(stored(schema::kLedger, day, "Personnel rate"), QVariant(589.0));
    EXPECT_EQ(wageRowCount(), 1);  // the other till's
    ASSERT_EQ(FormWindow::find("Form5"), wages);

    // Done as it says: the other till's wage and this one both count.
    field(main, "Text7")->setText("589");
    button(wages, "Command1")->click();
    flushDeletes();
    EXPECT_EQ(stored(schema::kLedger, day, "Personnel rate"), QVariant(1229.0));
    EXPECT_EQ(wageRowCount(), 2);
}

// A wage Save killed with SIGKILL at each of its steps.
struct CrashCase {
    int step;
    bool stored;
};

void PrintTo(const CrashCase& c, std::ostream* out) { *out << "step " << c.step; }

class WageSaveKilled : public WageTills, public ::testing::WithParamInterface<CrashCase> {};

TEST_P(WageSaveKilled, LeavesTheRowAndTheDayAgreeing) {
    const CrashCase& c = GetParam();
    const qint64 day = addDay("2002/2/12", 512);
    QProcess till;
    ASSERT_EQ(otherTillSaves(db.path(), "2002/2/12", "77", c.step, &till),
              QStringLiteral("step %1").arg(c.step));
    till.kill();  // SIGKILL: nothing flushed, closed or rolled back
    till.waitForFinished(10000);

    if (!db.onServer()) EXPECT_EQ(db.scalar("PRAGMA integrity_check").toString(), "ok");
    EXPECT_EQ(wageRowCount(), c.stored ? 1 : 0);
    EXPECT_EQ(stored(schema::kLedger, day, "Personnel rate"), QVariant(c.stored ? 589.0 : 512.0));

    // The program started again shows the same, and goes on from there.
    FormWindow* main = openDailyOn("2002/2/12");
    EXPECT_EQ(text(main, "Text7"), c.stored ? "589" : "512");
    staff::Form5* wages = enterWage(main);
    button(wages, "Command1")->click();
    flushDeletes();
    EXPECT_TRUE(prompts.told.isEmpty()) << prompts.told.join("\n").toStdString();
    EXPECT_EQ(stored(schema::kLedger, day, "Personnel rate"), QVariant(c.stored ? 1229.0 : 1152.0));
    EXPECT_EQ(wageRowCount(), c.stored ? 2 : 1);
}

INSTANTIATE_TEST_SUITE_P(Steps, WageSaveKilled,
                         ::testing::Values(CrashCase{0, false}, CrashCase{1, false},
                                           CrashCase{2, false}, CrashCase{3, true}));

// A till storing and removing a wage, then storing three at once, over and
// over, killed with SIGKILL at a random moment, fifty times: the day's
// Personnel rate is always 512 plus 77 for each wage row there, and kills
// land between a wage's Save and its Delete as well as elsewhere.
TEST_F(WageTills, SavesAndDeletesKilledAtRandomMomentsLeaveTheDayAgreeing) {
    addDay("2002/2/12", 512);
    std::mt19937 random(20261209);
    std::uniform_int_distribution<int> waitMs(0, 60);
    int leftAWage = 0;
    for (int trial = 0; trial < 50; ++trial) {
        const qint64 rowsBefore = wageRowCount();
        QProcess till;
        ASSERT_EQ(otherTillSaves(db.path(), "2002/2/12", "77", -1, &till, true), "ready");
        QThread::msleep(static_cast<unsigned long>(waitMs(random)));
        till.kill();
        till.waitForFinished(10000);
        const qint64 rows = wageRowCount();
        // Only a single wage leaves a row count one past a multiple of three.
        leftAWage += (rows - rowsBefore) % 3 == 1;
        // Read in one statement, one moment of the books: on a server the
        // killed till's commit may still be landing between two reads.
        EXPECT_EQ(db.scalar("SELECT (SELECT \"Personnel rate\" FROM \"daily settlement of "
                            "accounts\" WHERE Date = '2002/2/12') - 512 - 77 * (SELECT count(*) "
                            "FROM \"The staff calculate wages\")")
                      .toDouble(),
                  0)
            << trial;
        if (!db.onServer()) {
            EXPECT_EQ(db.scalar("PRAGMA integrity_check").toString(), "ok");
        }
    }
    EXPECT_GT(leftAWage, 0);
    EXPECT_LT(leftAWage, 50);
}

// ------------------------------------------ the server's network goes

class WageOnLostNetwork : public WageTills {
protected:
    QString serverSocket() const { return ServerRelay::socketOf(db.path()); }

    // The windows reach the server through the relay from now on.
    void routeThrough(ServerRelay& relay) {
        relay.start();
        QSettings settings(db.folder() + "/tallowbrook.ini", QSettings::IniFormat);
        settings.setValue("database", ServerRelay::through(db.path(), relay.port()));
        settings.sync();
        // The books as the program finds them when it starts.
        forms::workspace().setBooks(ledger::databasePath());
    }
};

TEST_F(WageOnLostNetwork, AnUnconfirmedSaveIsAskedAboutAndNeverCountsTwice) {
    if (!test_server::requested()) GTEST_SKIP() << "runs on the server run (server:...)";
    const QString socket = serverSocket();
    if (socket.isEmpty()) GTEST_SKIP() << "the relay needs the Unix socket";
    ServerRelay relay(socket);
    routeThrough(relay);
    const qint64 day = addDay("2002/2/12", 512);
    FormWindow* main = openDailyOn("2002/2/12");
    staff::Form5* wages = enterWage(main);

    // The server stores the wage, and the answer never comes back.
    relay.cutAt("COMMIT", ServerRelay::Cut::AfterTheServerRanIt, /*stayDown=*/true);
    button(wages, "Command1")->click();
    ASSERT_EQ(prompts.toldTexts.size(), 1);
    EXPECT_TRUE(prompts.toldTexts[0].contains("Nothing will be stored twice"))
        << prompts.toldTexts[0].toStdString();
    ASSERT_EQ(FormWindow::find("Form5"), wages);
    // Nothing can change until it is settled; Save stays to try again.
    EXPECT_FALSE(field(wages, "Text7")->isEnabled());
    EXPECT_FALSE(button(wages, "Command3")->isEnabled());
    EXPECT_TRUE(button(wages, "Command1")->isEnabled());

    // Closing asks, and staying keeps it.
    prompts.choiceAnswers = {"Stay"};
    wages->close();
    flushDeletes();
    ASSERT_EQ(prompts.choicesAsked.size(), 1u);
    EXPECT_TRUE(prompts.choicesAsked[0].message.contains("did not confirm"));
    ASSERT_EQ(FormWindow::find("Form5"), wages);

    // The network is back: Save finds the wage stored and counts it once.
    relay.allowAgain();
    button(wages, "Command1")->click();
    flushDeletes();
    EXPECT_EQ(prompts.toldTexts.size(), 1) << prompts.toldTexts.join("\n").toStdString();
    EXPECT_EQ(FormWindow::find("Form5"), nullptr);
    EXPECT_EQ(wageRowCount(), 1);
    EXPECT_EQ(stored(schema::kLedger, day, "Personnel rate"), QVariant(1152.0));
    EXPECT_EQ(text(main, "Text7"), "1152");
}

TEST_F(WageOnLostNetwork, AnUnconfirmedDeleteTriedAgainTakesTheWageOffOnce) {
    if (!test_server::requested()) GTEST_SKIP() << "runs on the server run (server:...)";
    const QString socket = serverSocket();
    if (socket.isEmpty()) GTEST_SKIP() << "the relay needs the Unix socket";
    ServerRelay relay(socket);
    routeThrough(relay);
    const qint64 day = addDay("2002/2/12", 1152);
    addWage("2002/2/12", "Tovena", 80, 8);  // added 640
    FormWindow* main = openDailyOn("2002/2/12");
    staff::Form5* wages = openWageWindow(main);

    // The server removes the row and takes the wage off; the answer is lost.
    relay.cutAt("COMMIT", ServerRelay::Cut::AfterTheServerRanIt, /*stayDown=*/true);
    prompts.yesNoAnswers = {true};
    button(wages, "Command2")->click();
    ASSERT_EQ(prompts.toldTexts.size(), 1);
    ASSERT_EQ(FormWindow::find("Form5"), wages);

    // Delete again once the network is back: found done, taken off once.
    relay.allowAgain();
    prompts.yesNoAnswers = {true};
    button(wages, "Command2")->click();
    flushDeletes();
    EXPECT_EQ(prompts.toldTexts.size(), 1) << prompts.toldTexts.join("\n").toStdString();
    EXPECT_EQ(FormWindow::find("Form5"), nullptr);
    EXPECT_EQ(wageRowCount(), 0);
    EXPECT_EQ(stored(schema::kLedger, day, "Personnel rate"), QVariant(512.0));
    EXPECT_EQ(text(main, "Text7"), "512");
}

}  // namespace
}  // namespace staff_tests
