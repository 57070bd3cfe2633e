// SPDX-License-Identifier: GPL-3.0-or-later
// A window shows its first day without reading every row key of the ledger:
// the keys are read when a move, a find or a count first needs them, and the
// row set is then what it was when it opened, as if read whole at once.

#include <gtest/gtest.h>

#include "fake_field.h"
#include "ledger/location/program_folder.h"
#include "ledger/records/record_source.h"
#include "ledger/records/table_rows.h"
#include "ledger/schema/schema.h"
#include "ledger/store/store.h"
#include "support/temp_database.h"

using ledger::RecordSource;
namespace schema = ledger::schema;

namespace {

// The real store, with a count of the reads of every key of a table.
class CountingStore final : public ledger::Store {
public:
    explicit CountingStore(std::shared_ptr<ledger::Store> real) : real_(std::move(real)) {}
    int everyKeyRead = 0;
    int rowsScanned = 0;

    const QString& path() const override { return real_->path(); }
    SourceInfo describe(const QString& s) override { return real_->describe(s); }
    std::vector<RowKey> rowKeys(const QString& t) override {
        ++everyKeyRead;
        return real_->rowKeys(t);
    }
    std::vector<RowKey> rowKeysUpTo(const QString& t, RowKey highest) override {
        ++everyKeyRead;
        return real_->rowKeysUpTo(t, highest);
    }
    std::optional<std::pair<RowKey, RowKey>> keyRange(const QString& t) override {
        return real_->keyRange(t);
    }
    quint64 removalMark(const QString& t) override { return real_->removalMark(t); }
    std::vector<RowKey> rowKeysAbove(const QString& t, RowKey after) override {
        return real_->rowKeysAbove(t, after);
    }
    std::vector<QVariant> readRow(const QString& t, RowKey k, const QStringList& c) override {
        return real_->readRow(t, k, c);
    }
    using Store::updateRow;
    bool updateRow(const QString& t, RowKey k, const QStringList& c, const std::vector<QVariant>& v,
                   const QStringList& checked, const std::vector<QVariant>& e) override {
        return real_->updateRow(t, k, c, v, checked, e);
    }
    RowKey insertRow(const QString& t, const QStringList& c,
                     const std::vector<QVariant>& v) override {
        return real_->insertRow(t, c, v);
    }
    RowKey insertRowUnlessStored(const QString& t, const QStringList& c,
                                 const std::vector<QVariant>& v, const QString& d) override {
        return real_->insertRowUnlessStored(t, c, v, d);
    }
    void deleteRow(const QString& t, RowKey k) override { real_->deleteRow(t, k); }
    std::optional<double> addToAmount(const QString& t, RowKey k, const QString& c, double a,
                                      const QString& g, const QVariant& gv) override {
        return real_->addToAmount(t, k, c, a, g, gv);
    }
    Outcome inTransaction(const std::function<void()>& w, const QString& a) override {
        return real_->inTransaction(w, a);
    }
    void scan(const QString& s, const QStringList& c, const RowVisitor& v) override {
        real_->scan(s, c, [&](RowKey k, const std::vector<QVariant>& values) {
            ++rowsScanned;
            return v(k, values);
        });
    }
    void scanBelow(const QString& t, RowKey b, const QStringList& c, const RowVisitor& v) override {
        real_->scanBelow(t, b, c, v);
    }

private:
    std::shared_ptr<ledger::Store> real_;
};

class FirstRowOpen : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* day : {"2002/2/12", "2002/2/13", "2002/10/1"})
            db.insert(schema::kLedger, {"Date"}, {QString::fromLatin1(day)});
    }

    void openLedger(RecordSource& source) {
        source.setDatabasePath(ledger::databasePath());
        source.setSource(schema::kLedger);
        source.open();
    }

    TempDatabase db;
};

TEST_F(FirstRowOpen, ReadsTheFirstKeyOnlyAndEveryKeyOnceAMoveNeedsThem) {
    auto counting =
        std::make_shared<CountingStore>(ledger::openStore(ledger::Connection{db.path()}));
    ledger::TableRows rows(counting, counting->describe(schema::kLedger));
    EXPECT_FALSE(rows.isEmpty());
    EXPECT_EQ(counting->readRow(schema::kLedger, rows.keyAt(0), {"Date"}).at(0).toString(),
              "2002/2/12");
    EXPECT_EQ(counting->everyKeyRead, 0);

    EXPECT_EQ(rows.count(), 3);  // a move to the last row needs them
    EXPECT_EQ(counting->everyKeyRead, 1);
    rows.keyAt(2);
    rows.reload();  // Save: only the keys added since are read
    EXPECT_EQ(counting->everyKeyRead, 1);
}

// A list read before the keys (a combo's list of names) reads them in the
// same pass, and lists what reading the keys first would have listed,
// whatever another program did meanwhile.
TEST_F(FirstRowOpen, AListReadBeforeTheKeysReadsThemInTheSamePassAndListsTheSameRows) {
    struct Case {
        const char* meanwhile;
        const char* sql;
    };
    const std::vector<Case> cases = {
        {"nothing", ""},
        {"a day added", "INSERT INTO \"daily settlement of accounts\" (Date) VALUES ('2003/3/3')"},
        {"the first day removed",
         "DELETE FROM \"daily settlement of accounts\" WHERE Date = '2002/2/12'"},
        {"a middle day removed",
         "DELETE FROM \"daily settlement of accounts\" WHERE Date = '2002/2/13'"},
        {"every day removed", "DELETE FROM \"daily settlement of accounts\""},
    };
    auto listed = [](const ledger::TableRows& rows) {
        QStringList out;
        rows.visitRows({"Date"}, [&](int at, const std::vector<QVariant>& values) {
            out << QStringLiteral("%1:%2").arg(at).arg(values.empty() ? QStringLiteral("(gone)")
                                                                      : values[0].toString());
        });
        return out;
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.meanwhile);
        TempDatabase fresh;
        for (const char* day : {"2002/2/12", "2002/2/13", "2002/10/1"})
            fresh.insert(schema::kLedger, {"Date"}, {QString::fromLatin1(day)});
        auto counting =
            std::make_shared<CountingStore>(ledger::openStore(ledger::Connection{fresh.path()}));
        ledger::TableRows listFirst(counting, counting->describe(schema::kLedger));
        ledger::TableRows keysFirst(counting, counting->describe(schema::kLedger));
        if (*c.sql) fresh.exec(c.sql);

        const QStringList fromOnePass = listed(listFirst);
        EXPECT_EQ(counting->everyKeyRead, 0) << "the keys were read apart from the list";
        keysFirst.count();
        EXPECT_EQ(fromOnePass, listed(keysFirst));
        EXPECT_EQ(listFirst.count(), keysFirst.count());
        for (int i = 0; i < keysFirst.count(); ++i)
            EXPECT_EQ(listFirst.keyAt(i), keysFirst.keyAt(i));
        EXPECT_EQ(counting->everyKeyRead, 1);
    }
}

TEST_F(FirstRowOpen, DaysAnotherProgramAddsAfterOpeningComeInAtRefresh) {
    RecordSource shown("Data1");
    FakeField date(shown, "Date");
    openLedger(shown);
    EXPECT_EQ(date.text, "2002/2/12");
    db.insert(schema::kLedger, {"Date"}, {QStringLiteral("2003/3/3")});
    shown.moveLast();
    EXPECT_EQ(date.text, "2002/10/1");
    EXPECT_EQ(shown.rowCount(), 3);
    shown.refresh();
    shown.moveLast();
    EXPECT_EQ(date.text, "2003/3/3");
}

TEST_F(FirstRowOpen, TheFirstDayRemovedByAnotherProgramMeanwhileKeepsItsPlace) {
    RecordSource shown("Data1");
    FakeField date(shown, "Date");
    openLedger(shown);
    db.exec("DELETE FROM \"daily settlement of accounts\" WHERE Date = '2002/2/12'");
    shown.moveNext();
    EXPECT_EQ(date.text, "2002/2/13");
    EXPECT_EQ(shown.currentIndex(), 1);
    shown.moveFirst();  // the removed day, now gone
    EXPECT_EQ(date.text, "");
    EXPECT_EQ(shown.rowCount(), 3);
}

TEST_F(FirstRowOpen, AnEmptyLedgerOpensOnNoRowAndTakesANewDay) {
    db.exec("DELETE FROM \"daily settlement of accounts\"");
    RecordSource shown("Data1");
    FakeField date(shown, "Date");
    openLedger(shown);
    EXPECT_FALSE(shown.hasCurrentRow());
    EXPECT_EQ(shown.rowCount(), 0);
    shown.addNew();
    date.type("2002/1/1");
    shown.refresh();
    EXPECT_EQ(date.text, "2002/1/1");
    EXPECT_EQ(shown.rowCount(), 1);
}

// A saved query's window (the salary window's employee-months) shows its
// first row having read that row alone; a move or a count reads the rest as
// they are then. A query without rows at open stays without; its first row,
// shown, stays when every row went meanwhile.
TEST_F(FirstRowOpen, ASavedQueryReadsItsFirstRowAloneUntilTheRestIsNeeded) {
    auto counting =
        std::make_shared<CountingStore>(ledger::openStore(ledger::Connection{db.path()}));
    auto addWages = [&](int count) {
        for (int i = 1; i <= count; ++i)
            db.insert(schema::kWages, {"Date", "Name"},
                      {QStringLiteral("2002/2/%1").arg(i), QStringLiteral("Member %1").arg(i)});
    };
    auto name = [](const ledger::RowSet& rows, int at) {
        return rows.values(at, {"Name"}).at(0).toString();
    };

    auto none = ledger::openRowSet(counting, schema::kInquiryDetail);
    addWages(12);
    EXPECT_TRUE(none->isEmpty());
    EXPECT_EQ(none->count(), 0);

    counting->rowsScanned = 0;
    auto rows = ledger::openRowSet(counting, schema::kInquiryDetail);
    const QString firstShown = name(*rows, 0);
    EXPECT_EQ(counting->rowsScanned, 1);
    addWages(1);
    QStringList stored;
    for (const auto& row :
         ledger::openRowSet(counting, schema::kInquiryDetail)->rowValues({"Name"}))
        stored << row.at(0).toString();
    counting->rowsScanned = 1;
    EXPECT_EQ(stored.size(), 13);
    EXPECT_EQ(firstShown, stored.front());
    QStringList read;
    for (int i = 0; i < rows->count(); ++i) read << name(*rows, i);
    EXPECT_EQ(read, stored) << "the rest as they are now";
    EXPECT_EQ(counting->rowsScanned, 14);
    rows->reload();
    EXPECT_EQ(counting->rowsScanned, 15);

    db.exec("DELETE FROM \"The staff calculate wages\"");
    EXPECT_EQ(rows->count(), 1);
    EXPECT_EQ(name(*rows, 0), firstShown);
}

}  // namespace
