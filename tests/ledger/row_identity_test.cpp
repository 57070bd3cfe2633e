// SPDX-License-Identifier: GPL-3.0-or-later
// An edit lands only in the row that still holds what the window showed: its
// day, its member of staff, its wage row's name and day. Keys that come to
// name other rows (books copied or restored over the ones open) never carry
// an edit into another day.

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "fake_field.h"
#include "ledger/location/program_folder.h"
#include "ledger/schema/schema.h"
#include "ledger/store/sqlite/sqlite_statements.h"
#include "setup/postgres/server_setup.h"
#include "setup/schema_builder.h"
#include "support/temp_database.h"
#include "support/value_printing.h"

using ledger::ErrorCode;
using ledger::LedgerError;
using ledger::RecordSource;
namespace schema = ledger::schema;

namespace {

// Opens a record source on a table of the books the program folder names.
void openOn(RecordSource& data, const QString& table) {
    data.setDatabasePath(ledger::databasePath());
    data.setSource(table);
    data.open();
}

// A row whose identity another program changed under the window's key.
struct Moved {
    const QString& table;
    const char* figure;       // the column the window edits
    QStringList identity;     // what the row is about...
    QStringList shown;        // ...as the window read it
    const char* movedColumn;  // what another program changed
    const char* movedTo;
    const char* noun;  // how the message names such a row
};

class RowIdentity : public ::testing::TestWithParam<Moved> {
protected:
    // The error the write-back ends with; 0 when it stored.
    int writeBackError(RecordSource& data) {
        try {
            data.writeBack();
        } catch (const LedgerError& e) {
            message = e.message();
            return e.number();
        }
        return 0;
    }

    TempDatabase db;
    QString message;
};

TEST_P(RowIdentity, AnEditNeverLandsUnseenInARowThatNowHoldsAnotherDayOrPerson) {
    const Moved c = GetParam();
    std::vector<QVariant> values;
    for (const QString& v : c.shown) values.emplace_back(v);
    values.emplace_back(100.0);
    db.insert(c.table, c.identity + QStringList{c.figure}, values);

    // The window binds only the figure: what the row is about is checked
    // whether a field shows it or not (the salary window's rates).
    RecordSource data(QStringLiteral("Data1"));
    FakeField figure(data, QString::fromLatin1(c.figure));
    openOn(data, c.table);
    ASSERT_EQ(figure.text, "100");

    db.exec(QStringLiteral("UPDATE \"%1\" SET \"%2\" = '%3'")
                .arg(c.table, QString::fromLatin1(c.movedColumn), QString::fromLatin1(c.movedTo)));
    figure.type("111");
    EXPECT_EQ(writeBackError(data), int(ErrorCode::ChangedElsewhere));
    EXPECT_TRUE(message.contains(QStringLiteral("no longer holds the %1").arg(c.noun)))
        << message.toStdString();
    EXPECT_TRUE(message.contains(QString::fromLatin1(c.movedTo))) << message.toStdString();
    EXPECT_EQ(db.scalar(QStringLiteral("SELECT \"%1\" FROM \"%2\"").arg(c.figure, c.table)), 100.0)
        << "nothing stored into the other row";
    EXPECT_TRUE(figure.isChanged());
    EXPECT_EQ(figure.text, "111") << "the typed text stays";
    // Told which one the row holds now, the user may store again on purpose.
    EXPECT_EQ(writeBackError(data), 0) << message.toStdString();
    EXPECT_EQ(db.scalar(QStringLiteral("SELECT \"%1\" FROM \"%2\"").arg(c.figure, c.table)), 111.0);
}

INSTANTIATE_TEST_SUITE_P(
    Tables, RowIdentity,
    ::testing::Values(
        Moved{schema::kLedger, "Rent", {"Date"}, {"2002/11/1"}, "Date", "2002/11/5", "day"},
        Moved{schema::kStaff, "Salary hour", {"Name"}, {"Lin"}, "Name", "Wu", "member of staff"},
        Moved{schema::kWages,
              "Main hour",
              {"Name", "Date"},
              {"Lin", "2002/11/1"},
              "Name",
              "Wu",
              "wage row"},
        Moved{schema::kWages,
              "Main hour",
              {"Name", "Date"},
              {"Lin", "2002/11/1"},
              "Date",
              "2002/11/5",
              "wage row"}));

// A password (or its hash) changed by another program is said to have
// changed, never quoted.
TEST_F(RowIdentity, APasswordIsNeverQuotedInAConflictMessage) {
    db.insert(schema::kStaff, {"Name", "Password"},
              {QStringLiteral("Lin"), QStringLiteral("old-pw")});
    RecordSource data(QStringLiteral("Data1"));
    FakeField password(data, QStringLiteral("Password"));
    data.setDatabasePath(ledger::databasePath());
    data.setSource(schema::kStaff);
    data.open();
    db.exec("UPDATE \"Materials forms of staff\" SET Password = 'their-pw'");
    password.type("my-pw");
    EXPECT_EQ(writeBackError(data), int(ErrorCode::ChangedElsewhere));
    EXPECT_TRUE(message.contains("Password (changed)")) << message.toStdString();
    for (const char* secret : {"old-pw", "their-pw", "my-pw"})
        EXPECT_FALSE(message.contains(QString::fromLatin1(secret))) << message.toStdString();
    data.discardEdits();
}

// The books copied over the ones a window shows, the row under its key now
// about another day or person (or the same one): a file written in place by
// a copy made the same way, so that SQLite's own look at the file's header
// sees no change; on a server, the rows replaced under the same keys.
struct CopiedOver {
    const char* why;
    const QString& table;
    const char* figure;    // the column the window edits
    QStringList identity;  // what the row is about...
    QStringList shown;     // ...as the window read it
    QStringList copy;      // ...as the copy holds it under the same key
    bool stored;           // false: refused, nothing stored
};

void PrintTo(const CopiedOver& c, std::ostream* os) { *os << c.why; }

class CopiedOverTheBooks : public ::testing::TestWithParam<CopiedOver> {
protected:
    QStringList columns() const {
        return GetParam().identity + QStringList{QString::fromLatin1(GetParam().figure)};
    }
    QString rowValues(const QStringList& identity) const {
        QStringList values;
        for (const QString& v : identity) values << QLatin1Char('\'') + v + QLatin1Char('\'');
        return (values + QStringList{QStringLiteral("100")}).join(QLatin1Char(','));
    }
    QString quotedColumns() const {
        QStringList quoted;
        for (const QString& c : columns()) quoted << ledger::quoteName(c);
        return quoted.join(QLatin1Char(','));
    }
    // A ledger file holding the one row, made as the tool makes one.
    QString booksHolding(const QString& name, const QStringList& identity) {
        const QString path = other.filePath(name);
        setup::writeDatabaseFile(path, false, true);
        ledger::statements::Connection file(path);
        ledger::statements::run(
            file.handle(),
            QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                .arg(ledger::quoteName(GetParam().table), quotedColumns(), rowValues(identity)),
            QStringLiteral("test"));
        file.close();
        return path;
    }
    static QByteArray bytesOf(const QString& path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    void writeInPlace(const QByteArray& bytes) {
        QFile target(db.path());
        ASSERT_TRUE(target.open(QIODevice::ReadWrite));
        ASSERT_TRUE(target.resize(0));
        ASSERT_EQ(target.write(bytes), bytes.size());
    }

    TempDatabase db;
    QTemporaryDir other;
};

TEST_P(CopiedOverTheBooks, AnEditLandsOnlyInTheRowStillAboutWhatTheWindowShows) {
    const CopiedOver& c = GetParam();
    QByteArray copy;
    qint64 key = 0;
    if (db.onServer()) {
        std::vector<QVariant> values(c.shown.begin(), c.shown.end());
        values.emplace_back(100.0);
        key = db.insert(c.table, columns(), values);
    } else {
        writeInPlace(bytesOf(booksHolding(QStringLiteral("shown.mdb"), c.shown)));
        copy = bytesOf(booksHolding(QStringLiteral("copy.mdb"), c.copy));
        // The header's change counter, size and free pages are the same:
        // SQLite would keep the pages it read.
        ASSERT_EQ(bytesOf(db.path()).mid(24, 16), copy.mid(24, 16));
    }
    RecordSource data(QStringLiteral("Data1"));
    FakeField figure(data, QString::fromLatin1(c.figure));
    openOn(data, c.table);
    ASSERT_EQ(figure.text, "100");

    if (db.onServer()) {
        // Restored by another program: every row anew, under its old key.
        db.exec(QStringLiteral("DELETE FROM %1").arg(ledger::quoteName(c.table)));
        db.exec(QStringLiteral("INSERT INTO %1 (\"Row key\",%2) OVERRIDING SYSTEM VALUE VALUES "
                               "(%3,%4)")
                    .arg(ledger::quoteName(c.table), quotedColumns())
                    .arg(key)
                    .arg(rowValues(c.copy)));
    } else {
        writeInPlace(copy);
    }
    figure.type("111");
    int error = 0;
    QString message;
    try {
        data.writeBack();
    } catch (const LedgerError& e) {
        error = e.number();
        message = e.message();
    }
    const auto rows = db.query(
        QStringLiteral("SELECT %1 FROM %2").arg(quotedColumns(), ledger::quoteName(c.table)));
    ASSERT_EQ(rows.size(), 1u);
    for (qsizetype i = 0; i < c.copy.size(); ++i)
        EXPECT_EQ(rows[0][static_cast<size_t>(i)].toString(), c.copy[i]) << "the copy's row";
    EXPECT_EQ(rows[0].back().toDouble(), c.stored ? 111.0 : 100.0);
    if (c.stored) {
        EXPECT_EQ(error, 0) << message.toStdString();
        return;
    }
    EXPECT_EQ(error, int(ErrorCode::ChangedElsewhere)) << message.toStdString();
    EXPECT_TRUE(message.contains("no longer holds the")) << message.toStdString();
    EXPECT_TRUE(message.contains("Nothing was stored")) << message.toStdString();
    EXPECT_EQ(figure.text, "111") << "the typed text stays";
    data.discardEdits();
}

INSTANTIATE_TEST_SUITE_P(Rows, CopiedOverTheBooks,
                         ::testing::Values(CopiedOver{"the key now holds another day",
                                                      schema::kLedger,
                                                      "Rent",
                                                      {"Date"},
                                                      {"2002/2/11"},
                                                      {"2002/1/31"},
                                                      false},
                                           CopiedOver{"the key now holds another member of staff",
                                                      schema::kStaff,
                                                      "Salary hour",
                                                      {"Name"},
                                                      {"Lin"},
                                                      {"Wu"},
                                                      false},
                                           CopiedOver{"the key now holds a wage of another name",
                                                      schema::kWages,
                                                      "Main hour",
                                                      {"Name", "Date"},
                                                      {"Lin", "2002/2/11"},
                                                      {"Wu", "2002/2/11"},
                                                      false},
                                           CopiedOver{"the key now holds a wage of another day",
                                                      schema::kWages,
                                                      "Main hour",
                                                      {"Name", "Date"},
                                                      {"Lin", "2002/2/11"},
                                                      {"Lin", "2002/1/31"},
                                                      false},
                                           CopiedOver{"the key holds the same day",
                                                      schema::kLedger,
                                                      "Rent",
                                                      {"Date"},
                                                      {"2002/2/11"},
                                                      {"2002/2/11"},
                                                      true}));

// The shop's books as a till has them open: three days, the last one shown.
class MadeAnew : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* day : {"2002/11/1", "2002/11/2", "2002/11/3"})
            db.insert(schema::kLedger, {"Date", "Rent"}, {QString::fromLatin1(day), 100.0});
        data.setDatabasePath(ledger::databasePath());
        data.setSource(schema::kLedger);
        data.open();
        data.moveLast();
        ASSERT_EQ(date.text, "2002/11/3");
    }

    // Another ledger file with these days, made by the tool.
    QString otherLedgerFile(const QStringList& days) {
        const QString path = other.filePath(QStringLiteral("other.mdb"));
        setup::writeDatabaseFile(path, false, true);
        ledger::statements::Connection file(path);
        for (const QString& day : days)
            ledger::statements::run(file.handle(),
                                    QStringLiteral("INSERT INTO \"daily settlement of accounts\" "
                                                   "(Date, Rent) VALUES ('%1', 5)")
                                        .arg(day),
                                    QStringLiteral("test"));
        file.close();
        return path;
    }

    // Writes `from` into the books' own file, the same file on the disk, as
    // a copy over it does.
    void overwriteInPlace(const QString& from) {
        QFile source(from), target(db.path());
        ASSERT_TRUE(source.open(QIODevice::ReadOnly));
        ASSERT_TRUE(target.open(QIODevice::ReadWrite));
        ASSERT_TRUE(target.resize(0));
        ASSERT_EQ(target.write(source.readAll()), source.size());
    }

    int writeBackError() {
        try {
            data.writeBack();
        } catch (const LedgerError& e) {
            message = e.message();
            return e.number();
        }
        return 0;
    }

    QStringList storedDays() const {
        QStringList days;
        for (const auto& row : db.query("SELECT Date, Rent FROM \"daily settlement of accounts\" "
                                        "ORDER BY rowid"))
            days << row[0].toString() + QLatin1Char('=') + row[1].toString();
        return days;
    }

    TempDatabase db;
    QTemporaryDir other;
    RecordSource data{QStringLiteral("Data1")};
    FakeField date{data, QStringLiteral("Date")};
    FakeField rent{data, QStringLiteral("Rent")};
    QString message;
};

TEST_F(MadeAnew, AFileOverwrittenInPlaceByAShorterLedgerTakesNoEditAndNoNewDay) {
    SKIP_ON_SERVER("a database file overwritten in place");
    overwriteInPlace(otherLedgerFile({"2002/12/24"}));
    rent.type("4444");
    EXPECT_EQ(writeBackError(), int(ErrorCode::FileReplaced));
    EXPECT_TRUE(message.contains("made anew")) << message.toStdString();
    EXPECT_EQ(rent.text, "4444");
    data.discardEdits();

    // A new day would take a key this till already knows for another day.
    data.addNew();
    date.type("2002/11/4");
    EXPECT_EQ(writeBackError(), int(ErrorCode::FileReplaced));
    data.discardEdits();
    EXPECT_EQ(storedDays(), QStringList{"2002/12/24=5"});
}

TEST_F(MadeAnew, AFileOverwrittenInPlaceByALongerLedgerTakesNoEditIntoAnotherDay) {
    SKIP_ON_SERVER("a database file overwritten in place");
    // Its third row, under the key of the day shown, is another day.
    overwriteInPlace(otherLedgerFile({"2002/12/1", "2002/12/2", "2002/12/3", "2002/12/4"}));
    rent.type("4444");
    EXPECT_EQ(writeBackError(), int(ErrorCode::ChangedElsewhere));
    EXPECT_TRUE(message.contains("no longer holds the day")) << message.toStdString();
    data.discardEdits();
    EXPECT_EQ(storedDays(),
              (QStringList{"2002/12/1=5", "2002/12/2=5", "2002/12/3=5", "2002/12/4=5"}));
}

TEST_F(MadeAnew, TablesMadeAnewOnTheServerTakeNoEditAndNoNewDay) {
    if (!db.onServer()) GTEST_SKIP() << "tables made anew on a server";
    // copy --force onto the server: the tables dropped and made again, their
    // keys counted from 1 again, here even with the very same days and
    // figures: a ledger made anew is never written into.
    setup::createServerSchema(db.path(), false, true);
    for (const char* day : {"2002/11/1", "2002/11/2", "2002/11/3", "2002/11/4"})
        db.insert(schema::kLedger, {"Date", "Rent"}, {QString::fromLatin1(day), 100.0});
    rent.type("4444");
    EXPECT_EQ(writeBackError(), int(ErrorCode::FileReplaced));
    EXPECT_TRUE(message.contains("made anew")) << message.toStdString();
    data.discardEdits();

    data.addNew();
    date.type("2002/11/4");
    EXPECT_EQ(writeBackError(), int(ErrorCode::FileReplaced));
    data.discardEdits();
    EXPECT_EQ(storedDays(),
              (QStringList{"2002/11/1=100", "2002/11/2=100", "2002/11/3=100", "2002/11/4=100"}));
}

}  // namespace
