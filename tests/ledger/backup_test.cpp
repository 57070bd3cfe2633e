// Backups of the database file: complete copies under date-and-time names,
// only when the file changed, the newest thirty kept.

#include "ledger/store/backup.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "ledger/base/ledger_error.h"
#include "ledger/location/program_folder.h"
#include "ledger/store/sqlite/sqlite_statements.h"
#include "support/temp_database.h"

namespace {

const QDateTime kMorning(QDate(2026, 12, 8), QTime(9, 30));

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
    const QString made = ledger::backUpDatabase(db.path(), kMorning);
    EXPECT_EQ(QFileInfo(made).fileName(), "breakfast-2026-12-08-0930.mdb");
    EXPECT_EQ(QFileInfo(made).absolutePath(), QDir(db.folder()).filePath("backups"));
    db.exec("UPDATE \"daily settlement of accounts\" SET Rent = 8");
    EXPECT_EQ(valueIn(made, "PRAGMA integrity_check").toString(), "ok");
    EXPECT_EQ(valueIn(made, "SELECT Rent FROM \"daily settlement of accounts\"").toDouble(), 7);
    EXPECT_EQ(QDir(db.folder() + "/backups").entryList(QDir::Files),
              QStringList{"breakfast-2026-12-08-0930.mdb"})
        << "nothing else is left in the folder";
}

TEST_F(Backups, OnlyAChangedFileNeedsANewBackup) {
    EXPECT_TRUE(ledger::changedSinceLastBackup(db.path())) << "none yet";
    ledger::backUpDatabase(db.path(), kMorning);
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
        ledger::backUpDatabase(db.path(), QDateTime(QDate(2026, 1, 1).addDays(day), QTime(8, 0)));
    const QStringList kept = ledger::backupsOf(db.path());
    ASSERT_EQ(kept.size(), ledger::kKeptBackups);
    EXPECT_TRUE(kept.first().endsWith("breakfast-2026-01-05-0800.mdb"))
        << kept.first().toStdString();
    EXPECT_TRUE(kept.last().endsWith("breakfast-2026-02-03-0800.mdb")) << kept.last().toStdString();
}

TEST_F(Backups, AFailedBackupLeavesNothingUnderABackupsName) {
    // The backups folder cannot be made: a file stands in its way.
    QFile blocker(QDir(db.folder()).filePath("backups"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    EXPECT_THROW(ledger::backUpDatabase(db.path(), kMorning), ledger::LedgerError);
    EXPECT_TRUE(ledger::backupsOf(db.path()).isEmpty());
}

}  // namespace
