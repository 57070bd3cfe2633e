// SPDX-License-Identifier: GPL-3.0-or-later
// What the wage Save needs of the store, on a file and on a server: an
// addition to a figure as it is stored now, guarded by the row's day, and a
// transaction in which a wage row and its day's figure land together or not
// at all, never twice, even when the server's connection goes during the
// commit.

#include <gtest/gtest.h>

#include "ledger/base/ledger_error.h"
#include "ledger/schema/schema.h"
#include "ledger/store/store.h"
#include "support/server_relay.h"
#include "support/temp_database.h"

namespace {

namespace schema = ledger::schema;
using ledger::ErrorCode;
using ledger::LedgerError;
using ledger::Store;

const QString kPersonnelRate = QStringLiteral("Personnel rate");

class StoreTransaction : public ::testing::Test {
protected:
    std::shared_ptr<Store> openStore() { return ledger::openStore(ledger::Connection{db.path()}); }

    qint64 addDay(const QString& day, const QVariant& personnelRate) {
        return db.insert(schema::kLedger, {"Date", "Personnel rate"}, {day, personnelRate});
    }
    QVariant personnelRate(qint64 day) const {
        return db.scalar(
            QStringLiteral("SELECT \"Personnel rate\" FROM \"daily settlement of accounts\" "
                           "WHERE rowid = %1")
                .arg(day));
    }
    qint64 wageRows() const {
        return db.scalar("SELECT count(*) FROM \"The staff calculate wages\"").toLongLong();
    }

    // A wage row and its addition to the day, as the wage Save stores them.
    static void storeWage(Store& store, qint64 day, double wage, const QString& name = "Tovena") {
        store.insertRow(schema::kWages, {"Date", "Name"}, {QStringLiteral("2002/2/12"), name});
        if (!store.addToAmount(schema::kLedger, day, kPersonnelRate, wage, "Date",
                               QStringLiteral("2002/2/12")))
            throw LedgerError(ErrorCode::ChangedElsewhere, "the day moved");
    }

    TempDatabase db;
};

struct AdditionCase {
    QVariant stored;
    double amount;
    double expected;
    const char* why;
};

void PrintTo(const AdditionCase& c, std::ostream* os) { *os << c.why; }

class Addition : public StoreTransaction, public ::testing::WithParamInterface<AdditionCase> {};

TEST_P(Addition, CountsFromTheFigureAsItIsStoredNow) {
    const AdditionCase& c = GetParam();
    const qint64 day = addDay("2002/2/12", 5.0);
    auto store = openStore();
    // Another till changes the figure after this one opened the books.
    db.exec(QStringLiteral("UPDATE \"daily settlement of accounts\" SET \"Personnel rate\" = %1")
                .arg(c.stored.isNull() ? QStringLiteral("NULL") : c.stored.toString()));
    const std::optional<double> now =
        store->addToAmount(schema::kLedger, day, kPersonnelRate, c.amount, "Date", "2002/2/12");
    ASSERT_TRUE(now.has_value());
    EXPECT_DOUBLE_EQ(*now, c.expected);
    EXPECT_DOUBLE_EQ(personnelRate(day).toDouble(), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Figures, Addition,
    ::testing::Values(AdditionCase{QVariant(), 810, 810, "an empty figure counts 0"},
                      AdditionCase{512.0, 77, 589, "a wage another till added counts"},
                      AdditionCase{1200.5, 810, 2010.5, "a fraction stays"},
                      AdditionCase{100.0, -130, -30, "a wage below zero lowers it"},
                      AdditionCase{2147483000.0, 647, 2147483647, "to the last whole number"}));

TEST_F(StoreTransaction, AnAdditionLandsOnlyWhileTheRowHoldsItsDay) {
    const qint64 day = addDay("2002/2/12", 100.0);
    auto store = openStore();
    EXPECT_FALSE(store->addToAmount(schema::kLedger, day, kPersonnelRate, 50, "Date", "2002/2/13"));
    EXPECT_DOUBLE_EQ(personnelRate(day).toDouble(), 100);
    db.exec("DELETE FROM \"daily settlement of accounts\"");
    EXPECT_FALSE(store->addToAmount(schema::kLedger, day, kPersonnelRate, 50, "Date", "2002/2/12"));
}

TEST_F(StoreTransaction, StoresBothOrNeither) {
    const qint64 day = addDay("2002/2/12", 100.0);
    auto store = openStore();
    EXPECT_THROW(store->inTransaction([&] {
        storeWage(*store, day, 810);
        throw LedgerError(ErrorCode::Overflow, "too large");
    }),
                 LedgerError);
    EXPECT_EQ(wageRows(), 0);
    EXPECT_DOUBLE_EQ(personnelRate(day).toDouble(), 100);

    EXPECT_EQ(store->inTransaction([&] { storeWage(*store, day, 810); }), Store::Outcome::Stored);
    EXPECT_EQ(wageRows(), 1);
    EXPECT_DOUBLE_EQ(personnelRate(day).toDouble(), 910);
}

TEST_F(StoreTransaction, ANestedFailureUndoesOnlyItsOwnPart) {
    const qint64 day = addDay("2002/2/12", 0.0);
    auto store = openStore();
    store->inTransaction([&] {
        storeWage(*store, day, 100, "Outer");
        try {
            store->inTransaction([&] {
                storeWage(*store, day, 7, "Inner");
                throw LedgerError(ErrorCode::Overflow, "too large");
            });
        } catch (const LedgerError&) {
        }
        storeWage(*store, day, 20, "After");
    });
    EXPECT_EQ(wageRows(), 2);
    EXPECT_EQ(db.scalar("SELECT count(*) FROM \"The staff calculate wages\" WHERE Name = 'Inner'")
                  .toInt(),
              0);
    EXPECT_DOUBLE_EQ(personnelRate(day).toDouble(), 120);
}

// ------------------------------------------------ a server that goes away

#define NEEDS_SERVER_SOCKET()                                                            \
    do {                                                                                 \
        if (!test_server::requested())                                                   \
            GTEST_SKIP() << "runs on the server run of this program (server:...)";       \
        if (serverSocket().isEmpty()) GTEST_SKIP() << "the relay needs the Unix socket"; \
    } while (false)

class LostCommit : public StoreTransaction {
protected:
    QString serverSocket() const { return ServerRelay::socketOf(db.path()); }

    // The store of a till whose network is the relay.
    std::shared_ptr<Store> openTill(ServerRelay& relay) {
        relay.start();
        return ledger::openStore(ledger::Connection{ServerRelay::through(db.path(), relay.port())});
    }
};

TEST_F(LostCommit, AnAnswerLostAfterTheServerCommittedIsFoundStored) {
    NEEDS_SERVER_SOCKET();
    const qint64 day = addDay("2002/2/12", 100.0);
    ServerRelay relay(serverSocket());
    auto store = openTill(relay);
    relay.cutAt("COMMIT", ServerRelay::Cut::AfterTheServerRanIt, false);
    int runs = 0;
    EXPECT_EQ(store->inTransaction(
                  [&] {
                      ++runs;
                      storeWage(*store, day, 810);
                  },
                  "wage-1"),
              Store::Outcome::Stored);
    EXPECT_EQ(runs, 1);
    EXPECT_EQ(wageRows(), 1);
    EXPECT_DOUBLE_EQ(personnelRate(day).toDouble(), 910);
}

TEST_F(LostCommit, ACommitThatNeverReachedTheServerIsSaidAndNothingIsStored) {
    NEEDS_SERVER_SOCKET();
    const qint64 day = addDay("2002/2/12", 100.0);
    ServerRelay relay(serverSocket());
    auto store = openTill(relay);
    relay.cutAt("COMMIT", ServerRelay::Cut::BeforeTheServer, false);
    try {
        store->inTransaction([&] { storeWage(*store, day, 810); }, "wage-1");
        ADD_FAILURE() << "reported as stored";
    } catch (const LedgerError& e) {
        EXPECT_EQ(e.code(), ErrorCode::StoreFailure);
        EXPECT_TRUE(e.message().contains("did not store it")) << e.message().toStdString();
    }
    EXPECT_EQ(wageRows(), 0);
    EXPECT_DOUBLE_EQ(personnelRate(day).toDouble(), 100);
    // Tried again, it is stored once.
    store->inTransaction([&] { storeWage(*store, day, 810); }, "wage-1");
    EXPECT_EQ(wageRows(), 1);
    EXPECT_DOUBLE_EQ(personnelRate(day).toDouble(), 910);
}

struct UnconfirmedCase {
    ServerRelay::Cut cut;
    Store::Outcome retry;
    int runs;  // how often the work ran in the two tries
    const char* why;
};

void PrintTo(const UnconfirmedCase& c, std::ostream* os) { *os << c.why; }

class Unconfirmed : public LostCommit, public ::testing::WithParamInterface<UnconfirmedCase> {};

TEST_P(Unconfirmed, TheNextTryAsksFirstAndNothingIsStoredTwice) {
    NEEDS_SERVER_SOCKET();
    const UnconfirmedCase& c = GetParam();
    const qint64 day = addDay("2002/2/12", 100.0);
    ServerRelay relay(serverSocket());
    auto store = openTill(relay);
    relay.cutAt("COMMIT", c.cut, /*stayDown=*/true);
    int runs = 0;
    auto work = [&] {
        ++runs;
        storeWage(*store, day, 810);
    };
    try {
        store->inTransaction(work, "wage-1");
        ADD_FAILURE() << "reported as stored";
    } catch (const LedgerError& e) {
        EXPECT_EQ(e.code(), ErrorCode::OutcomeUnknown) << e.message().toStdString();
        EXPECT_TRUE(e.message().contains("Nothing will be stored twice"))
            << e.message().toStdString();
    }
    relay.allowAgain();  // the network is back
    EXPECT_EQ(store->inTransaction(work, "wage-1"), c.retry);
    EXPECT_EQ(runs, c.runs);
    EXPECT_EQ(wageRows(), 1);
    EXPECT_DOUBLE_EQ(personnelRate(day).toDouble(), 910);
}

INSTANTIATE_TEST_SUITE_P(
    Commits, Unconfirmed,
    ::testing::Values(UnconfirmedCase{ServerRelay::Cut::AfterTheServerRanIt,
                                      Store::Outcome::StoredEarlier, 1,
                                      "the first try landed: not run again"},
                      UnconfirmedCase{ServerRelay::Cut::BeforeTheServer, Store::Outcome::Stored, 2,
                                      "the first try never landed: run again, once"}));

}  // namespace
