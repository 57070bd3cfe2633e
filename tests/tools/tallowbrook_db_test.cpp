// tallowbrook-db run as the user runs it: commands, messages on the right
// stream, exit statuses, and the files it leaves.

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

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
    EXPECT_EQ(rows[0][1].toString(), "s3cret pass");
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
    EXPECT_EQ(entries(), QStringList{"breakfast.mdb"});
    // The option may also follow the path.
    EXPECT_EQ(runTool({"demo", path, "--force"}).exitCode, 0);
    EXPECT_GT(count(path, "daily settlement of accounts"), 0);
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
    sqlite_file::exec(path, QString::fromUtf8("DROP VIEW \"查詢\"; ALTER TABLE "
                                              "\"Materials forms of staff\" DROP COLUMN \"Fax\""));
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
                                      {"create"},
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

TEST_F(BackupAndRestore, RestoreBringsBackTheBackedUpStateAndKeepsTheReplacedOne) {
    ToolRun restored = runTool({"restore", backup, books});
    EXPECT_EQ(restored.exitCode, 0) << restored.err.toStdString();
    EXPECT_EQ(firstRent(books), 111);
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
    EXPECT_TRUE(restored.err.contains("damaged")) << restored.err.toStdString();
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

}  // namespace
