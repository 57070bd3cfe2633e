// SPDX-License-Identifier: GPL-3.0-or-later
// create/demo on a name that is already taken: a file with an unfinished
// write, a file a program is writing to, links, folders, over-long paths and
// what a stopped run left behind. The old file is never harmed.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <unistd.h>

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <memory>

#include "ledger/store/sqlite/sqlite_statements.h"
#include "setup/database_target.h"
#include "sqlite_file.h"
#include "tool_run.h"

namespace {

class ReplaceExisting : public ::testing::Test {
protected:
    QString pathOf(const QString& name) const { return dir.filePath(name); }
    QStringList entries() const {
        return QDir(dir.path())
            .entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                       QDir::Name);
    }
    static int days(const QString& path) {
        return sqlite_file::query(path, "SELECT count(*) FROM \"daily settlement of accounts\"")
            .at(0)
            .at(0)
            .toInt();
    }
    static void writeAged(const QString& path, const QByteArray& bytes, qint64 secondsAgo) {
        ASSERT_TRUE(sqlite_file::writeBytes(path, bytes));
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadWrite));
        ASSERT_TRUE(file.setFileTime(QDateTime::currentDateTime().addSecs(-secondsAgo),
                                     QFileDevice::FileModificationTime));
    }
    QTemporaryDir dir;
};

// What stands beside or holds the old file while --force runs.
enum class Beside { HotJournal, WriteAheadLog, WritingProgram, EmptyJournal, IdleProgram };

struct ForceCase {
    const char* what;
    Beside beside;
    bool refused;
    const char* says;  // in the refusal
};

const ForceCase kForceCases[] = {
    {"a non-empty journal of an unfinished write", Beside::HotJournal, true, "did not finish"},
    {"a write-ahead log", Beside::WriteAheadLog, true, "write-ahead log"},
    {"a program in the middle of a write", Beside::WritingProgram, true, "running program"},
    {"an empty journal, which holds nothing to roll back", Beside::EmptyJournal, false, ""},
    {"a program that has the file open but is not writing", Beside::IdleProgram, true,
     "is open in a running program (process"},
};

TEST_F(ReplaceExisting, ForceRefusesAFileWithAWriteInProgressAndKeepsItsJournal) {
    for (const ForceCase& c : kForceCases) {
        SCOPED_TRACE(c.what);
        QTemporaryDir folder;
        const QString path = folder.filePath("breakfast.mdb");
        ASSERT_EQ(runTool({"demo", path}).exitCode, 0);
        const int daysBefore = days(path);
        const QByteArray before = sqlite_file::readBytes(path);
        const QByteArray journal =
            c.beside == Beside::EmptyJournal ? QByteArray() : QByteArray(1024, 'j');
        std::unique_ptr<ledger::statements::Connection> program;
        switch (c.beside) {
            case Beside::HotJournal:
            case Beside::EmptyJournal:
                ASSERT_TRUE(sqlite_file::writeBytes(path + "-journal", journal));
                break;
            case Beside::WriteAheadLog:
                ASSERT_TRUE(sqlite_file::writeBytes(path + "-wal", QByteArray()));
                break;
            case Beside::WritingProgram:
            case Beside::IdleProgram:
                program = std::make_unique<ledger::statements::Connection>(path);
                if (c.beside == Beside::WritingProgram)
                    ledger::statements::run(program->handle(), "BEGIN IMMEDIATE", "Writing");
                break;
        }

        ToolRun r = runTool({"create", "--force", path});
        if (program) program.reset();  // the program ends; its open write rolls back

        if (c.refused) {
            EXPECT_EQ(r.exitCode, 1);
            EXPECT_TRUE(r.err.contains(c.says)) << r.err.toStdString();
            EXPECT_TRUE(r.err.contains(path)) << r.err.toStdString();
            EXPECT_EQ(sqlite_file::readBytes(path), before);
            if (c.beside == Beside::HotJournal) {
                EXPECT_EQ(sqlite_file::readBytes(path + "-journal"), journal);
            }
            if (c.beside == Beside::WriteAheadLog) {
                EXPECT_TRUE(QFile::exists(path + "-wal"));
            }
            QFile::remove(path + "-journal");
            QFile::remove(path + "-wal");
            EXPECT_EQ(days(path), daysBefore);
        } else {
            EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
            EXPECT_EQ(days(path), 0);
        }
        EXPECT_TRUE(
            QDir(folder.path()).entryList({"*.partial*"}, QDir::Files | QDir::Hidden).isEmpty());
    }
}

// What --force replaces stays as a backup beside it: books by SQLite's own
// copy, anything else byte for byte; an empty file holds nothing to keep.
TEST_F(ReplaceExisting, ForceKeepsWhatItReplacesAsABackup) {
    const QByteArray access = QByteArray("\0\1\0\0Standard Jet DB\0", 20) + QByteArray(300, 'a');
    const std::pair<QByteArray, const char*> cases[] = {
        {"demo", "create"}, {access, "demo"}, {QByteArray(), "create"}};
    for (const auto& [bytes, command] : cases) {
        SCOPED_TRACE(command);
        QTemporaryDir folder;
        const QString path = folder.filePath("breakfast.mdb");
        if (bytes == "demo")
            ASSERT_EQ(runTool({"demo", path}).exitCode, 0);
        else
            ASSERT_TRUE(sqlite_file::writeBytes(path, bytes));
        const int daysBefore = bytes == "demo" ? days(path) : 0;
        const ToolRun r = runTool({command, "--force", path});
        EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
        const QStringList kept =
            QDir(folder.filePath("backups")).entryList({"breakfast-*-before-create.mdb"});
        ASSERT_EQ(kept.size(), bytes.isEmpty() ? 0 : 1) << "an empty file holds nothing to keep";
        if (bytes.isEmpty()) continue;
        const QString backup = folder.filePath("backups/" + kept.first());
        EXPECT_TRUE(r.out.contains("Kept the replaced file as " + backup)) << r.out.toStdString();
        if (bytes == "demo")
            EXPECT_EQ(days(backup), daysBefore);
        else
            EXPECT_EQ(sqlite_file::readBytes(backup), bytes);
    }
}

TEST_F(ReplaceExisting, ForceOnALinkReplacesTheFileBehindItAndKeepsTheLink) {
    const QString file = pathOf("ledger-2026.mdb");
    const QString link = pathOf("breakfast.mdb");
    ASSERT_EQ(runTool({"demo", file}).exitCode, 0);
    ASSERT_TRUE(QFile::link("ledger-2026.mdb", link));

    ToolRun refused = runTool({"create", link});
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_TRUE(refused.err.contains("--force")) << refused.err.toStdString();
    EXPECT_GT(days(file), 0);

    ToolRun r = runTool({"create", "--force", link});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(QFileInfo(link).isSymLink());
    EXPECT_EQ(QFileInfo(link).symLinkTarget(), QFileInfo(file).absoluteFilePath());
    EXPECT_EQ(days(file), 0);
    EXPECT_EQ(entries(), (QStringList{"backups", "breakfast.mdb", "ledger-2026.mdb"}));
    EXPECT_EQ(QDir(pathOf("backups")).entryList({"ledger-2026-*-before-create.mdb"}).size(), 1)
        << "the replaced file is kept under its own name";
}

TEST_F(ReplaceExisting, ALinkToAMissingFileIsNamedAsSuchAndForceWritesTheFileBehindIt) {
    const QString link = pathOf("breakfast.mdb");
    const QString missing = pathOf("moved-away.mdb");
    ASSERT_TRUE(QFile::link("moved-away.mdb", link));

    ToolRun refused = runTool({"create", link});
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_TRUE(refused.err.contains("link to the missing file " + missing))
        << refused.err.toStdString();
    EXPECT_TRUE(refused.err.contains("--force")) << refused.err.toStdString();
    EXPECT_EQ(entries(), QStringList{"breakfast.mdb"});

    ToolRun r = runTool({"create", "--force", link});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(QFileInfo(link).isSymLink());
    EXPECT_EQ(sqlite_file::problems(missing), QStringList());
}

TEST_F(ReplaceExisting, AFolderIsNamedAsOneAndForceIsNeverOffered) {
    const QString folder = pathOf("shop");
    ASSERT_TRUE(QDir(dir.path()).mkdir("shop"));
    for (const QStringList& arguments :
         {QStringList{"create", folder}, QStringList{"demo", "--force", folder}}) {
        ToolRun r = runTool(arguments);
        EXPECT_EQ(r.exitCode, 1) << arguments.join(' ').toStdString();
        EXPECT_TRUE(r.err.contains(folder + " is a folder")) << r.err.toStdString();
        EXPECT_FALSE(r.err.contains("--force")) << r.err.toStdString();
    }
    EXPECT_TRUE(QFileInfo(folder).isDir());
    EXPECT_EQ(entries(), QStringList{"shop"});
}

// Two long folder names bring a path near SQLite's limits; file names then
// set its exact length.
QDir deepFolder(const QString& top) {
    QDir deep(top);
    for (char letter : {'a', 'b'}) {
        const QString name(200, QLatin1Char(letter));
        EXPECT_TRUE(deep.mkdir(name));
        deep.cd(name);
    }
    return deep;
}

QString pathOfLength(const QDir& folder, qsizetype length, char letter) {
    const qsizetype room = length - folder.absolutePath().size() - 1;
    EXPECT_GT(room, 0);
    EXPECT_LT(room, 256);
    return folder.filePath(QString(room, QLatin1Char(letter)));
}

TEST_F(ReplaceExisting, APathTooLongForTheFileIsRefusedWithItsLength) {
    const QDir deep = deepFolder(dir.path());
    const QString longest = pathOfLength(deep, setup::kLongestDatabasePath, 'c');
    const QString tooLong = pathOfLength(deep, setup::kLongestDatabasePath + 1, 'd');

    ToolRun fits = runTool({"create", longest});
    EXPECT_EQ(fits.exitCode, 0) << fits.err.toStdString();
    EXPECT_EQ(sqlite_file::problems(longest), QStringList());

    ToolRun r = runTool({"create", tooLong});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.contains("too long")) << r.err.toStdString();
    EXPECT_TRUE(r.err.contains(QString::number(setup::kLongestDatabasePath + 1) + " characters"))
        << r.err.toStdString();
    EXPECT_FALSE(QFileInfo::exists(tooLong));
}

TEST_F(ReplaceExisting, CheckAndAddStaffSayAPathIsTooLongToOpen) {
    const QDir deep = deepFolder(dir.path());
    const QString longest = pathOfLength(deep, setup::kLongestOpenablePath, 'c');
    const QString tooLong = pathOfLength(deep, setup::kLongestOpenablePath + 1, 'd');
    // Files at such paths are made by copying one the tool made.
    ASSERT_EQ(runTool({"create", pathOf("breakfast.mdb")}).exitCode, 0);
    for (const QString& path : {longest, tooLong})
        ASSERT_TRUE(QFile::copy(pathOf("breakfast.mdb"), path));

    EXPECT_EQ(runTool({"check", longest}).exitCode, 0);
    EXPECT_EQ(runTool({"add-staff", longest, "Lin"}, "pw\n").exitCode, 0);
    for (const QStringList& arguments :
         {QStringList{"check", tooLong}, QStringList{"add-staff", tooLong, "Lin"}}) {
        ToolRun r = runTool(arguments, "pw\n");
        EXPECT_EQ(r.exitCode, 1) << arguments.first().toStdString();
        EXPECT_TRUE(
            r.err.contains(QString::number(setup::kLongestOpenablePath + 1) + " characters long"))
            << r.err.toStdString();
    }
}

TEST_F(ReplaceExisting, LeftoversOfAStoppedRunAreRemovedAndNamedAtTheNextRun) {
    const QString path = pathOf("breakfast.mdb");
    // Left by a run that was stopped an hour ago: removed.
    writeAged(pathOf(".breakfast.mdb.0123abcd.partial"), "half a file", 3600);
    writeAged(pathOf(".breakfast.mdb.0123abcd.partial-journal"), "its journal", 3600);
    // Still being written by a running tool, which holds its lock: kept.
    writeAged(pathOf(".breakfast.mdb.89abcdef.partial"), "in progress", 3600);
    const int held = ::open(QFile::encodeName(pathOf(".breakfast.mdb.89abcdef.partial")), O_RDONLY);
    ASSERT_GE(held, 0);
    ASSERT_EQ(::flock(held, LOCK_EX), 0);
    // Made a moment ago, perhaps not yet locked by the run that made it: kept.
    writeAged(pathOf(".breakfast.mdb.11112222.partial"), "just begun", 0);
    // Another file's leftover is not this run's business: kept.
    writeAged(pathOf(".other.mdb.0123abcd.partial"), "someone else's", 3600);

    ToolRun r = runTool({"create", path});
    ::close(held);
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.contains("Removed .breakfast.mdb.0123abcd.partial,")) << r.out.toStdString();
    EXPECT_TRUE(r.out.contains("Removed .breakfast.mdb.0123abcd.partial-journal,"))
        << r.out.toStdString();
    EXPECT_EQ(entries(),
              (QStringList{".breakfast.mdb.11112222.partial", ".breakfast.mdb.89abcdef.partial",
                           ".other.mdb.0123abcd.partial", "breakfast.mdb"}));
}

}  // namespace
