// SPDX-License-Identifier: GPL-3.0-or-later
// Writing a new database file: complete before it appears under its name,
// never over an existing file unless asked, nothing left behind on failure.

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "ledger/base/ledger_error.h"
#include "setup/schema_builder.h"
#include "sqlite_file.h"

namespace {

class DatabaseFile : public ::testing::Test {
protected:
    QString pathOf(const QString& name) const { return dir.filePath(name); }
    QStringList entries() const {
        return QDir(dir.path())
            .entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
    }
    void writeBytes(const QString& path, const QByteArray& bytes) const {
        ASSERT_TRUE(sqlite_file::writeBytes(path, bytes)) << path.toStdString();
    }
    QByteArray readBytes(const QString& path) const { return sqlite_file::readBytes(path); }
    QTemporaryDir dir;
};

TEST_F(DatabaseFile, WritesACompleteFileAndNothingElse) {
    const QString path = pathOf("breakfast.mdb");
    setup::writeDatabaseFile(path, false, false);
    EXPECT_EQ(entries(), QStringList{"breakfast.mdb"});
    EXPECT_EQ(sqlite_file::problems(path), QStringList());
}

TEST_F(DatabaseFile, RefusesAnExistingFileAndLeavesItAsItWas) {
    const QString path = pathOf("breakfast.mdb");
    writeBytes(path, "the shop's old ledger");
    try {
        setup::writeDatabaseFile(path, true, false);
        FAIL() << "an existing file was overwritten";
    } catch (const ledger::LedgerError& e) {
        EXPECT_TRUE(e.message().contains(path)) << e.message().toStdString();
    }
    EXPECT_EQ(readBytes(path), QByteArray("the shop's old ledger"));
    EXPECT_EQ(entries(), QStringList{"breakfast.mdb"});
}

TEST_F(DatabaseFile, OverwriteOfADatabaseDropsItsRows) {
    const QString path = pathOf("breakfast.mdb");
    setup::writeDatabaseFile(path, true, false);
    setup::writeDatabaseFile(path, false, true);
    auto rows = sqlite_file::query(path, "SELECT count(*) FROM \"daily settlement of accounts\"");
    EXPECT_EQ(rows.at(0).at(0).toInt(), 0);
}

TEST_F(DatabaseFile, MissingFolderIsNamedInTheError) {
    const QString path = pathOf("no such folder/breakfast.mdb");
    try {
        setup::writeDatabaseFile(path, false, false);
        FAIL() << "wrote into a folder that does not exist";
    } catch (const ledger::LedgerError& e) {
        EXPECT_TRUE(e.message().contains(pathOf("no such folder"))) << e.message().toStdString();
        EXPECT_TRUE(e.message().contains("does not exist")) << e.message().toStdString();
    }
    EXPECT_TRUE(entries().isEmpty());
}

// The last step, putting the finished file under its name, fails when the
// name belongs to a folder; the half-way file must not stay behind.
TEST_F(DatabaseFile, FailureAtTheLastStepLeavesNoTemporaryFile) {
    const QString path = pathOf("breakfast.mdb");
    ASSERT_TRUE(QDir(dir.path()).mkdir("breakfast.mdb"));
    writeBytes(path + "/keep.txt", "x");
    EXPECT_THROW(setup::writeDatabaseFile(path, true, true), ledger::LedgerError);
    EXPECT_EQ(entries(), QStringList{"breakfast.mdb"});
    EXPECT_EQ(QDir(path).entryList(QDir::Files), QStringList{"keep.txt"});
}

TEST_F(DatabaseFile, EmptyPathIsRefused) {
    EXPECT_THROW(setup::writeDatabaseFile(QString(), false, false), ledger::LedgerError);
}

TEST_F(DatabaseFile, FileNameWithBlanksAndCjkCharacters) {
    const QString path = pathOf(QString::fromUtf8("早餐 店.mdb"));
    setup::writeDatabaseFile(path, false, false);
    EXPECT_EQ(entries(), QStringList{QString::fromUtf8("早餐 店.mdb")});
    EXPECT_EQ(sqlite_file::problems(path), QStringList());
}

}  // namespace
