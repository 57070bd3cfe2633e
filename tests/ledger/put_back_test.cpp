// SPDX-License-Identifier: GPL-3.0-or-later
// Putting right what the books' history recorded: a value put back only
// while it still holds what the change left, and a removed wage row
// brought back with its wage on its day, both or neither. On a file and on
// a server.

#include "ledger/records/put_back.h"

#include <gtest/gtest.h>

#include "ledger/base/ledger_error.h"
#include "ledger/records/book_history.h"
#include "ledger/schema/schema.h"
#include "ledger/store/store.h"
#include "ledger/store/who_writes.h"
#include "support/temp_database.h"

namespace schema = ledger::schema;

namespace {

const QString kDay = QStringLiteral("2026/12/9");

class PutBack : public ::testing::Test {
protected:
    void SetUp() override { ledger::setStaffOnDuty(QStringLiteral("Marta")); }
    void TearDown() override { ledger::setStaffOnDuty(QString()); }

    std::vector<ledger::RecordedChange> dayHistory() const {
        auto store = ledger::openStore({db.path()});
        return ledger::historyOfDay(*store, kDay);
    }
    double stored(const QString& table, qint64 key, const QString& column) const {
        auto store = ledger::openStore({db.path()});
        const auto row = store->readRow(table, key, {column});
        return row.empty() ? -1 : row[0].toDouble();
    }
    TempDatabase db;
};

struct PutBackCase {
    const char* what;
    std::vector<double> typed;  // Egg, 91 at first, changed to each in turn
    int putBack;                // which change of Egg, the oldest 0
    bool refused;
    double eggAfter;
};

const PutBackCase kPutBacks[] = {
    {"the only change", {19}, 0, false, 91},
    {"the newest of two", {19, 25}, 1, false, 19},
    {"a change changed again since", {19, 25}, 0, true, 25},
    {"a change undone by hand since", {19, 91}, 0, true, 91},
};

TEST_F(PutBack, AValueGoesBackOnlyWhileItHoldsWhatTheChangeLeft) {
    for (const PutBackCase& c : kPutBacks) {
        SCOPED_TRACE(c.what);
        auto store = ledger::openStore({db.path()});
        const qint64 day = store->insertRow(schema::kLedger, {"Date", "Egg"}, {kDay, 91.0});
        double egg = 91;
        for (double typed : c.typed) {
            ASSERT_TRUE(store->updateRow(schema::kLedger, day, {"Egg"}, {typed}, {egg}));
            egg = typed;
        }
        store.reset();
        auto history = dayHistory();
        std::vector<ledger::RecordedChange> eggChanges;
        for (auto it = history.rbegin(); it != history.rend(); ++it)
            if (it->row == day && it->change == "changed") eggChanges.push_back(*it);
        ASSERT_EQ(eggChanges.size(), c.typed.size());
        const auto recorded = history.size();
        if (c.refused) {
            try {
                ledger::putBackValue(db.path(), eggChanges[c.putBack], "Egg");
                ADD_FAILURE() << "put back";
            } catch (const ledger::LedgerError& e) {
                EXPECT_EQ(e.code(), ledger::ErrorCode::ChangedElsewhere);
            }
        } else {
            ledger::putBackValue(db.path(), eggChanges[c.putBack], "Egg");
        }
        EXPECT_EQ(stored(schema::kLedger, day, "Egg"), c.eggAfter);
        // Put back is recorded as a change of its own; a refusal records none.
        history = dayHistory();
        ASSERT_EQ(history.size(), recorded + (c.refused ? 0 : 1));
        if (!c.refused) EXPECT_EQ(history.front().before("Egg").toDouble(), egg);
        db.exec("DELETE FROM \"daily settlement of accounts\"");
    }
}

struct WageCase {
    const char* what;
    bool dayThere;
    double personnelRate;
    bool broughtBack;
};

const WageCase kWages[] = {
    {"its day is there", true, 100, true},
    {"its day was removed", false, 0, false},
    {"its day cannot take it", true, 2147483600, false},
};

TEST_F(PutBack, ARemovedWageComesBackWithItsDaysPersonnelRateOrNeither) {
    for (const WageCase& c : kWages) {
        SCOPED_TRACE(c.what);
        auto store = ledger::openStore({db.path()});
        const qint64 day =
            store->insertRow(schema::kLedger, {"Date", "Personnel rate"}, {kDay, c.personnelRate});
        const qint64 wage =
            store->insertRow(schema::kWages, {"Date", "Name", "Salary hour", "Main hour"},
                             {kDay, "Lena", 10.0, 8.0});
        store->deleteRow(schema::kWages, wage);
        if (!c.dayThere) store->deleteRow(schema::kLedger, day);
        store.reset();
        ledger::RecordedChange removal;
        for (const auto& change : dayHistory())
            if (change.row == wage && change.isRemoval()) removal = change;
        ASSERT_TRUE(removal.isRemoval());
        try {
            ledger::bringBackWage(db.path(), removal, 80);
            EXPECT_TRUE(c.broughtBack);
        } catch (const ledger::LedgerError& e) {
            EXPECT_FALSE(c.broughtBack) << e.message().toStdString();
        }
        EXPECT_EQ(db.scalar("SELECT count(*) FROM \"The staff calculate wages\" WHERE \"Name\" = "
                            "'Lena' AND \"Main hour\" = 8 AND \"Salary hour\" = 10")
                      .toInt(),
                  c.broughtBack ? 1 : 0);
        if (c.dayThere)
            EXPECT_EQ(stored(schema::kLedger, day, "Personnel rate"),
                      c.personnelRate + (c.broughtBack ? 80 : 0));
        db.exec("DELETE FROM \"daily settlement of accounts\"");
        db.exec("DELETE FROM \"The staff calculate wages\"");
    }
}

TEST_F(PutBack, ARemovedDayComesBackUnlessItsDateIsStoredAgain) {
    auto store = ledger::openStore({db.path()});
    const qint64 day = store->insertRow(schema::kLedger, {"Date", "Egg"}, {kDay, 91.0});
    store->deleteRow(schema::kLedger, day);
    store.reset();
    const ledger::RecordedChange removal = dayHistory().front();
    ASSERT_TRUE(removal.isRemoval());
    ledger::bringBackDay(db.path(), removal);
    EXPECT_EQ(db.scalar("SELECT \"Egg\" FROM \"daily settlement of accounts\"").toDouble(), 91);
    // Now a day of that date is stored: a second one is refused.
    EXPECT_THROW(ledger::bringBackDay(db.path(), removal), ledger::LedgerError);
    EXPECT_EQ(db.scalar("SELECT count(*) FROM \"daily settlement of accounts\"").toInt(), 1);
}

}  // namespace
