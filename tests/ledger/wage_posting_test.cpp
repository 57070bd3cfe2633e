// SPDX-License-Identifier: GPL-3.0-or-later
// A wage row stored with its day's Personnel rate and removed with it, on a
// file and on a server: both or neither, whatever another till did to the
// day or the wage row meanwhile.

#include "ledger/records/wage_posting.h"

#include <gtest/gtest.h>

#include <functional>

#include "fake_field.h"
#include "ledger/base/ledger_error.h"
#include "ledger/location/program_folder.h"
#include "ledger/schema/schema.h"
#include "support/temp_database.h"

namespace {

using ledger::ErrorCode;
using ledger::LedgerError;
using ledger::RecordSource;
namespace schema = ledger::schema;

const QString kDay = QStringLiteral("2002/2/12");

class WagePosting : public ::testing::Test {
protected:
    void SetUp() override {
        for (RecordSource* source : {&days, &wages})
            source->setDatabasePath(ledger::databasePath());
        days.setSource(schema::kLedger);
        wages.setSource(schema::kWages);
    }
    void open() {
        days.open();
        wages.open();
    }
    qint64 wageRows() const {
        return db.scalar("SELECT count(*) FROM " + ledger::quoteName(schema::kWages)).toLongLong();
    }
    QVariant personnelRate() const {
        return db.scalar("SELECT \"Personnel rate\" FROM \"daily settlement of accounts\"");
    }

    TempDatabase db;
    RecordSource days{"Days"}, wages{"Wages"};
    FakeField rate{days, "Personnel rate"};
    FakeField date{wages, "Date"}, name{wages, "Name"}, hours{wages, "Main hour"};
};

TEST_F(WagePosting, RemovingTakesExactlyTheRowsWageOffItsDayAndNothingElse) {
    // Twelve wages of 10, 20, ... 120 on the day: 780 in all.
    db.insert(schema::kLedger, {"Date", "Personnel rate"}, {kDay, 780.0});
    for (int i = 1; i <= 12; ++i)
        db.insert(schema::kWages, {"Date", "Name", "Main hour"},
                  {kDay, QStringLiteral("N%1").arg(i), double(i)});
    open();
    for (int i = 1; i < 7; ++i) wages.moveNext();
    ASSERT_EQ(name.text, "N7");

    ledger::removeWageFromDay(wages, days, kDay, 70);
    EXPECT_EQ(wageRows(), 11);
    EXPECT_EQ(db.scalar("SELECT count(*) FROM \"The staff calculate wages\" WHERE Name = 'N7'")
                  .toLongLong(),
              0);
    EXPECT_EQ(personnelRate(), QVariant(710.0));
    EXPECT_EQ(rate.text, "710");
    EXPECT_FALSE(wages.hasCurrentRow());
    EXPECT_EQ(wages.rowCount(), 11);
    // The next move goes on from where the row was.
    wages.moveNext();
    EXPECT_EQ(name.text, "N8");
}

// What another till did before this one stored or removed a wage, and what
// this one is told; nothing of the wage is stored or removed then.
struct ElsewhereCase {
    const char* what;
    bool removing;
    const char* sql;  // run by "another till" after the windows read
    double startingRate;
    ErrorCode said;
};

void PrintTo(const ElsewhereCase& c, std::ostream* out) { *out << c.what; }

class WagePostingElsewhere : public WagePosting,
                             public ::testing::WithParamInterface<ElsewhereCase> {};

TEST_P(WagePostingElsewhere, LeavesTheWageRowsAndTheDayAsTheyWere) {
    const ElsewhereCase& c = GetParam();
    db.insert(schema::kLedger, {"Date", "Personnel rate"}, {kDay, c.startingRate});
    db.insert(schema::kWages, {"Date", "Name", "Main hour"}, {kDay, "Tovena", 8.0});
    open();
    if (!c.removing) {
        wages.addNew();
        date.type(kDay);
        name.type("Marta");
    }
    db.exec(c.sql);
    const qint64 rowsBefore = wageRows();
    const QVariant rateBefore = personnelRate();
    try {
        if (c.removing)
            ledger::removeWageFromDay(wages, days, kDay, 640);
        else
            ledger::storeWageWithDay(wages, days, kDay, 640);
        ADD_FAILURE() << "went through";
    } catch (const LedgerError& e) {
        EXPECT_EQ(e.code(), c.said) << e.message().toStdString();
    }
    EXPECT_EQ(wageRows(), rowsBefore);
    EXPECT_EQ(personnelRate(), rateBefore);
    EXPECT_EQ(wages.isNewRow(), !c.removing);
}

const char* const kDayDatedOtherwise =
    "UPDATE \"daily settlement of accounts\" SET Date = '2002/2/13'";
const char* const kDayRemoved = "DELETE FROM \"daily settlement of accounts\"";
const char* const kNothing = "UPDATE \"daily settlement of accounts\" SET Rent = 1";

const ElsewhereCase kElsewhere[] = {
    {"store: day dated otherwise", false, kDayDatedOtherwise, 0, ErrorCode::ChangedElsewhere},
    {"store: day removed", false, kDayRemoved, 0, ErrorCode::ChangedElsewhere},
    {"store: beyond the whole numbers", false, kNothing, 2147483100, ErrorCode::Overflow},
    {"remove: day dated otherwise", true, kDayDatedOtherwise, 640, ErrorCode::ChangedElsewhere},
    {"remove: day removed", true, kDayRemoved, 640, ErrorCode::ChangedElsewhere},
    {"remove: below the whole numbers", true, kNothing, -2147483100, ErrorCode::Overflow},
    {"remove: wage row's hours changed", true,
     "UPDATE \"The staff calculate wages\" SET \"Main hour\" = 9", 640,
     ErrorCode::ChangedElsewhere},
    {"remove: wage row removed already", true, "DELETE FROM \"The staff calculate wages\"", 640,
     ErrorCode::RecordDeleted},
};

INSTANTIATE_TEST_SUITE_P(Tills, WagePostingElsewhere, ::testing::ValuesIn(kElsewhere));

TEST_F(WagePosting, ARowChangedElsewhereIsShownAsItIsNowAndThenRemoved) {
    db.insert(schema::kLedger, {"Date", "Personnel rate"}, {kDay, 720.0});
    db.insert(schema::kWages, {"Date", "Name", "Main hour"}, {kDay, "Tovena", 8.0});
    open();
    db.exec("UPDATE \"The staff calculate wages\" SET \"Main hour\" = 9");
    EXPECT_THROW(ledger::removeWageFromDay(wages, days, kDay, 640), LedgerError);
    EXPECT_EQ(hours.text, "9");
    ledger::removeWageFromDay(wages, days, kDay, 720);
    EXPECT_EQ(wageRows(), 0);
    EXPECT_EQ(personnelRate(), QVariant(0.0));
}

}  // namespace
