// SPDX-License-Identifier: GPL-3.0-or-later
// tallowbrook-db run as the user runs it: commands, messages on the right
// stream, exit statuses, and the files it leaves.

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include "ledger/credentials/staff_password.h"
#include "ledger/store/file_kind.h"
#include "ledger/store/sql_dialect.h"
#include "setup/history_sql.h"
#include "sqlite_file.h"
#include "tool_run.h"

namespace {

class Tool : public ::testing::Test {
protected:
    QString pathOf(const QString& name) const { return dir.filePath(name); }
    QStringList entries() const {
        return QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    }
    void writeBytes(const QString& path, const QByteArray& bytes) const {
        ASSERT_TRUE(sqlite_file::writeBytes(path, bytes)) << path.toStdString();
    }
    QByteArray readBytes(const QString& path) const { return sqlite_file::readBytes(path); }
    static int count(const QString& path, const QString& table) {
        return sqlite_file::query(path, "SELECT count(*) FROM \"" + table + "\"")
            .at(0)
            .at(0)
            .toInt();
    }
    QTemporaryDir dir;
};

// ------------------------------------------------------------ create, demo

TEST_F(Tool, CreateSaysHowToAddTheFirstMemberOfStaffAndAddStaffDoesIt) {
    const QString path = pathOf("breakfast.mdb");
    ToolRun created = runTool({"create", path});
    ASSERT_EQ(created.exitCode, 0) << created.err.toStdString();
    EXPECT_TRUE(created.out.contains("tallowbrook-db add-staff")) << created.out.toStdString();

    ToolRun added = runTool({"add-staff", path, "Chen Ya-ting"}, "s3cret pass\n");
    EXPECT_EQ(added.exitCode, 0) << added.err.toStdString();
    EXPECT_FALSE(added.out.contains("s3cret")) << "the password is never echoed";
    const auto rows =
        sqlite_file::query(path, "SELECT Name, Password FROM \"Materials forms of staff\"");
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0][0].toString(), "Chen Ya-ting");
    EXPECT_TRUE(ledger::isStaffPasswordHash(rows[0][1].toString())) << "never the password itself";
    EXPECT_TRUE(ledger::staffPasswordMatches("s3cret pass", rows[0][1].toString()));
}

TEST_F(Tool, AddStaffRefusesAMissingFileAnEmptyNameAndNoPassword) {
    const QString path = pathOf("breakfast.mdb");
    EXPECT_EQ(runTool({"add-staff", path, "Lin"}, "pw\n").exitCode, 1);
    EXPECT_FALSE(QFile::exists(path));
    ASSERT_EQ(runTool({"create", path}).exitCode, 0);
    EXPECT_EQ(runTool({"add-staff", path, "  "}, "pw\n").exitCode, 1);
    EXPECT_EQ(runTool({"add-staff", path, "Lin"}, "").exitCode, 1);
    EXPECT_EQ(count(path, "Materials forms of staff"), 0);
    EXPECT_EQ(runTool({"add-staff", path}).exitCode, 2);
}

TEST_F(Tool, CreateWritesAnEmptyCompleteDatabase) {
    const QString path = pathOf("breakfast.mdb");
    ToolRun r = runTool({"create", path});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.contains(path)) << r.out.toStdString();
    EXPECT_TRUE(r.err.isEmpty()) << r.err.toStdString();
    EXPECT_EQ(sqlite_file::problems(path), QStringList());
    EXPECT_EQ(count(path, "daily settlement of accounts"), 0);
    EXPECT_EQ(count(path, "Materials forms of staff"), 0);
    EXPECT_EQ(entries(), QStringList{"breakfast.mdb"});
}

TEST_F(Tool, DemoFillsTheFileAndTellsHowToLogIn) {
    const QString path = pathOf("breakfast.mdb");
    ToolRun r = runTool({"demo", path});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.contains("Tovena")) << r.out.toStdString();
    EXPECT_TRUE(r.out.contains("breakfast")) << r.out.toStdString();
    EXPECT_EQ(sqlite_file::problems(path), QStringList());
    EXPECT_GT(count(path, "daily settlement of accounts"), 0);
    EXPECT_GT(count(path, "The staff calculate wages"), 0);
}

TEST_F(Tool, RefusesToOverwriteWithoutForce) {
    const QString path = pathOf("breakfast.mdb");
    writeBytes(path, "yesterday's ledger");
    for (const char* command : {"create", "demo"}) {
        ToolRun r = runTool({command, path});
        EXPECT_EQ(r.exitCode, 1) << command;
        EXPECT_TRUE(r.err.contains(path)) << r.err.toStdString();
        EXPECT_TRUE(r.err.contains("--force")) << r.err.toStdString();
        EXPECT_TRUE(r.out.isEmpty()) << r.out.toStdString();
    }
    EXPECT_EQ(readBytes(path), QByteArray("yesterday's ledger"));
    EXPECT_EQ(entries(), QStringList{"breakfast.mdb"});
}

TEST_F(Tool, ForceReplacesAnExistingFile) {
    const QString path = pathOf("breakfast.mdb");
    ASSERT_EQ(runTool({"demo", path}).exitCode, 0);
    ToolRun r = runTool({"create", "--force", path});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(count(path, "daily settlement of accounts"), 0);
    EXPECT_EQ(entries(), (QStringList{"backups", "breakfast.mdb"})) << "what it replaced is kept";
    // The option may also follow the path.
    EXPECT_EQ(runTool({"demo", path, "--force"}).exitCode, 0);
    EXPECT_GT(count(path, "daily settlement of accounts"), 0);
}

// The books hold wages and takings: every file the tool makes is the
// owner's alone, whatever the umask; a file it replaces keeps the
// permissions its owner gave it.
TEST_F(Tool, FilesTheToolMakesAreTheOwnersAloneAndReplacedOnesKeepTheirPermissions) {
    const QString shop = pathOf("shop.mdb");
    ASSERT_EQ(runTool({"demo", shop}).exitCode, 0);
    const QList<QStringList> making = {
        {"create", pathOf("empty.mdb")},
        {"copy", shop, pathOf("copy.mdb")},
    };
    QStringList made = {shop};
    for (const QStringList& command : making) {
        ToolRun run = runTool(command);
        ASSERT_EQ(run.exitCode, 0) << command.join(' ').toStdString() << run.err.toStdString();
        made << command.last();
    }
    for (const QString& file : made)
        EXPECT_EQ(QFileInfo(file).permissions() & 0x0777, QFile::ReadUser | QFile::WriteUser)
            << file.toStdString();

    const QFile::Permissions shared = QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser |
                                      QFile::WriteUser | QFile::ReadGroup;
    ASSERT_TRUE(QFile::setPermissions(shop, shared));
    ASSERT_EQ(runTool({"create", "--force", shop}).exitCode, 0);
    EXPECT_EQ(QFileInfo(shop).permissions(), shared);
}

TEST_F(Tool, MissingFolderIsAClearErrorAndCreatesNothing) {
    const QString path = pathOf("gone/breakfast.mdb");
    ToolRun r = runTool({"create", path});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.contains(pathOf("gone"))) << r.err.toStdString();
    EXPECT_TRUE(entries().isEmpty());
}

// ------------------------------------------------------------------ check

TEST_F(Tool, CheckPassesAFileTheToolMade) {
    const QString path = pathOf("breakfast.mdb");
    ASSERT_EQ(runTool({"create", path}).exitCode, 0);
    ToolRun r = runTool({"check", path});
    EXPECT_EQ(r.exitCode, 0) << r.out.toStdString() << r.err.toStdString();
    EXPECT_TRUE(r.out.contains("has everything")) << r.out.toStdString();
    EXPECT_FALSE(r.out.contains("Note:")) << r.out.toStdString();
}

TEST_F(Tool, CheckListsEachProblemAndFails) {
    const QString path = pathOf("breakfast.mdb");
    ASSERT_EQ(runTool({"create", path}).exitCode, 0);
    // The history's triggers name every column: another program drops them
    // before it can drop one.
    sqlite_file::exec(path, setup::history_sql::dropTriggers(ledger::SqlDialect::sqlite()) +
                                QString::fromUtf8("DROP VIEW \"查詢\"; ALTER TABLE "
                                                  "\"Materials forms of staff\" DROP COLUMN "
                                                  "\"Fax\""));
    const QByteArray before = readBytes(path);
    ToolRun r = runTool({"check", path});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.out.contains(QString::fromUtf8("查詢"))) << r.out.toStdString();
    EXPECT_TRUE(r.out.contains("\"Fax\"")) << r.out.toStdString();
    EXPECT_TRUE(r.out.contains("lacks 2 things")) << r.out.toStdString();
    EXPECT_EQ(readBytes(path), before);  // a check never writes
}

// Changes the type a column is declared with, as a file made elsewhere might
// have it; the tables are empty, so no stored row depends on the old text.
void redeclare(const QString& path, const QString& table, const QString& from, const QString& to) {
    sqlite_file::exec(path,
                      QStringLiteral("PRAGMA writable_schema = ON; "
                                     "UPDATE sqlite_master SET sql = replace(sql, '%1', '%2') "
                                     "WHERE name = '%3'; PRAGMA writable_schema = OFF")
                          .arg(from, to, table));
}

struct TypeCase {
    const char* table;
    const char* column;
    const char* declaredAs;  // replaces the type the tool declares
    const char* mustBe;      // empty when the type serves
};

const TypeCase kTypeCases[] = {
    {"daily settlement of accounts", "Date", "REAL", "TEXT"},
    {"The staff calculate wages", "Date", "INTEGER", "TEXT"},
    {"Materials forms of staff", "Name", "NUMERIC", "TEXT"},
    {"daily settlement of accounts", "Rent", "TEXT", "REAL"},
    {"The staff calculate wages", "Salary hour", "", "REAL"},
    {"Materials forms of staff", "Salary hour", "BLOB", "REAL"},
    {"daily settlement of accounts", "Date", "VARCHAR(20)", ""},
    {"daily settlement of accounts", "Rent", "NUMERIC", ""},
    {"daily settlement of accounts", "Rent", "DOUBLE PRECISION", ""},
};

TEST_F(Tool, CheckFailsAColumnDeclaredWithATypeThatCannotHoldItsValues) {
    for (const TypeCase& c : kTypeCases) {
        SCOPED_TRACE(std::string(c.table) + "." + c.column + " " + c.declaredAs);
        QTemporaryDir folder;
        const QString path = folder.filePath("breakfast.mdb");
        ASSERT_EQ(runTool({"create", path}).exitCode, 0);
        const bool amount = QByteArray(c.column) == "Rent" || QByteArray(c.column) == "Salary hour";
        const QString column = QStringLiteral("\"%1\"").arg(c.column);
        const QString declared = QStringLiteral("%1 %2").arg(column, amount ? "REAL" : "TEXT");
        redeclare(path, c.table, declared, QString(column + " " + c.declaredAs).trimmed());
        const auto type = sqlite_file::query(
            path, QStringLiteral("SELECT type FROM pragma_table_info('%1') WHERE name = '%2'")
                      .arg(c.table, c.column));
        ASSERT_EQ(type.size(), 1u);
        ASSERT_EQ(type[0][0].toString(), c.declaredAs);
        ToolRun r = runTool({"check", path});
        if (*c.mustBe) {
            EXPECT_EQ(r.exitCode, 1);
            EXPECT_TRUE(
                r.out.contains(QStringLiteral("\"%1\": column %2").arg(c.table, column) + " holds"))
                << r.out.toStdString();
            EXPECT_TRUE(r.out.contains(QStringLiteral("must be declared %1").arg(c.mustBe)))
                << r.out.toStdString();
            EXPECT_TRUE(r.out.contains("lacks 1 thing ")) << r.out.toStdString();
        } else {
            EXPECT_EQ(r.exitCode, 0) << r.out.toStdString();
        }
    }
}

TEST_F(Tool, CheckNotesATableWithoutLastingRowKeysAndStillPasses) {
    const QString path = pathOf("breakfast.mdb");
    ASSERT_EQ(runTool({"create", path}).exitCode, 0);
    redeclare(path, "The staff calculate wages", "\"Row key\" INTEGER PRIMARY KEY AUTOINCREMENT, ",
              "");
    ToolRun r = runTool({"check", path});
    EXPECT_EQ(r.exitCode, 0) << r.out.toStdString();
    EXPECT_TRUE(r.out.contains("has everything")) << r.out.toStdString();
    EXPECT_EQ(r.out.count("Note:"), 1) << r.out.toStdString();
    EXPECT_TRUE(r.out.contains(
        "table \"The staff calculate wages\" has no column \"Row key\", so its rows have no "
        "lasting keys"))
        << r.out.toStdString();
}

TEST_F(Tool, CheckOfAMissingFileFails) {
    const QString path = pathOf("breakfast.mdb");
    ToolRun r = runTool({"check", path});
    EXPECT_NE(r.exitCode, 0);
    EXPECT_TRUE(r.err.contains(path)) << r.err.toStdString();
    EXPECT_TRUE(r.err.contains("does not exist")) << r.err.toStdString();
    EXPECT_TRUE(entries().isEmpty());  // and does not create it
}

TEST_F(Tool, CheckRecognisesAnAccessFile) {
    for (const char* signature : {"Standard Jet DB", "Standard ACE DB"}) {
        const QString path = pathOf("breakfast.mdb");
        QByteArray header("\x00\x01\x00\x00", 4);
        header += signature;
        header += QByteArray(2048, '\0');
        writeBytes(path, header);
        ToolRun r = runTool({"check", path});
        EXPECT_NE(r.exitCode, 0);
        EXPECT_TRUE(r.err.contains("Access")) << r.err.toStdString();
        EXPECT_TRUE(r.err.contains("converted")) << r.err.toStdString();
        EXPECT_TRUE(r.err.contains(path)) << r.err.toStdString();
    }
}

TEST_F(Tool, CheckRejectsAFileThatIsNoDatabase) {
    const QString path = pathOf("breakfast.mdb");
    writeBytes(path, QByteArray("Date,Rent\n2002/2/12,100\n").repeated(50));
    ToolRun r = runTool({"check", path});
    EXPECT_NE(r.exitCode, 0);
    EXPECT_TRUE(r.err.contains("not an SQLite database")) << r.err.toStdString();
}

TEST_F(Tool, CheckOfAnEmptyDatabaseListsEverything) {
    const QString path = pathOf("empty.db");
    writeBytes(path, QByteArray());
    ToolRun r = runTool({"check", path});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.out.count("Missing table"), 4) << r.out.toStdString();
    EXPECT_EQ(r.out.count("Missing saved query"), 3) << r.out.toStdString();
}

// ------------------------------------------------------------------ usage

TEST_F(Tool, WrongUsageExitsWithTwo) {
    const QString path = pathOf("breakfast.mdb");
    const QList<QStringList> wrong = {{},
                                      {"add-staff"},
                                      {"restore"},
                                      {"remove", path},
                                      {"create", path, path},
                                      {"create", "--overwrite", path},
                                      {"check", "--force", path}};
    for (const auto& arguments : wrong) {
        ToolRun r = runTool(arguments);
        EXPECT_EQ(r.exitCode, 2) << arguments.join(' ').toStdString();
        EXPECT_TRUE(r.err.contains("--help")) << r.err.toStdString();
        EXPECT_TRUE(r.out.isEmpty()) << r.out.toStdString();
    }
    EXPECT_TRUE(entries().isEmpty());
}

TEST_F(Tool, HelpDescribesTheCommands) {
    ToolRun r = runTool({"--help"});
    EXPECT_EQ(r.exitCode, 0);
    for (const char* word : {"create", "demo", "check", "--force", "--version"})
        EXPECT_TRUE(r.out.contains(word)) << word;
}

TEST_F(Tool, VersionPrintsTheProgramsVersion) {
    ToolRun r = runTool({"--version"});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_TRUE(r.out.contains("tallowbrook-db")) << r.out.toStdString();
    EXPECT_TRUE(r.out.contains(TALLOWBROOK_VERSION)) << r.out.toStdString();
}

}  // namespace

// ------------------------------------------------------------ backup, restore

namespace {

double firstRent(const QString& path) {
    return sqlite_file::query(path,
                              "SELECT Rent FROM \"daily settlement of accounts\" ORDER BY "
                              "\"Row key\" LIMIT 1")
        .at(0)
        .at(0)
        .toDouble();
}

class BackupAndRestore : public Tool {
protected:
    void SetUp() override {
        ASSERT_EQ(runTool({"demo", books}).exitCode, 0);
        sqlite_file::exec(books, "UPDATE \"daily settlement of accounts\" SET Rent = 111");
        ToolRun made = runTool({"backup", books, pathOf("saved")});
        ASSERT_EQ(made.exitCode, 0) << made.err.toStdString();
        const QStringList copies = QDir(pathOf("saved")).entryList({"breakfast-*.mdb"});
        ASSERT_EQ(copies.size(), 1);
        backup = QDir(pathOf("saved")).filePath(copies[0]);
        sqlite_file::exec(books, "UPDATE \"daily settlement of accounts\" SET Rent = 222");
    }
    const QString books = pathOf("breakfast.mdb");
    QString backup;
};

// Every change the books recorded, each value of it on a line of its own.
std::vector<std::vector<QVariant>> historyOf(const QString& path) {
    return sqlite_file::query(
        path,
        "SELECT h.*, v.\"Column\", v.\"Old\", v.\"New\" FROM \"History\" h LEFT JOIN "
        "\"History values\" v ON v.\"Change\" = h.\"Row key\" "
        "ORDER BY h.\"Row key\", v.\"Row key\"");
}

TEST_F(BackupAndRestore, RestoreBringsBackTheBackedUpStateAndKeepsTheReplacedOne) {
    const auto backedUpHistory = historyOf(backup);
    ASSERT_FALSE(backedUpHistory.empty());
    EXPECT_EQ(backedUpHistory.back().back().toDouble(), 111);
    ToolRun restored = runTool({"restore", backup, books});
    EXPECT_EQ(restored.exitCode, 0) << restored.err.toStdString();
    EXPECT_EQ(firstRent(books), 111);
    // The history comes back as the backup holds it; the restore itself
    // records nothing.
    EXPECT_EQ(historyOf(books), backedUpHistory);
    // The state it replaced is a backup of its own, beside the books.
    const QStringList kept = QDir(pathOf("backups")).entryList({"breakfast-*.mdb"});
    ASSERT_EQ(kept.size(), 1);
    EXPECT_EQ(firstRent(QDir(pathOf("backups")).filePath(kept[0])), 222);
}

TEST_F(BackupAndRestore, ADamagedBackupIsRefusedAndTheBooksStay) {
    QByteArray bytes = readBytes(backup);
    for (int i = 4096; i < bytes.size(); i += 7) bytes[i] = char(0x5A);
    writeBytes(backup, bytes);
    ToolRun restored = runTool({"restore", backup, books});
    EXPECT_EQ(restored.exitCode, 1);
    EXPECT_TRUE(restored.err.contains("is not books the program can open"))
        << restored.err.toStdString();
    EXPECT_TRUE(restored.err.contains("nothing was restored")) << restored.err.toStdString();
    EXPECT_EQ(firstRent(books), 222);
}

TEST_F(BackupAndRestore, RestoreIsRefusedWhileAProgramHasTheBooksOpen) {
    QFile open(books);
    ASSERT_TRUE(open.open(QIODevice::ReadOnly));
    ToolRun restored = runTool({"restore", backup, books});
    EXPECT_EQ(restored.exitCode, 1);
    EXPECT_TRUE(restored.err.contains("open in a running program")) << restored.err.toStdString();
    open.close();
    EXPECT_EQ(firstRent(books), 222);
}

// Opens a file in another process, as a running program holds its books.
class HeldOpen {
public:
    HeldOpen(const QString& folder, const QString& name) {
        holder.setWorkingDirectory(folder);
        holder.start("/bin/sh", {"-c", "exec 3<\"$1\"; exec sleep 60", "sh", name});
        holder.waitForStarted();
        const QString wanted = QFileInfo(QDir(folder).filePath(name)).canonicalFilePath();
        for (int tries = 0; tries < 100 && !holds(wanted); ++tries) QThread::msleep(20);
    }
    ~HeldOpen() {
        holder.kill();
        holder.waitForFinished();
    }
    bool holds(const QString& file) const {
        const QDir fds(QStringLiteral("/proc/%1/fd").arg(holder.processId()));
        for (const QFileInfo& fd : fds.entryInfoList(QDir::AllEntries | QDir::System))
            if (fd.symLinkTarget() == file) return true;
        return false;
    }

private:
    QProcess holder;
};

TEST_F(BackupAndRestore, RelativeNamesAreRefusedWhileAnotherProcessHasTheBooksOpen) {
    const HeldOpen program(dir.path(), "breakfast.mdb");
    ASSERT_TRUE(program.holds(QFileInfo(books).canonicalFilePath()));
    const QString relativeBackup = QDir(dir.path()).relativeFilePath(backup);
    ToolRun restored = runTool({"restore", relativeBackup, "breakfast.mdb"}, {}, {dir.path()});
    EXPECT_EQ(restored.exitCode, 1);
    EXPECT_TRUE(restored.err.contains("open in a running program")) << restored.err.toStdString();
    EXPECT_EQ(firstRent(books), 222);
    EXPECT_FALSE(QFileInfo::exists(pathOf("backups"))) << "nothing was kept, nothing replaced";
}

// Backups the program took before, one a day at eight, each with its own
// rent; the oldest first.
QStringList monthOfBackups(const QString& books, int count) {
    const QString folder = QFileInfo(books).absoluteDir().filePath("backups");
    QDir().mkpath(folder);
    QStringList made;
    for (int day = 1; day <= count; ++day) {
        made << QStringLiteral("%1/breakfast-2026-11-%2-080000.mdb")
                    .arg(folder)
                    .arg(day, 2, 10, QLatin1Char('0'));
        QFile::copy(books, made.back());
        sqlite_file::exec(made.back(),
                          QStringLiteral("UPDATE \"daily settlement of accounts\" SET Rent = %1")
                              .arg(1000 + day));
    }
    return made;
}

TEST_F(BackupAndRestore, TheOldestOfThirtyBackupsIsRestoredAndStaysABackup) {
    const QStringList month = monthOfBackups(books, 30);
    ToolRun restored = runTool({"restore", month.first(), books});
    EXPECT_EQ(restored.exitCode, 0) << restored.err.toStdString();
    EXPECT_EQ(firstRent(books), 1001);
    EXPECT_TRUE(QFileInfo::exists(month.first()));
    EXPECT_FALSE(QFileInfo::exists(month.at(1))) << "the next oldest made room";
    EXPECT_EQ(QDir(pathOf("backups")).entryList({"breakfast-*.mdb"}).size(), 30);
}

// The backup being restored and the one that keeps the books it replaces
// are taken in the same second: every name the clock may give is taken
// already, by backups that must all stay as they were.
TEST_F(BackupAndRestore, ARestoreInTheSecondOfItsBackupBringsItBackAndDestroysNoBackup) {
    ToolRun made = runTool({"backup", books});
    ASSERT_EQ(made.exitCode, 0) << made.err.toStdString();
    const QString taken = QDir(pathOf("backups")).entryList({"breakfast-*.mdb"}).value(0);
    const QString ownBackup = pathOf("backups/" + taken);
    ASSERT_EQ(firstRent(ownBackup), 222);
    sqlite_file::exec(books, "UPDATE \"daily settlement of accounts\" SET Rent = 333");
    QStringList occupied;
    const QDateTime now = QDateTime::currentDateTime();
    for (int second = -1; second <= 10; ++second) {
        const QString name = pathOf("backups/breakfast-" +
                                    now.addSecs(second).toString("yyyy-MM-dd-HHmmss") + ".mdb");
        if (QFile::copy(ownBackup, name)) occupied << name;
    }
    ToolRun restored = runTool({"restore", ownBackup, books});
    EXPECT_EQ(restored.exitCode, 0) << restored.err.toStdString();
    EXPECT_EQ(firstRent(books), 222) << "the books are the backup's";
    EXPECT_EQ(firstRent(ownBackup), 222) << "the backup is still itself";
    for (const QString& other : occupied) EXPECT_EQ(firstRent(other), 222) << other.toStdString();
    const QStringList all = QDir(pathOf("backups")).entryList({"breakfast-*.mdb"});
    int holdingTheChange = 0;
    for (const QString& name : all) holdingTheChange += firstRent(pathOf("backups/" + name)) == 333;
    EXPECT_EQ(holdingTheChange, 1) << "the replaced books are kept once";
    EXPECT_TRUE(restored.out.contains("Kept the replaced file as")) << restored.out.toStdString();
}

TEST_F(BackupAndRestore, ASoundDatabaseThatIsNoLedgerIsRefusedAsCheckWouldRefuseIt) {
    const QString other = pathOf("notes.db");
    writeBytes(other, {});  // SQLite takes an empty file for a new database
    sqlite_file::exec(other, "CREATE TABLE notes (said TEXT); INSERT INTO notes VALUES ('hi')");
    ToolRun restored = runTool({"restore", other, books});
    EXPECT_EQ(restored.exitCode, 1);
    EXPECT_TRUE(restored.err.contains("is not books the program can open"))
        << restored.err.toStdString();
    EXPECT_TRUE(restored.err.contains("Missing table \"daily settlement of accounts\""))
        << restored.err.toStdString();
    EXPECT_FALSE(restored.out.contains("Restored")) << restored.out.toStdString();
    EXPECT_EQ(firstRent(books), 222);
    EXPECT_FALSE(QFileInfo::exists(pathOf("backups")));
}

TEST_F(BackupAndRestore, ARestoreIntoANewFileMakesItForTheOwnerOnly) {
    const QString fresh = pathOf("again.mdb");
    ToolRun restored = runTool({"restore", backup, fresh});
    EXPECT_EQ(restored.exitCode, 0) << restored.err.toStdString();
    EXPECT_EQ(firstRent(fresh), 111);
    EXPECT_EQ(QFileInfo(fresh).permissions() & 0x0777, QFile::ReadUser | QFile::WriteUser);
}

TEST_F(BackupAndRestore, ADestinationEndingInAFileNameIsTheBackupFileItselfAndNeverReplaced) {
    for (const char* name : {"copy.mdb", "copy.DB", "copy.sqlite"}) {
        SCOPED_TRACE(name);
        const QString target = pathOf(name);
        ToolRun made = runTool({"backup", books, target});
        EXPECT_EQ(made.exitCode, 0) << made.err.toStdString();
        EXPECT_TRUE(QFileInfo(target).isFile());
        EXPECT_EQ(firstRent(target), 222);
        EXPECT_EQ(QFileInfo(target).permissions() & 0x0777, QFile::ReadUser | QFile::WriteUser);

        sqlite_file::exec(books, "UPDATE \"daily settlement of accounts\" SET Rent = 444");
        const QByteArray before = readBytes(target);
        ToolRun again = runTool({"backup", books, target});
        EXPECT_EQ(again.exitCode, 1);
        EXPECT_TRUE(again.err.contains("already exists")) << again.err.toStdString();
        EXPECT_EQ(readBytes(target), before);
        sqlite_file::exec(books, "UPDATE \"daily settlement of accounts\" SET Rent = 222");
    }
    // Any other name is a folder, made for the owner only.
    ToolRun intoFolder = runTool({"backup", books, pathOf("copies")});
    EXPECT_EQ(intoFolder.exitCode, 0) << intoFolder.err.toStdString();
    EXPECT_EQ(QFileInfo(pathOf("copies")).permissions() & 0x0777,
              QFile::ReadUser | QFile::WriteUser | QFile::ExeUser);
    EXPECT_EQ(QDir(pathOf("copies")).entryList({"breakfast-*.mdb"}).size(), 1);
    // An existing folder named like a file takes a dated backup.
    ASSERT_TRUE(QDir().mkpath(pathOf("old.mdb")));
    EXPECT_EQ(runTool({"backup", books, pathOf("old.mdb")}).exitCode, 0);
    EXPECT_EQ(QDir(pathOf("old.mdb")).entryList({"breakfast-*.mdb"}).size(), 1);
    // A file that is there and no folder is left alone.
    writeBytes(pathOf("notes.txt"), "keep me");
    EXPECT_EQ(runTool({"backup", books, pathOf("notes.txt")}).exitCode, 1);
    EXPECT_EQ(readBytes(pathOf("notes.txt")), QByteArray("keep me"));
}

TEST_F(Tool, HelpSaysWhereABackupGoesAndWhatRestoreChecks) {
    const QString help = runTool({"--help"}).out;
    EXPECT_TRUE(help.contains("ends in .mdb, .db or .sqlite is the")) << help.toStdString();
    EXPECT_TRUE(help.contains("breakfast-2026-12-08-093015.mdb")) << help.toStdString();
    EXPECT_TRUE(help.contains("exactly what BACKUP holds")) << help.toStdString();
}

// Books and outputs that are no file: refused at once, naming them, and left
// as they are. Opened, a named pipe would keep the tool waiting for a writer
// for ever; replaced, a device would become a file.
TEST(NotAFile, EveryCommandRefusesAPipeOrADeviceAtOnceNamingIt) {
    QTemporaryDir dir;
    const QString books = dir.filePath("breakfast.mdb"), pipe = dir.filePath("pipe.mdb");
    ASSERT_EQ(runTool({"demo", books}).exitCode, 0);
    ASSERT_EQ(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    // A copy of /dev/null where one may be made; elsewhere /dev/null itself,
    // which such a user cannot replace.
    QString device = dir.filePath("null");
    if (::mknod(QFile::encodeName(device).constData(), S_IFCHR | 0600, makedev(1, 3)) != 0)
        device = QStringLiteral("/dev/null");
    const QString isPipe = pipe + " is a named pipe (FIFO), not a ";
    const struct {
        QStringList arguments;
        QString said;
    } cases[] = {
        {{"check", pipe}, isPipe + "database file."},
        {{"export", pipe, "days"}, isPipe + "database file."},
        {{"export", books, "days", "--output", pipe}, isPipe + "file; name a file to write."},
        {{"export", books, "days", "--output", device}, device + " is a device, not a file;"},
        {{"restore", books, pipe}, isPipe + "database file; nothing was restored."},
        {{"create", "--force", pipe}, isPipe + "database file; it was left as it is."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.arguments.join(' ').toStdString());
        ToolSetting quick;
        quick.waitMs = 10000;
        const ToolRun run = runTool(c.arguments, {}, quick);
        EXPECT_EQ(run.exitCode, 1) << run.out.toStdString();
        EXPECT_TRUE(run.err.contains(c.said)) << run.err.toStdString();
        EXPECT_EQ(ledger::notAFile(pipe), "a named pipe (FIFO)");
        EXPECT_EQ(ledger::notAFile(device), "a device") << "never replaced by a file";
    }
}

}  // namespace
