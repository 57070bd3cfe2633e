// SPDX-License-Identifier: GPL-3.0-or-later
// A new row stored together with a change elsewhere (a wage row with its
// day's figure), what a record source shows afterwards, rows other tills
// added meanwhile, the advice of the conflict message, and a new row whose
// commit the server's network lost: never stored twice, whether the user
// saves again or closes.

#include <gtest/gtest.h>

#include "fake_field.h"
#include "ledger/base/ledger_error.h"
#include "ledger/location/program_folder.h"
#include "ledger/schema/schema.h"
#include "ledger/store/store.h"
#include "support/server_relay.h"
#include "support/temp_database.h"

namespace {

using ledger::ErrorCode;
using ledger::LedgerError;
using ledger::RecordSource;
namespace schema = ledger::schema;

class JointWrite : public ::testing::Test {
protected:
    void open(RecordSource& source, const QString& table, const QString& path = QString()) {
        source.setDatabasePath(path.isEmpty() ? ledger::databasePath() : path);
        source.setSource(table);
        source.open();
    }
    qint64 count(const QString& table) const {
        return db.scalar("SELECT count(*) FROM " + ledger::quoteName(table)).toLongLong();
    }
    QVariant personnelRate() const {
        return db.scalar("SELECT \"Personnel rate\" FROM \"daily settlement of accounts\"");
    }

    TempDatabase db;
};

TEST_F(JointWrite, TheNewRowAndWhatGoesAlongsideLandTogetherOrNotAtAll) {
    const qint64 day = db.insert(schema::kLedger, {"Date", "Personnel rate"}, {"2002/2/12", 512.0});
    RecordSource days("Days"), wages("Wages");
    FakeField personnel(days, "Personnel rate");
    FakeField date(wages, "Date"), hours(wages, "Main hour");
    open(days, schema::kLedger);
    open(wages, schema::kWages);
    wages.addNew();
    date.type("2002/2/12");
    hours.type("8");
    auto add = [&] {
        wages.store().addToAmount(schema::kLedger, day, "Personnel rate", 77, "Date", "2002/2/12");
    };

    // Something alongside fails: nothing of the row is stored either, and
    // the row is still being entered with what was typed.
    EXPECT_THROW(wages.storeNewRowWith([&] {
        add();
        throw LedgerError(ErrorCode::Overflow, "too large");
    }),
                 LedgerError);
    EXPECT_EQ(count(schema::kWages), 0);
    EXPECT_EQ(personnelRate(), QVariant(512.0));
    EXPECT_TRUE(wages.isNewRow());
    EXPECT_TRUE(hours.isChanged());

    wages.storeNewRowWith(add);
    EXPECT_EQ(count(schema::kWages), 1);
    EXPECT_EQ(personnelRate(), QVariant(589.0));
    EXPECT_FALSE(wages.isNewRow());
    EXPECT_FALSE(hours.isChanged());
    EXPECT_EQ(wages.rowCount(), 1);
    // Stored: a later write-back has nothing more to store.
    wages.writeBack();
    EXPECT_EQ(count(schema::kWages), 1);

    // The day shows the figure as stored now, without counting it as typed.
    EXPECT_EQ(personnel.text, "512");
    days.showStored("Personnel rate");
    EXPECT_EQ(personnel.text, "589");
    EXPECT_FALSE(personnel.isChanged());
    EXPECT_EQ(days.readValue("Personnel rate"), QVariant(589.0));
}

TEST_F(JointWrite, ShowingTheStoredFigureLeavesAFigureTypedThereAlone) {
    db.insert(schema::kLedger, {"Date", "Personnel rate"}, {"2002/2/12", 512.0});
    RecordSource days("Days");
    FakeField personnel(days, "Personnel rate");
    open(days, schema::kLedger);
    personnel.type("600");
    days.showStored("Personnel rate");
    EXPECT_EQ(personnel.text, "600");
    EXPECT_TRUE(personnel.isChanged());
}

TEST_F(JointWrite, RowsAddedElsewhereAreTakenInWithoutMovingOrStoring) {
    db.insert(schema::kLedger, {"Date"}, {"2002/2/11"});
    db.insert(schema::kLedger, {"Date"}, {"2002/2/12"});
    RecordSource days("Days");
    FakeField date(days, "Date"), rent(days, "Rent");
    open(days, schema::kLedger);
    days.moveLast();
    rent.type("5");
    db.insert(schema::kLedger, {"Date"}, {"2002/2/13"});  // another till
    const QString criterion = "Date = '2002/2/13'";
    EXPECT_FALSE(days.lookUp(criterion));
    days.takeInNewRows();
    const std::optional<ledger::Bookmark> found = days.lookUp(criterion);
    ASSERT_TRUE(found);
    EXPECT_TRUE(days.holds(*found));
    EXPECT_EQ(days.rowCount(), 3);
    // Still on its row with its edit, nothing stored.
    EXPECT_EQ(date.text, "2002/2/12");
    EXPECT_TRUE(rent.isChanged());
    EXPECT_TRUE(db.scalar("SELECT Rent FROM \"daily settlement of accounts\" WHERE Date = "
                          "'2002/2/12'")
                    .isNull());
    EXPECT_EQ(days.bookmark(), days.bookmarkAt(1));

    // While a new row is entered, the row it came from stays the one to go
    // back to.
    days.addNew();
    date.type("2002/2/14");
    db.insert(schema::kLedger, {"Date"}, {"2002/2/15"});
    days.takeInNewRows();
    EXPECT_TRUE(days.isNewRow());
    days.discardEdits();
    EXPECT_EQ(days.bookmark(), days.bookmarkAt(1));
}

TEST_F(JointWrite, TheConflictMessageNamesTheFigureBothValuesAndTheSafeStep) {
    db.insert(schema::kLedger, {"Date", "Rent", "Personnel rate"}, {"2002/2/12", 100.0, 512.0});
    RecordSource days("Days");
    FakeField rent(days, "Rent"), personnel(days, "Personnel rate");
    open(days, schema::kLedger);
    days.setConflictAdvice("Personnel rate", "Type the stored figure (\"%1\") back.");
    db.exec("UPDATE \"daily settlement of accounts\" SET Rent = 222, \"Personnel rate\" = 589");

    rent.type("150");
    try {
        days.writeBack();
        ADD_FAILURE() << "stored over another program's change";
    } catch (const LedgerError& e) {
        EXPECT_TRUE(e.message().contains("Rent from \"100\" to \"222\""));
        EXPECT_TRUE(e.message().contains("type it in place of yours"));
    }
    rent.changed = false;
    personnel.type("600");
    try {
        days.writeBack();
        ADD_FAILURE() << "stored over another program's change";
    } catch (const LedgerError& e) {
        EXPECT_TRUE(e.message().contains("Personnel rate from \"512\" to \"589\""));
        EXPECT_TRUE(e.message().contains("Type the stored figure (\"589\") back."));
        // Storing again would drop the wage another till added.
        EXPECT_FALSE(e.message().contains("store again")) << e.message().toStdString();
    }
}

// ------------------------------------------- a new row on a lost network

class NewRowOnLostNetwork : public JointWrite {
protected:
    QString serverSocket() const { return ServerRelay::socketOf(db.path()); }
};

TEST_F(NewRowOnLostNetwork, IsStoredOnceWhateverTheUserDoesNext) {
    if (!test_server::requested()) GTEST_SKIP() << "runs on the server run (server:...)";
    if (serverSocket().isEmpty()) GTEST_SKIP() << "the relay needs the Unix socket";
    ServerRelay relay(serverSocket());
    relay.start();
    RecordSource days("Days");
    FakeField date(days, "Date"), rent(days, "Rent");
    open(days, schema::kLedger, ServerRelay::through(db.path(), relay.port()));
    days.addNew();
    date.type("2002/11/6");
    rent.type("100");
    relay.cutAt("COMMIT", ServerRelay::Cut::AfterTheServerRanIt, /*stayDown=*/true);
    try {
        days.writeBack();
        ADD_FAILURE() << "reported as stored";
    } catch (const LedgerError& e) {
        EXPECT_EQ(e.code(), ErrorCode::OutcomeUnknown) << e.message().toStdString();
    }
    EXPECT_TRUE(days.isNewRow());
    EXPECT_TRUE(rent.isChanged());
    // The user corrects a figure meanwhile; then the network is back and
    // the window is saved or closed: one row, holding the correction.
    rent.type("120");
    relay.allowAgain();
    days.close();
    EXPECT_EQ(count(schema::kLedger), 1);
    EXPECT_EQ(db.scalar("SELECT Rent FROM \"daily settlement of accounts\"").toDouble(), 120);
}

}  // namespace
