// SPDX-License-Identifier: GPL-3.0-or-later
// Backups of the database file: complete copies under date-and-time names
// that never collide, only when the file changed, the newest thirty kept,
// for the owner only.

#include "ledger/store/backup.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <future>
#include <thread>
#include <tuple>

#include "ledger/base/ledger_error.h"
#include "ledger/location/program_folder.h"
#include "ledger/schema/schema.h"
#include "ledger/store/sqlite/sqlite_statements.h"
#include "ledger/store/startup_backup.h"
#include "ledger/store/store.h"
#include "support/temp_database.h"

namespace {

const QDateTime kMorning(QDate(2026, 12, 8), QTime(9, 30, 15));

// One value read from any file, past the program.
QVariant valueIn(const QString& file, const QString& sql) {
    ledger::statements::Connection db(file, ledger::statements::Connection::Mode::ReadOnly);
    ledger::statements::Statement read(db.handle(), sql, QStringLiteral("Reading"));
    return read.step() ? read.value(0) : QVariant();
}

class Backups : public ::testing::Test {
protected:
    void SetUp() override { SKIP_ON_SERVER("backups are copies of the database file"); }
    TempDatabase db;
};

TEST_F(Backups, ACopyHoldsWhatTheFileHeldAndCarriesTheDateAndTime) {
    db.exec("INSERT INTO \"daily settlement of accounts\" (Date, Rent) VALUES ('2002/1/1', 7)");
    const QString made = ledger::backUpDatabase(db.path(), kMorning, ledger::BackupMaker::Start);
    EXPECT_EQ(QFileInfo(made).fileName(), "breakfast-2026-12-08-093015-start.mdb");
    EXPECT_EQ(QFileInfo(made).absolutePath(), QDir(db.folder()).filePath("backups"));
    db.exec("UPDATE \"daily settlement of accounts\" SET Rent = 8");
    EXPECT_EQ(valueIn(made, "PRAGMA integrity_check").toString(), "ok");
    EXPECT_EQ(valueIn(made, "SELECT Rent FROM \"daily settlement of accounts\"").toDouble(), 7);
    EXPECT_EQ(QDir(db.folder() + "/backups").entryList(QDir::Files),
              QStringList{"breakfast-2026-12-08-093015-start.mdb"})
        << "nothing else is left in the folder";
}

TEST_F(Backups, OnlyAChangedFileNeedsANewBackup) {
    EXPECT_TRUE(ledger::changedSinceLastBackup(db.path())) << "none yet";
    ledger::backUpDatabase(db.path(), kMorning, ledger::BackupMaker::Start);
    EXPECT_FALSE(ledger::changedSinceLastBackup(db.path()));
    // A later change (file times have a coarse grain on some disks).
    QFile file(db.path());
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    file.setFileTime(QDateTime::currentDateTime().addSecs(60), QFileDevice::FileModificationTime);
    file.close();
    EXPECT_TRUE(ledger::changedSinceLastBackup(db.path()));
}

TEST_F(Backups, TheNewestThirtyAreKept) {
    for (int day = 1; day <= ledger::kKeptBackups + 3; ++day)
        ledger::backUpDatabase(db.path(), QDateTime(QDate(2026, 1, 1).addDays(day), QTime(8, 0)),
                               ledger::BackupMaker::Start);
    const QStringList kept = ledger::backupsOf(db.path());
    ASSERT_EQ(kept.size(), ledger::kKeptBackups);
    EXPECT_TRUE(kept.first().endsWith("breakfast-2026-01-05-080000-start.mdb"))
        << kept.first().toStdString();
    EXPECT_TRUE(kept.last().endsWith("breakfast-2026-02-03-080000-start.mdb"))
        << kept.last().toStdString();
}

TEST_F(Backups, AFailedBackupLeavesNothingUnderABackupsName) {
    // The backups folder cannot be made: a file stands in its way.
    QFile blocker(QDir(db.folder()).filePath("backups"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    EXPECT_THROW(ledger::backUpDatabase(db.path(), kMorning, ledger::BackupMaker::Start),
                 ledger::LedgerError);
    EXPECT_TRUE(ledger::backupsOf(db.path()).isEmpty());
}

double rentIn(const QString& file) {
    return valueIn(file, "SELECT Rent FROM \"daily settlement of accounts\"").toDouble();
}

// Backups of one second, whatever made them, are counted on from one
// another and say what made them: no two names alike, in the order taken.
TEST_F(Backups, BackupsInOneSecondAreCountedSayWhatMadeThemAndNeverReplaceOneAnother) {
    using M = ledger::BackupMaker;
    const std::pair<M, const char*> makers[] = {{M::Start, "093015-start"},
                                                {M::Start, "093015-2-start"},
                                                {M::BackUpNow, "093015-3-now"},
                                                {M::Tool, "093015-4-tool"},
                                                {M::BeforeRestore, "093015-5-before-restore"},
                                                {M::BeforeCreate, "093015-6-before-create"}};
    db.exec("INSERT INTO \"daily settlement of accounts\" (Date, Rent) VALUES ('2002/1/1', 1)");
    QStringList made;
    for (const auto& [maker, name] : makers) {
        db.exec(QStringLiteral("UPDATE \"daily settlement of accounts\" SET Rent = %1")
                    .arg(made.size() + 1));
        made << ledger::backUpDatabase(db.path(), kMorning, maker);
        EXPECT_EQ(QFileInfo(made.last()).fileName(),
                  QStringLiteral("breakfast-2026-12-08-%1.mdb").arg(name));
        const ledger::BackupNamed named = ledger::backupNamed(db.path(), made.last());
        EXPECT_EQ(std::tuple(named.taken, named.counter, named.maker),
                  std::tuple(kMorning, int(made.size()), maker))
            << name;
    }
    EXPECT_EQ(ledger::backupsOf(db.path()), made) << "in the order they were taken";
    for (int i = 0; i < made.size(); ++i) EXPECT_EQ(rentIn(made[i]), i + 1) << i;
    EXPECT_EQ(ledger::backupNamed(db.path(), "breakfast-2026-12-08-093015-7.mdb").maker, M::Unsaid)
        << "a name of an earlier version says nothing of what made it";
}

// Names of earlier versions (to the minute) and of this one sort by time;
// files the program did not name are none of its backups.
TEST_F(Backups, MinuteNamedBackupsOfEarlierVersionsTakeTheirPlaceInTime) {
    const QString folder = ledger::backupFolderFor(db.path());
    ASSERT_TRUE(QDir().mkpath(folder));
    const QStringList onDisk = {
        "breakfast-2026-12-08-0931.mdb",         "breakfast-2026-12-08-093059.mdb",
        "breakfast-2026-12-08-0930.mdb",         "breakfast-2026-12-08-093000-2.mdb",
        "breakfast-before-the-audit.mdb",        "breakfast-2026-12-08.mdb",
        "breakfast-2026-12-08-093000-3-now.mdb", "breakfast-2026-12-08-093000-now-2.mdb"};
    for (const QString& name : onDisk) ASSERT_TRUE(QFile::copy(db.path(), folder + "/" + name));
    QStringList names;
    for (const QString& path : ledger::backupsOf(db.path())) names << QFileInfo(path).fileName();
    EXPECT_EQ(names,
              QStringList({"breakfast-2026-12-08-0930.mdb", "breakfast-2026-12-08-093000-2.mdb",
                           "breakfast-2026-12-08-093000-3-now.mdb",
                           "breakfast-2026-12-08-093059.mdb", "breakfast-2026-12-08-0931.mdb"}));
}

// The thirty backups of a month, oldest first, written straight into the folder.
QStringList fillWithOldBackups(const QString& database) {
    const QString folder = ledger::backupFolderFor(database);
    QDir().mkpath(folder);
    QStringList paths;
    for (int day = 1; day <= ledger::kKeptBackups; ++day) {
        paths << QStringLiteral("%1/breakfast-2026-11-%2-080000.mdb")
                     .arg(folder)
                     .arg(day, 2, 10, QLatin1Char('0'));
        QFile::copy(database, paths.back());
    }
    return paths;
}

TEST_F(Backups, RotationSparesTheBackupAboutToBeRestoredAndTheOneJustMade) {
    const QStringList old = fillWithOldBackups(db.path());
    const QString made =
        ledger::backUpDatabase(db.path(), kMorning, ledger::BackupMaker::Start, {}, {}, {old[0]});
    EXPECT_TRUE(QFileInfo::exists(made));
    EXPECT_TRUE(QFileInfo::exists(old[0])) << "the one about to be restored";
    EXPECT_FALSE(QFileInfo::exists(old[1])) << "the oldest of the others makes room";
    EXPECT_EQ(ledger::backupsOf(db.path()).size(), ledger::kKeptBackups);

    // A clock set back: the new backup is named before all others, and
    // still stays.
    const QString early = ledger::backUpDatabase(
        db.path(), QDateTime(QDate(2001, 1, 1), QTime(0, 0)), ledger::BackupMaker::Start);
    EXPECT_TRUE(QFileInfo::exists(early));
    EXPECT_FALSE(QFileInfo::exists(old[0])) << "spared only while it was being restored";
    EXPECT_TRUE(QFileInfo::exists(old[2]));
    EXPECT_EQ(ledger::backupsOf(db.path()).size(), ledger::kKeptBackups);
}

TEST_F(Backups, FilesNotNamedByTheProgramAreNeverRemoved) {
    fillWithOldBackups(db.path());
    const QString own = ledger::backupFolderFor(db.path()) + "/breakfast-before-the-audit.mdb";
    ASSERT_TRUE(QFile::copy(db.path(), own));
    for (int i = 0; i < 3; ++i)
        ledger::backUpDatabase(db.path(), kMorning, ledger::BackupMaker::Start);
    EXPECT_TRUE(QFileInfo::exists(own));
    EXPECT_EQ(ledger::backupsOf(db.path()).size(), ledger::kKeptBackups);
}

TEST_F(Backups, ABackupAndTheFolderMadeForItAreTheOwnersAlone) {
    const QString made = ledger::backUpDatabase(db.path(), kMorning, ledger::BackupMaker::Start);
    EXPECT_EQ(QFileInfo(made).permissions() & 0x0777, QFile::ReadUser | QFile::WriteUser);
    EXPECT_EQ(QFileInfo(ledger::backupFolderFor(db.path())).permissions() & 0x0777,
              QFile::ReadUser | QFile::WriteUser | QFile::ExeUser);

    // A folder the shop made keeps the permissions it was given.
    QTemporaryDir shared;
    const QFile::Permissions open = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                    QFile::ReadUser | QFile::WriteUser | QFile::ExeUser |
                                    QFile::ReadGroup | QFile::ExeGroup;
    ASSERT_TRUE(QFile::setPermissions(shared.path(), open));
    const QString there =
        ledger::backUpDatabase(db.path(), kMorning, ledger::BackupMaker::Tool, shared.path());
    EXPECT_EQ(QFileInfo(shared.path()).permissions(), open);
    EXPECT_EQ(QFileInfo(there).permissions() & 0x0777, QFile::ReadUser | QFile::WriteUser);
}

TEST_F(Backups, ABackupNamedAsAFileNeverReplacesOne) {
    const QString target = QDir(db.folder()).filePath("copy.mdb");
    ledger::backUpDatabaseAs(db.path(), target);
    EXPECT_EQ(valueIn(target, "PRAGMA integrity_check").toString(), "ok");
    EXPECT_EQ(QFileInfo(target).permissions() & 0x0777, QFile::ReadUser | QFile::WriteUser);
    const QByteArray before = [&] {
        QFile f(target);
        f.open(QIODevice::ReadOnly);
        return f.readAll();
    }();
    db.exec("INSERT INTO \"daily settlement of accounts\" (Date, Rent) VALUES ('2002/1/1', 9)");
    EXPECT_THROW(ledger::backUpDatabaseAs(db.path(), target), ledger::LedgerError);
    QFile after(target);
    ASSERT_TRUE(after.open(QIODevice::ReadOnly));
    EXPECT_EQ(after.readAll(), before);
    EXPECT_EQ(QDir(db.folder()).entryList(QDir::Files | QDir::Hidden),
              QStringList({"breakfast.mdb", "copy.mdb"}))
        << "no temporary file left";
}

// The digest a restore compares: any value that differs, and nothing else.
TEST_F(Backups, TheContentDigestTellsEveryDifferentValueApart) {
    db.exec("INSERT INTO \"daily settlement of accounts\" (Date, Rent) VALUES ('2002/1/1', 7)");
    const QString copy = ledger::backUpDatabase(db.path(), kMorning, ledger::BackupMaker::Start);
    EXPECT_EQ(ledger::contentDigest(copy), ledger::contentDigest(db.path()));
    const struct {
        const char* change;
    } changes[] = {
        {"UPDATE \"daily settlement of accounts\" SET Rent = 7.000000000000001"},
        {"UPDATE \"daily settlement of accounts\" SET Rent = '7x'"},
        {"UPDATE \"daily settlement of accounts\" SET Date = '2002/1/1 '"},
        {"UPDATE \"daily settlement of accounts\" SET Date = '2002/1/1' || char(0) || 'x'"},
        {"UPDATE \"daily settlement of accounts\" SET Egg = 0"},
        {"INSERT INTO \"Select\" (Absent) VALUES ('Maybe')"},
        {"CREATE INDEX spare ON \"Select\" (Absent)"},
    };
    for (const auto& c : changes) {
        SCOPED_TRACE(c.change);
        const QString changed =
            ledger::backUpDatabase(db.path(), kMorning, ledger::BackupMaker::Start);
        ledger::statements::Connection file(changed);
        ledger::statements::run(file.handle(), QString::fromUtf8(c.change), "change");
        file.close();
        EXPECT_NE(ledger::contentDigest(changed), ledger::contentDigest(db.path()));
    }
}

}  // namespace

// ------------------------------------------------- the backup at start-up
namespace {

class BackupAtStart : public ::testing::Test {
protected:
    void SetUp() override {
        SKIP_ON_SERVER("backups are copies of the database file");
        // Enough days for the copy to take several batches of pages.
        db.exec(
            "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 3000) "
            "INSERT INTO \"daily settlement of accounts\" (Date, Rent, Partner, Turnover) "
            "SELECT CAST(strftime('%Y', d) AS INT) || '/' || CAST(strftime('%m', d) AS INT) || "
            "'/' || CAST(strftime('%d', d) AS INT), i, i * 2, i * 3 FROM (SELECT i, "
            "date('1990-01-01', '+' || i || ' days') AS d FROM n)");
    }

    int days(const QString& file) const {
        return valueIn(file, "SELECT count(*) FROM \"daily settlement of accounts\"").toInt();
    }

    TempDatabase db;
};

// The program goes on at once: the backup is made on a thread of its own,
// and a day saved meanwhile lands; the backup holds the books whole, with
// or without that day.
TEST_F(BackupAtStart, IsMadeInTheBackgroundWhileADayIsSaved) {
    std::thread::id madeOn;
    int backupNiceness = 0;
    QString failure = QStringLiteral("never finished");
    // The backup ends only once the program has gone on past its start.
    std::promise<void> goneOn;
    bool finishedAfterwards = false;
    ledger::StartupBackup backup(db.path(), kMorning, [&](const QString& why) {
        finishedAfterwards =
            goneOn.get_future().wait_for(std::chrono::seconds(20)) == std::future_status::ready;
        madeOn = std::this_thread::get_id();
        backupNiceness = getpriority(PRIO_PROCESS, static_cast<id_t>(gettid()));
        failure = why;
    });
    auto store = ledger::openStore(ledger::Connection{db.path()});
    store->insertRow(ledger::schema::kLedger, {"Date", "Rent"}, {QStringLiteral("2002/2/2"), 5.0});
    goneOn.set_value();
    backup.wait();
    EXPECT_TRUE(finishedAfterwards) << "the program waited for the backup before going on";
    EXPECT_NE(madeOn, std::this_thread::get_id());
    // Second to the user's own work.
    EXPECT_GT(backupNiceness, getpriority(PRIO_PROCESS, static_cast<id_t>(gettid())));
    EXPECT_EQ(failure, QString());
    const QStringList made = ledger::backupsOf(db.path());
    ASSERT_EQ(made.size(), 1);
    EXPECT_EQ(QFileInfo(made[0]).fileName(), "breakfast-2026-12-08-093015-start.mdb");
    EXPECT_EQ(valueIn(made[0], "PRAGMA integrity_check").toString(), "ok");
    const int backedUp = days(made[0]);
    EXPECT_TRUE(backedUp == 3000 || backedUp == 3001) << backedUp;
    EXPECT_EQ(days(db.path()), 3001);
}

TEST_F(BackupAtStart, IsNotMadeWhenTheBooksDidNotChange) {
    ledger::backUpDatabase(db.path(), kMorning.addDays(-1), ledger::BackupMaker::Start);
    QString failure = QStringLiteral("never finished");
    ledger::StartupBackup(db.path(), kMorning, [&](const QString& why) { failure = why; });
    EXPECT_EQ(failure, QString());
    EXPECT_EQ(ledger::backupsOf(db.path()).size(), 1);
}

// A failure comes back as what to say, never as an exception on the
// backup's thread; the books stay as they were.
TEST_F(BackupAtStart, AFailureIsPassedOnAndTheBooksStay) {
    QFile blocker(QDir(db.folder()).filePath("backups"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    QString failure;
    ledger::StartupBackup(db.path(), kMorning, [&](const QString& why) { failure = why; });
    EXPECT_FALSE(failure.isEmpty());
    EXPECT_EQ(days(db.path()), 3000);
}

}  // namespace
