// SPDX-License-Identifier: GPL-3.0-or-later
// Two programs on one ledger file: a write-back changes exactly the row it
// read, and never overwrites another program's change unseen.

#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>

#include "fake_field.h"
#include "ledger/location/program_folder.h"
#include "ledger/schema/schema.h"
#include "support/temp_database.h"

using ledger::ErrorCode;
using ledger::LedgerError;
using ledger::RecordSource;

namespace {

class TwoTills : public ::testing::Test {
protected:
    void SetUp() override {
        db.insert(ledger::schema::kLedger, {"Date", "Rent", "Partner"}, {"2002/11/5", 100.0, 5.0});
        db.insert(ledger::schema::kLedger, {"Date", "Rent", "Partner"}, {"2002/11/6", 100.0, 6.0});
        data.setDatabasePath(ledger::databasePath());
        data.setSource(ledger::schema::kLedger);
        data.open();
        ASSERT_TRUE(ledger::guardedFind(data, "Date like '2002/11/6'"));
    }

    // The other till stores `value` into `column` of `day`; its own report.
    QString otherTillStores(const QString& day, const QString& column, const QString& value) {
        QProcess till;
        till.start(QStringLiteral(TILL_PROBE_PATH), {db.path(), day, column, value});
        EXPECT_TRUE(till.waitForFinished(30000));
        return QString::fromUtf8(till.readAllStandardOutput()).trimmed();
    }

    double stored(const QString& column, const QString& day) const {
        return db
            .scalar(QStringLiteral("SELECT \"%1\" FROM \"daily settlement of accounts\" WHERE "
                                   "Date = '%2'")
                        .arg(column, day))
            .toDouble();
    }

    // The error this till's write-back ends with; 0 when it stored.
    int writeBackError() {
        try {
            data.writeBack();
        } catch (const LedgerError& e) {
            message = e.message();
            return e.number();
        }
        return 0;
    }

    TempDatabase db;
    RecordSource data{QStringLiteral("Data1")};
    FakeField rent{data, QStringLiteral("Rent")};
    FakeField partner{data, QStringLiteral("Partner")};
    QString message;
};

TEST_F(TwoTills, TheSameFigureChangedByBothIsReportedAndNeitherIsLostUnseen) {
    ASSERT_EQ(otherTillStores("2002/11/6", "Rent", "222"), "stored");
    rent.type("111");
    EXPECT_EQ(writeBackError(), int(ErrorCode::ChangedElsewhere));
    EXPECT_TRUE(message.contains("Rent") && message.contains("\"100\"") &&
                message.contains("\"222\""))
        << message.toStdString();
    EXPECT_EQ(stored("Rent", "2002/11/6"), 222) << "the other till's figure stays";
    EXPECT_TRUE(rent.isChanged());
    EXPECT_EQ(rent.text, "111") << "this till's text stays";
    // Told, the user stores again on purpose.
    EXPECT_EQ(writeBackError(), 0);
    EXPECT_EQ(stored("Rent", "2002/11/6"), 111);
}

// Edits that do not meet keep working as before: this till changes a figure
// of 2002/11/6, the other one another figure of that day or of another day.
struct Apart {
    const char* theirDay;
    const char* theirColumn;
    const char* myColumn;
};

class TwoTillsApart : public TwoTills, public ::testing::WithParamInterface<Apart> {};

TEST_P(TwoTillsApart, BothFiguresAreStored) {
    const Apart c = GetParam();
    ASSERT_EQ(otherTillStores(c.theirDay, c.theirColumn, "222"), "stored");
    (QString(c.myColumn) == "Rent" ? rent : partner).type("7");
    EXPECT_EQ(writeBackError(), 0) << message.toStdString();
    EXPECT_EQ(stored(c.theirColumn, c.theirDay), 222);
    EXPECT_EQ(stored(c.myColumn, "2002/11/6"), 7);
}

INSTANTIATE_TEST_SUITE_P(Cases, TwoTillsApart,
                         ::testing::Values(Apart{"2002/11/6", "Rent", "Partner"},
                                           Apart{"2002/11/6", "Partner", "Rent"},
                                           Apart{"2002/11/5", "Rent", "Rent"}));

TEST_F(TwoTills, ADayDeletedByAnotherProgramKeepsTheTextAndSaysSo) {
    db.exec("DELETE FROM \"daily settlement of accounts\" WHERE Date = '2002/11/6'");
    rent.type("4444");
    EXPECT_EQ(writeBackError(), int(ErrorCode::RecordDeleted));
    EXPECT_EQ(rent.text, "4444");
    EXPECT_TRUE(rent.isChanged());
    EXPECT_EQ(stored("Rent", "2002/11/5"), 100) << "no other day takes the figure";
}

TEST_F(TwoTills, AFileReplacedUnderTheProgramIsNeverWrittenBehindItsBack) {
    SKIP_ON_SERVER("a database file replaced on disk");
    // A backup put in place of the file, the way a restore does it.
    const QString copy = db.path() + ".copy";
    ASSERT_TRUE(QFile::copy(db.path(), copy));
    ASSERT_TRUE(QFile::remove(db.path()));
    ASSERT_TRUE(QFile::rename(copy, db.path()));
    rent.type("4444");
    EXPECT_EQ(writeBackError(), int(ErrorCode::FileReplaced));
    EXPECT_EQ(rent.text, "4444");
    EXPECT_EQ(stored("Rent", "2002/11/6"), 100);
    EXPECT_EQ(stored("Rent", "2002/11/5"), 100);
}

}  // namespace
