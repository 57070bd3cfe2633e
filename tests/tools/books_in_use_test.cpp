// SPDX-License-Identifier: GPL-3.0-or-later
// tallowbrook-db without a path works on the books in use, found as the
// program finds them: beside the program when that folder holds books, else
// in the user's data folder (XDG_DATA_HOME/tallowbrook).

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include "sqlite_file.h"
#include "tool_run.h"

namespace {

unsigned modeOf(const QString& path) {
    struct stat info {};
    return ::stat(QFile::encodeName(path).constData(), &info) == 0 ? info.st_mode & 0777 : 0;
}

class BooksInUse : public ::testing::Test {
protected:
    ToolRun run(const QStringList& arguments, const QByteArray& input = {}) const {
        ToolSetting setting;
        setting.dataHome = home.path();
        setting.workingFolder = elsewhere.path();
        return runTool(arguments, input, setting);
    }
    QString data() const { return home.filePath("tallowbrook"); }
    QString books() const { return data() + "/breakfast.mdb"; }
    QTemporaryDir home, elsewhere;
};

TEST_F(BooksInUse, EveryCommandTakesTheBooksInUseWhenNoPathIsGiven) {
    const ToolRun created = run({"create"});
    ASSERT_EQ(created.exitCode, 0) << created.err.toStdString();
    EXPECT_TRUE(created.err.contains("the books in use are " + books()))
        << created.err.toStdString();
    EXPECT_TRUE(created.out.contains("tallowbrook-db add-staff NAME")) << created.out.toStdString();
    EXPECT_EQ(modeOf(data()), 0700u);
    EXPECT_EQ(modeOf(books()), 0600u);

    EXPECT_EQ(run({"add-staff", "Tovena"}, "breakfast\n").exitCode, 0);
    EXPECT_EQ(sqlite_file::query(books(), "SELECT Name FROM \"Materials forms of staff\"")
                  .at(0)
                  .at(0)
                  .toString(),
              "Tovena");
    EXPECT_EQ(run({"check"}).exitCode, 0);

    const ToolRun backedUp = run({"backup"});
    ASSERT_EQ(backedUp.exitCode, 0) << backedUp.err.toStdString();
    const QStringList backups = QDir(data() + "/backups").entryList({"breakfast-*.mdb"});
    ASSERT_EQ(backups.size(), 1);

    const ToolRun exported = run({"export", "days"});
    EXPECT_EQ(exported.exitCode, 0) << exported.err.toStdString();
    EXPECT_TRUE(exported.err.contains("Exported 0 days")) << exported.err.toStdString();

    sqlite_file::query(books(), "DELETE FROM \"Materials forms of staff\"");
    const ToolRun restored = run({"restore", data() + "/backups/" + backups[0]});
    EXPECT_EQ(restored.exitCode, 0) << restored.err.toStdString();
    EXPECT_EQ(sqlite_file::query(books(), "SELECT count(*) FROM \"Materials forms of staff\"")
                  .at(0)
                  .at(0)
                  .toInt(),
              1);
    // Nothing went where the tool was started.
    EXPECT_TRUE(QDir(elsewhere.path()).isEmpty());
}

TEST_F(BooksInUse, CreateNeverReplacesTheBooksInUse) {
    ASSERT_EQ(run({"demo"}).exitCode, 0);
    const QByteArray before = sqlite_file::readBytes(books());
    const ToolRun again = run({"create"});
    EXPECT_EQ(again.exitCode, 1);
    EXPECT_TRUE(again.err.contains("already exists")) << again.err.toStdString();
    EXPECT_EQ(sqlite_file::readBytes(books()), before);
}

TEST_F(BooksInUse, ALoneArgumentThatLooksLikeBooksIsRefusedNotTakenForWhatFollowsThem) {
    ASSERT_EQ(run({"create"}).exitCode, 0);
    for (const QStringList& arguments : QList<QStringList>{{"add-staff", "breakfast.mdb"},
                                                           {"add-staff", "/srv/shop"},
                                                           {"add-staff", "postgresql:///books"},
                                                           {"export", "shop.db"}}) {
        SCOPED_TRACE(arguments.join(' ').toStdString());
        const ToolRun r = run(arguments, "pw\n");
        EXPECT_EQ(r.exitCode, 2);
        EXPECT_TRUE(r.err.contains("looks like books")) << r.err.toStdString();
    }
    EXPECT_EQ(sqlite_file::query(books(), "SELECT count(*) FROM \"Materials forms of staff\"")
                  .at(0)
                  .at(0)
                  .toInt(),
              0);
}

TEST_F(BooksInUse, WhereAndHelpNameTheFolderInUse) {
    for (const char* option : {"--where", "--help"}) {
        SCOPED_TRACE(option);
        const ToolRun r = run({option});
        EXPECT_EQ(r.exitCode, 0);
        EXPECT_TRUE(r.out.contains("Folder in use: " + data() + " (the user's data folder)"))
            << r.out.toStdString();
        EXPECT_TRUE(r.out.contains(books() + " (not there yet)")) << r.out.toStdString();
    }
}

TEST_F(BooksInUse, BooksBesideTheProgramWin) {
    QTemporaryDir portable;
    const QString tool = portable.filePath("tallowbrook-db");
    ASSERT_TRUE(QFile::copy(QStringLiteral(TALLOWBROOK_DB_PATH), tool));
    ASSERT_TRUE(QFile::setPermissions(tool, QFile::permissions(tool) | QFile::ExeOwner));
    ASSERT_EQ(run({"demo", portable.filePath("breakfast.mdb")}).exitCode, 0);
    ToolSetting setting;
    setting.dataHome = home.path();
    setting.program = tool;
    const ToolRun where = runTool({"--where"}, {}, setting);
    EXPECT_TRUE(where.out.contains("Folder in use: " + portable.path() + " (beside the program)"))
        << where.out.toStdString();
    EXPECT_EQ(runTool({"check"}, {}, setting).exitCode, 0);
    EXPECT_FALSE(QFileInfo::exists(data()));
}

}  // namespace
