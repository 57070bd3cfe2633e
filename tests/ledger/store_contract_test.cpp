// SPDX-License-Identifier: GPL-3.0-or-later
// What every store promises, whichever engine stands behind it. These tests
// run on a database file and again on a server (server:...), unchanged: the
// two engines are held to the one contract written in ledger/store/store.h.
// What only one engine can meet (a file replaced on the disk, a server's
// connection lost) is tested beside that engine.

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <atomic>
#include <barrier>
#include <cmath>
#include <cstring>
#include <functional>
#include <limits>
#include <set>
#include <stdexcept>
#include <thread>

#include "ledger/base/ledger_error.h"
#include "ledger/schema/schema.h"
#include "ledger/store/server_address.h"
#include "ledger/store/sqlite/sqlite_statements.h"
#include "ledger/store/store.h"
#include "setup/postgres/server_setup.h"
#include "setup/schema_builder.h"
#include "support/other_till.h"
#include "support/temp_database.h"
#include "support/value_printing.h"

namespace store_contract {
namespace {

namespace schema = ledger::schema;
using ledger::ErrorCode;
using ledger::LedgerError;
using ledger::Store;
using Keys = std::vector<Store::RowKey>;
using Values = std::vector<QVariant>;

const QString kDay = QStringLiteral("2002/11/1");

class StoreContract : public ::testing::Test {
protected:
    // The error number a step ends with, its message kept; 0 when it ends well.
    int errorOf(const std::function<void()>& step) {
        message.clear();
        try {
            step();
        } catch (const LedgerError& e) {
            message = e.message();
            return e.number();
        }
        return 0;
    }

    // A day as another program (or till) stores it.
    qint64 dayStoredElsewhere(const QString& date, const QVariant& rent) const {
        return db.insert(schema::kLedger, {"Date", "Rent"}, {date, rent});
    }

    // Every row of a source as a scan gives it: its key, then its values.
    std::vector<std::pair<Store::RowKey, Values>> everyRow(const QString& source,
                                                           const QStringList& columns) {
        std::vector<std::pair<Store::RowKey, Values>> rows;
        store->scan(source, columns, [&](Store::RowKey key, const Values& values) {
            rows.emplace_back(key, values);
            return true;
        });
        return rows;
    }

    QVariant stored(const QString& table, qint64 key, const QString& column) const {
        return db.scalar(QStringLiteral("SELECT \"%1\" FROM \"%2\" WHERE rowid = %3")
                             .arg(column, table)
                             .arg(key));
    }

    qint64 rowCount(const QString& table) const {
        return db.scalar(QStringLiteral("SELECT count(*) FROM \"%1\"").arg(table)).toLongLong();
    }

    TempDatabase db;
    std::shared_ptr<Store> store = ledger::openStore(ledger::Connection{db.path()});
    QString message;
};

// ------------------------------------------------------------- describe

TEST_F(StoreContract, TheShopsTablesAndSavedQueriesAreDescribedAsTheSchemaNamesThem) {
    for (const schema::Table& table : schema::tables()) {
        SCOPED_TRACE(table.name.toStdString());
        const ledger::SourceInfo info = store->describe(table.name.toUpper());
        EXPECT_EQ(info.name, table.name);
        EXPECT_TRUE(info.isTable);
        EXPECT_TRUE(info.lastingKeys);
        QStringList columns;
        std::vector<bool> amounts;
        for (const schema::Column& c : table.columns) {
            columns << c.name;
            amounts.push_back(c.kind == schema::Kind::Amount);
        }
        EXPECT_EQ(info.columns, columns) << "the row key is never a column";
        EXPECT_EQ(info.isAmount, amounts);
    }
    // Nothing typed is ever stored into a saved query: none of its columns
    // is taken for an amount, whatever the engine knows of its sums.
    for (const schema::SavedQuery& query : schema::savedQueries()) {
        SCOPED_TRACE(query.name.toStdString());
        const ledger::SourceInfo info = store->describe(query.name.toLower());
        EXPECT_EQ(info.name, query.name);
        EXPECT_FALSE(info.isTable);
        EXPECT_FALSE(info.lastingKeys);
        EXPECT_EQ(info.columns, query.columns);
        EXPECT_EQ(info.isAmount, std::vector<bool>(query.columns.size(), false));
    }
}

// A table another program added: its columns are amounts by their declared
// type, a number type of any kind and nothing else.
TEST_F(StoreContract, AnotherProgramsColumnIsAnAmountWhenItsDeclaredTypeIsANumber) {
    db.exec(
        "CREATE TABLE \"Till notes\" (\"Count\" INTEGER, \"Small\" SMALLINT, \"Big\" BIGINT, "
        "\"Weight\" REAL, \"Price\" NUMERIC(10,2), \"Ratio\" DOUBLE PRECISION, \"Note\" TEXT, "
        "\"Code\" VARCHAR(20), \"Done\" BOOLEAN)");
    const struct {
        const char* column;
        bool amount;
    } columns[] = {{"Count", true},  {"Small", true}, {"Big", true},
                   {"Weight", true}, {"Price", true}, {"Ratio", true},
                   {"Note", false},  {"Code", false}, {"Done", false}};
    const ledger::SourceInfo info = store->describe("till NOTES");
    EXPECT_EQ(info.name, "Till notes");
    EXPECT_TRUE(info.isTable);
    EXPECT_FALSE(info.lastingKeys) << "no row key column";
    ASSERT_EQ(info.columns.size(), std::size(columns));
    for (size_t i = 0; i < std::size(columns); ++i) {
        SCOPED_TRACE(columns[i].column);
        EXPECT_EQ(info.columns[static_cast<qsizetype>(i)], columns[i].column);
        EXPECT_EQ(info.isAmount[i], columns[i].amount);
    }
}

TEST_F(StoreContract, TheDescriptionFollowsTheTablesAsAnotherProgramChangesThem) {
    db.exec("CREATE TABLE \"Till notes\" (\"Note\" TEXT, \"Weight\" REAL)");
    EXPECT_EQ(store->describe("Till notes").columns, (QStringList{"Note", "Weight"}));
    db.exec("ALTER TABLE \"Till notes\" ADD COLUMN \"Count\" INTEGER");
    db.exec("ALTER TABLE \"Till notes\" DROP COLUMN \"Note\"");
    const ledger::SourceInfo info = store->describe("Till notes");
    EXPECT_EQ(info.columns, (QStringList{"Weight", "Count"}));
    EXPECT_EQ(info.isAmount, (std::vector<bool>{true, true}));
    db.exec("DROP TABLE \"Till notes\"");
    EXPECT_EQ(errorOf([&] { store->describe("Till notes"); }), int(ErrorCode::UnknownName));
}

// -------------------------------------------------------------- names

TEST_F(StoreContract, NamesAreFoundWithoutRegardToCaseAndUsedAsTheDatabaseSpellsThem) {
    const qint64 key = dayStoredElsewhere(kDay, 100.0);
    const QString ledgerTable = QStringLiteral("DAILY Settlement OF accounts");
    EXPECT_EQ(store->rowKeys(ledgerTable), Keys{key});
    EXPECT_EQ(store->readRow(ledgerTable, key, {"RENT", "date"}), (Values{100.0, kDay}));
    EXPECT_TRUE(store->updateRow(ledgerTable, key, {"rent"}, {150.0}, {"DATE"}, {kDay}));
    EXPECT_EQ(store->addToAmount(ledgerTable, key, "personnel RATE", 5, "DaTe", kDay), 5.0);
    EXPECT_EQ(everyRow(ledgerTable, {"RENT"}).at(0).second, Values{150.0});
    EXPECT_EQ(everyRow("INQUIRY detail", {"NAME"}).size(), 0u);
}

// Every operation of the store, each given `source`, a text column `column`
// and an amount column `amount` of it, by its name.
struct Operation {
    const char* name;
    std::function<void()> step;
};

std::vector<Operation> everyOperationOn(Store& store, const QString& source, const QString& column,
                                        const QString& amount) {
    auto nothing = [](Store::RowKey, const Values&) { return true; };
    const QString text = QStringLiteral("Lin");
    return {
        {"describe", [&store, source] { store.describe(source); }},
        {"rowKeys", [&store, source] { store.rowKeys(source); }},
        {"keyRange", [&store, source] { store.keyRange(source); }},
        {"rowKeysUpTo", [&store, source] { store.rowKeysUpTo(source, 5); }},
        {"removalMark", [&store, source] { store.removalMark(source); }},
        {"rowKeysAbove", [&store, source] { store.rowKeysAbove(source, 0); }},
        {"rowKeysHoldingText",
         [&store, source, column, text] { store.rowKeysHoldingText(source, column, text); }},
        {"readRow", [&store, source, column] { store.readRow(source, 1, {column}); }},
        {"updateRow", [&store, source, column,
                       text] { store.updateRow(source, 1, {column}, {text}, {QVariant()}); }},
        {"insertRow",
         [&store, source, column, text] { store.insertRow(source, {column}, {text}); }},
        {"insertRowUnlessStored",
         [&store, source, column, text] {
             store.insertRowUnlessStored(source, {column}, {text}, column);
         }},
        {"deleteRow", [&store, source] { store.deleteRow(source, 1); }},
        {"addToAmount", [&store, source, column, amount,
                         text] { store.addToAmount(source, 1, amount, 1, column, text); }},
        {"scan", [&store, source, column, nothing] { store.scan(source, {column}, nothing); }},
        {"scanBelow",
         [&store, source, column, nothing] { store.scanBelow(source, 5, {column}, nothing); }},
        {"scanHolding", [&store, source, column,
                         nothing] { store.scanHolding(source, column, {column}, nothing); }},
    };
}

// Every operation, given a name that is no table or saved query.
TEST_F(StoreContract, ANameThatIsNoTableOrQueryIsUnknownToEveryOperation) {
    for (const Operation& o :
         everyOperationOn(*store, QStringLiteral("Breakfast"), "Date", "Rent")) {
        SCOPED_TRACE(o.name);
        EXPECT_EQ(errorOf(o.step), int(ErrorCode::UnknownName)) << message.toStdString();
        EXPECT_TRUE(message.contains("has no table or query named 'Breakfast'"))
            << message.toStdString();
    }
}

// What works on a table's rows, given a saved query: refused, saying so.
// A saved query is described and scanned, and no look-up by text is
// offered on it.
TEST_F(StoreContract, ASavedQueryIsNoTableToWorkOnByKey) {
    const QString query = schema::kInquiryDetail;
    const std::set<std::string> readable{"describe", "scan", "rowKeysHoldingText"};
    for (const Operation& o : everyOperationOn(*store, query, "Name", "Main hour")) {
        if (readable.count(o.name)) continue;
        SCOPED_TRACE(o.name);
        EXPECT_EQ(errorOf(o.step), int(ErrorCode::StoreFailure)) << message.toStdString();
        EXPECT_TRUE(message.contains("'Inquiry detail' is a saved query, not a table"))
            << message.toStdString();
    }
    EXPECT_EQ(store->rowKeysHoldingText(query, "Name", "Lin"), std::nullopt);
    EXPECT_EQ(rowCount(schema::kWages), 0);
}

// Every operation, given a column its source lacks: the column named,
// nothing stored.
TEST_F(StoreContract, AColumnTheSourceLacksIsNamedAndNothingIsStored) {
    const qint64 key = dayStoredElsewhere(kDay, 100.0);
    const QString none = QStringLiteral("Breakfast");
    auto nothing = [](Store::RowKey, const Values&) { return true; };
    const struct {
        const char* operation;
        std::function<void()> step;
    } steps[] = {
        {"readRow",
         [&] {
             store->readRow(schema::kLedger, key, {"Rent", none});
         }},
        {"updateRow: a column stored",
         [&] {
             store->updateRow(schema::kLedger, key, {"Rent", none}, {1.0, 2.0}, {}, {});
         }},
        {"updateRow: a column checked",
         [&] { store->updateRow(schema::kLedger, key, {"Rent"}, {1.0}, {none}, {kDay}); }},
        {"insertRow",
         [&] {
             store->insertRow(schema::kLedger, {"Date", none}, {kDay, QVariant()});
         }},
        {"insertRowUnlessStored: a column stored",
         [&] {
             store->insertRowUnlessStored(schema::kLedger, {"Date", none},
                                          {QStringLiteral("2002/11/2"), QVariant()}, "Date");
         }},
        {"insertRowUnlessStored: the column that must not repeat",
         [&] {
             store->insertRowUnlessStored(schema::kLedger, {"Date"}, {QStringLiteral("2002/11/2")},
                                          none);
         }},
        {"addToAmount: the amount",
         [&] { store->addToAmount(schema::kLedger, key, none, 1, "Date", kDay); }},
        {"addToAmount: the guard",
         [&] { store->addToAmount(schema::kLedger, key, "Rent", 1, none, kDay); }},
        {"scan: a table",
         [&] {
             store->scan(schema::kLedger, {"Rent", none}, nothing);
         }},
        {"scan: a saved query", [&] { store->scan(schema::kInquiryDetail, {none}, nothing); }},
        {"scanBelow", [&] { store->scanBelow(schema::kLedger, key + 1, {none}, nothing); }},
        {"scanHolding: the column held",
         [&] { store->scanHolding(schema::kLedger, none, {"Rent"}, nothing); }},
        {"scanHolding: a column read",
         [&] { store->scanHolding(schema::kLedger, "Rent", {none}, nothing); }},
    };
    for (const auto& s : steps) {
        SCOPED_TRACE(s.operation);
        EXPECT_EQ(errorOf(s.step), int(ErrorCode::StoreFailure)) << message.toStdString();
        EXPECT_TRUE(message.contains(none)) << message.toStdString();
    }
    EXPECT_EQ(rowCount(schema::kLedger), 1);
    EXPECT_EQ(stored(schema::kLedger, key, "Rent"), 100.0);
}

// ------------------------------------------------------------- values

// What goes in comes back: every double bit for bit, texts character for
// character (never read as SQL), an empty text as an empty text, whole
// numbers as numbers.
TEST_F(StoreContract, AValueComesBackAsItWasStored) {
    const struct {
        const char* why;
        const char* column;
        QVariant given;
        QVariant back;
    } cases[] = {
        {"empty", "Rent", QVariant(), QVariant()},
        {"a tenth", "Rent", 0.1, 0.1},
        {"a third", "Rent", 1.0 / 3.0, 1.0 / 3.0},
        {"the largest double", "Rent", std::numeric_limits<double>::max(),
         std::numeric_limits<double>::max()},
        {"the smallest", "Rent", std::numeric_limits<double>::denorm_min(),
         std::numeric_limits<double>::denorm_min()},
        {"tiny and negative", "Rent", -2.5e-300, -2.5e-300},
        {"seventeen digits", "Rent", 123456789.12345679, 123456789.12345679},
        {"a sum's last bit", "Rent", 0.1 + 0.2, 0.1 + 0.2},
        {"a whole number", "Rent", QVariant(qint64(2147483648)), 2147483648.0},
        {"an int", "Rent", QVariant(-7), -7.0},
        {"a whole number as a text", "Date", QVariant(qint64(5)), QStringLiteral("5")},
        {"an empty text", "Date", QStringLiteral(""), QStringLiteral("")},
        {"blanks", "Date", QStringLiteral("  2002/11/1 "), QStringLiteral("  2002/11/1 ")},
        {"quotes and SQL", "Date", QStringLiteral("O'Brien\"; DROP TABLE \"Select\"; -- $1 ?"),
         QStringLiteral("O'Brien\"; DROP TABLE \"Select\"; -- $1 ?")},
        {"other scripts", "Date", QStringLiteral("查詢 – Ünïcödé"),
         QStringLiteral("查詢 – Ünïcödé")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.why);
        const QString column = QString::fromLatin1(c.column);
        const qint64 key = store->insertRow(schema::kLedger, {column}, {c.given});
        const Values back = store->readRow(schema::kLedger, key, {column});
        ASSERT_EQ(back.size(), 1u);
        EXPECT_EQ(back[0].isNull(), c.back.isNull());
        EXPECT_EQ(back[0].typeId(), c.back.typeId());
        if (c.back.typeId() == QMetaType::Double) {
            const double got = back[0].toDouble(), wanted = c.back.toDouble();
            EXPECT_EQ(std::memcmp(&got, &wanted, sizeof got), 0) << "came back as " << got;
        } else {
            EXPECT_EQ(back[0], c.back) << back[0].toString().toStdString();
        }
        // What was read is what the next write expects.
        EXPECT_TRUE(store->updateRow(schema::kLedger, key, {column}, {c.given}, {back[0]}));
        EXPECT_EQ(everyRow(schema::kLedger, {column}).back().second, back);
    }
    EXPECT_EQ(rowCount(schema::kSelect), 2) << "no text ran as SQL";
}

TEST_F(StoreContract, ARowThatIsGoneOrNoColumnsReadNothing) {
    const qint64 key = dayStoredElsewhere(kDay, 100.0);
    EXPECT_EQ(store->readRow(schema::kLedger, key, {}), Values{});
    EXPECT_EQ(store->readRow(schema::kLedger, key + 1, {"Date"}), Values{});
    store->deleteRow(schema::kLedger, key);
    EXPECT_EQ(store->readRow(schema::kLedger, key, {"Date"}), Values{});
}

// ------------------------------------------------------- row identity

TEST_F(StoreContract, KeysAscendAsRowsAreAddedAndAreNeverHandedOutAgain) {
    const qint64 first = store->insertRow(schema::kWages, {"Name"}, {QStringLiteral("Lin")});
    const qint64 second = db.insert(schema::kWages, {"Name"}, {"Wu"});  // another till
    const qint64 third = store->insertRow(schema::kWages, {}, {});
    EXPECT_LT(first, second);
    EXPECT_LT(second, third);
    EXPECT_EQ(store->readRow(schema::kWages, third, {"Name", "Date"}),
              (Values{QVariant(), QVariant()}))
        << "a row added with no values holds nothing";
    // The highest row deleted, by this store and by another program: its key
    // is never handed out again.
    store->deleteRow(schema::kWages, third);
    const qint64 fourth = store->insertRow(schema::kWages, {"Name"}, {QStringLiteral("Chen")});
    db.exec(
        QStringLiteral("DELETE FROM \"The staff calculate wages\" WHERE rowid = %1").arg(fourth));
    const qint64 fifth = store->insertRow(schema::kWages, {"Name"}, {QStringLiteral("Ng")});
    EXPECT_GT(fourth, third);
    EXPECT_GT(fifth, fourth);
    EXPECT_EQ(store->rowKeys(schema::kWages), (Keys{first, second, fifth}));

    const struct {
        const char* why;
        Store::RowKey after;
        Keys keys;
    } above[] = {
        {"from nothing", 0, {first, second, fifth}},
        {"after the first", first, {second, fifth}},
        {"after a deleted key", third, {fifth}},
        {"after the last", fifth, {}},
    };
    for (const auto& a : above) {
        SCOPED_TRACE(a.why);
        EXPECT_EQ(store->rowKeysAbove(schema::kWages, a.after), a.keys);
    }

    EXPECT_EQ(store->keyRange(schema::kWages), std::pair(first, fifth));
    const struct {
        const char* why;
        Store::RowKey highest;
        Keys keys;
    } upTo[] = {
        {"up to the last", fifth, {first, second, fifth}},
        {"up to a deleted key", fourth, {first, second}},
        {"up to the first", first, {first}},
        {"below the first", first - 1, {}},
    };
    for (const auto& u : upTo) {
        SCOPED_TRACE(u.why);
        EXPECT_EQ(store->rowKeysUpTo(schema::kWages, u.highest), u.keys);
    }
    // The highest row deleted: the range ends at the highest still there.
    store->deleteRow(schema::kWages, fifth);
    EXPECT_EQ(store->keyRange(schema::kWages), std::pair(first, second));
    store->deleteRow(schema::kWages, first);
    store->deleteRow(schema::kWages, second);
    EXPECT_EQ(store->keyRange(schema::kWages), std::nullopt) << "no rows, no range";
    EXPECT_EQ(store->rowKeysUpTo(schema::kWages, fifth), Keys{});
}

TEST_F(StoreContract, TheRemovalMarkMovesWithEveryRemovalAndStaysWhileThisStoreOnlyAdds) {
    const qint64 first = dayStoredElsewhere("2002/1/1", 1.0);
    const quint64 start = store->removalMark(schema::kLedger);
    const qint64 second = store->insertRow(schema::kLedger, {"Date"}, {QStringLiteral("2002/1/2")});
    store->insertRow(schema::kLedger, {"Date"}, {QStringLiteral("2002/1/3")});
    EXPECT_EQ(store->removalMark(schema::kLedger), start) << "rows only added here";

    store->deleteRow(schema::kLedger, second);
    const quint64 afterOwn = store->removalMark(schema::kLedger);
    EXPECT_NE(afterOwn, start) << "a row removed here";
    db.exec(
        QStringLiteral("DELETE FROM \"daily settlement of accounts\" WHERE rowid = %1").arg(first));
    EXPECT_NE(store->removalMark(schema::kLedger), afterOwn) << "a row removed elsewhere";
}

TEST_F(StoreContract, RowKeysHoldingTextAreExactlyTheRowsHoldingItCharacterForCharacter) {
    Keys keys;
    for (const char* day : {"2002/2/12", "2002/2/12 ", "2002/02/12", "2002/2/12", "Undated", ""})
        keys.push_back(dayStoredElsewhere(QString::fromLatin1(day), 1.0));
    dayStoredElsewhere("2002/2/12", 2.0);
    store->deleteRow(schema::kLedger, keys.back() + 1);
    db.insert(schema::kLedger, {"Date"}, {QVariant()});  // no day at all: no text, not an empty one
    const struct {
        const char* column;
        const char* text;
        std::optional<Keys> keys;  // nullopt: the store cannot tell exactly
    } cases[] = {
        {"Date", "2002/2/12", Keys{keys[0], keys[3]}},
        {"date", "2002/02/12", Keys{keys[2]}},
        {"Date", "undated", Keys{}},
        {"Date", "", Keys{keys[5]}},
        {"Rent", "1", std::nullopt},       // an amount column holds no text
        {"Breakfast", "1", std::nullopt},  // nor a column that is not there
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.column) + " = '" + c.text + "'");
        EXPECT_EQ(store->rowKeysHoldingText(schema::kLedger, QString::fromLatin1(c.column),
                                            QString::fromLatin1(c.text)),
                  c.keys);
    }
}

// ----------------------------------------------------------- updateRow

// A row as a window read it: its day, a figure and an empty figure; then
// what another program did before this store writes.
struct UpdateCase {
    const char* why;
    const char* elsewhere;  // SQL another program runs first, or nullptr
    QStringList columns;
    Values values;
    QStringList checked;
    Values expected;
    bool stored;
    QVariant rentAfter;
};

void PrintTo(const UpdateCase& c, std::ostream* os) { *os << c.why; }

class UpdateRow : public StoreContract, public ::testing::WithParamInterface<UpdateCase> {};

TEST_P(UpdateRow, StoresOnlyWhileTheCheckedColumnsHoldWhatWasRead) {
    const UpdateCase& c = GetParam();
    const qint64 key =
        db.insert(schema::kLedger, {"Date", "Rent", "Egg"}, {kDay, 100.0, QVariant()});
    const qint64 neighbour = dayStoredElsewhere("2002/11/2", 100.0);
    if (c.elsewhere)
        db.exec(QString::fromUtf8(c.elsewhere).arg(ledger::quoteName(schema::kLedger)));
    EXPECT_EQ(store->updateRow(schema::kLedger, key, c.columns, c.values, c.checked, c.expected),
              c.stored);
    EXPECT_EQ(stored(schema::kLedger, key, "Rent"), c.rentAfter);
    EXPECT_EQ(stored(schema::kLedger, neighbour, "Rent"), 100.0) << "no other row touched";
}

const QString kRent = QStringLiteral("Rent"), kDate = QStringLiteral("Date");

INSTANTIATE_TEST_SUITE_P(
    Conflicts, UpdateRow,
    ::testing::Values(UpdateCase{"the row as it was read: stored",
                                 nullptr,
                                 {kRent},
                                 {111.0},
                                 {kRent, kDate},
                                 {100.0, kDay},
                                 true,
                                 111.0},
                      UpdateCase{"names in any case",
                                 nullptr,
                                 {"RENT"},
                                 {111.0},
                                 {"rent", "DATE"},
                                 {100.0, kDay},
                                 true,
                                 111.0},
                      UpdateCase{"a figure another program changed",
                                 "UPDATE %1 SET Rent = 105 WHERE Date = '2002/11/1'",
                                 {kRent},
                                 {111.0},
                                 {kRent, kDate},
                                 {100.0, kDay},
                                 false,
                                 105.0},
                      UpdateCase{"the very figure another program stored is still not the one read",
                                 "UPDATE %1 SET Rent = 111 WHERE Date = '2002/11/1'",
                                 {kRent},
                                 {111.0},
                                 {kRent},
                                 {100.0},
                                 false,
                                 111.0},
                      UpdateCase{"a figure another program emptied",
                                 "UPDATE %1 SET Rent = NULL WHERE Date = '2002/11/1'",
                                 {kRent},
                                 {111.0},
                                 {kRent},
                                 {100.0},
                                 false,
                                 QVariant()},
                      UpdateCase{"an empty figure read as empty",
                                 nullptr,
                                 {"Egg", kRent},
                                 {5.0, 111.0},
                                 {"Egg", kRent},
                                 {QVariant(), 100.0},
                                 true,
                                 111.0},
                      UpdateCase{"an empty figure another program filled with nought",
                                 "UPDATE %1 SET Egg = 0 WHERE Date = '2002/11/1'",
                                 {"Egg", kRent},
                                 {5.0, 111.0},
                                 {"Egg", kRent},
                                 {QVariant(), 100.0},
                                 false,
                                 100.0},
                      UpdateCase{"a row that now holds another day",
                                 "UPDATE %1 SET Date = '2002/11/5' WHERE Date = '2002/11/1'",
                                 {kRent},
                                 {111.0},
                                 {kRent, kDate},
                                 {100.0, kDay},
                                 false,
                                 100.0},
                      UpdateCase{"a day compared character for character",
                                 nullptr,
                                 {kRent},
                                 {111.0},
                                 {kRent, kDate},
                                 {100.0, QStringLiteral("2002/11/01")},
                                 false,
                                 100.0},
                      UpdateCase{"a deleted row",
                                 "DELETE FROM %1 WHERE Date = '2002/11/1'",
                                 {kRent},
                                 {111.0},
                                 {kRent},
                                 {100.0},
                                 false,
                                 QVariant()},
                      UpdateCase{"nothing to store: the row still there holding its day",
                                 nullptr,
                                 {},
                                 {},
                                 {kDate},
                                 {kDay},
                                 true,
                                 100.0},
                      UpdateCase{"nothing to store: the row holding another day",
                                 "UPDATE %1 SET Date = '2002/11/5' WHERE Date = '2002/11/1'",
                                 {},
                                 {},
                                 {kDate},
                                 {kDay},
                                 false,
                                 100.0},
                      UpdateCase{"nothing to store, nothing checked: the row still there",
                                 nullptr,
                                 {},
                                 {},
                                 {},
                                 {},
                                 true,
                                 100.0},
                      UpdateCase{"nothing to store: the row deleted",
                                 "DELETE FROM %1 WHERE Date = '2002/11/1'",
                                 {},
                                 {},
                                 {},
                                 {},
                                 false,
                                 QVariant()}));

// ----------------------------------------------------- insert and delete

TEST_F(StoreContract, DeletingTakesThatRowAloneAndARowAlreadyGoneIsNoError) {
    const qint64 first = dayStoredElsewhere("2002/11/1", 1.0);
    const qint64 second = dayStoredElsewhere("2002/11/2", 2.0);
    store->deleteRow(schema::kLedger, first);
    EXPECT_EQ(errorOf([&] { store->deleteRow(schema::kLedger, first); }), 0)
        << message.toStdString();
    EXPECT_EQ(errorOf([&] { store->deleteRow(schema::kLedger, second + 100); }), 0);
    EXPECT_EQ(store->rowKeys(schema::kLedger), Keys{second});
    EXPECT_EQ(stored(schema::kLedger, second, "Rent"), 2.0);
}

// -------------------------------------------------------- addToAmount

struct AdditionCase {
    const char* why;
    QVariant date;  // the day the row holds
    QVariant guard;
    bool rowThere;
    std::optional<double> now;
};

void PrintTo(const AdditionCase& c, std::ostream* os) { *os << c.why; }

class AddToAmount : public StoreContract, public ::testing::WithParamInterface<AdditionCase> {};

TEST_P(AddToAmount, AddsOnlyWhileTheGuardHoldsAndSaysWhatIsStoredNow) {
    const AdditionCase& c = GetParam();
    const qint64 key = db.insert(schema::kLedger, {"Date", "Personnel rate"}, {c.date, 40.0});
    if (!c.rowThere) store->deleteRow(schema::kLedger, key);
    EXPECT_EQ(store->addToAmount(schema::kLedger, key, "Personnel rate", 2.5, "Date", c.guard),
              c.now);
    if (c.rowThere) {
        EXPECT_EQ(stored(schema::kLedger, key, "Personnel rate"), c.now.value_or(40.0));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Guards, AddToAmount,
    ::testing::Values(
        AdditionCase{"the day as read", kDay, kDay, true, 42.5},
        AdditionCase{"another day", kDay, QStringLiteral("2002/11/01"), true, std::nullopt},
        AdditionCase{"an empty day guarded as empty", QVariant(), QVariant(), true, 42.5},
        AdditionCase{"an empty day is no day", QVariant(), QStringLiteral(""), true, std::nullopt},
        AdditionCase{"a day where an empty one was read", kDay, QVariant(), true, std::nullopt},
        AdditionCase{"a row that is gone", kDay, kDay, false, std::nullopt}));

// ------------------------------------------- a value that must not repeat

// The ledger holds these days (and a day of Rent 5 on 2002/12/9); a new row
// is stored unless a row holds its value of the column that must not
// repeat, exactly.
struct RepeatCase {
    const char* why;
    QStringList columns;
    Values values;
    const char* column;  // must not repeat
    const char* shown;   // the value as the refusal names it; nullptr: stored
};

void PrintTo(const RepeatCase& c, std::ostream* os) { *os << c.why; }

class InsertUnlessStored : public StoreContract,
                           public ::testing::WithParamInterface<RepeatCase> {};

TEST_P(InsertUnlessStored, StoresTheRowOnlyWhenNoRowHoldsItsValueAlready) {
    const RepeatCase& c = GetParam();
    for (const QVariant& day : {QVariant("2002/12/1"), QVariant("2002/12/2 "), QVariant("Undated"),
                                QVariant(""), QVariant()})
        db.insert(schema::kLedger, {"Date", "Rent"}, {day, 1.0});
    db.insert(schema::kLedger, {"Date", "Rent"}, {"2002/12/9", 5.0});
    const Keys before = store->rowKeys(schema::kLedger);
    Store::RowKey key = 0;
    const int error = errorOf([&] {
        key = store->insertRowUnlessStored(schema::kLedger, c.columns, c.values,
                                           QString::fromLatin1(c.column));
    });
    if (c.shown) {
        EXPECT_EQ(error, int(ErrorCode::AlreadyStored)) << message.toStdString();
        const ledger::SourceInfo info = store->describe(schema::kLedger);
        const QString named = info.columns[info.indexOf(QString::fromLatin1(c.column))];
        EXPECT_TRUE(message.contains(
            QStringLiteral("'daily settlement of accounts' already holds a row whose %1 is \"%2\"")
                .arg(named, QString::fromUtf8(c.shown))))
            << message.toStdString();
        EXPECT_EQ(store->rowKeys(schema::kLedger), before) << "nothing stored";
        return;
    }
    ASSERT_EQ(error, 0) << message.toStdString();
    EXPECT_GT(key, before.back());
    EXPECT_EQ(store->rowKeys(schema::kLedger).size(), before.size() + 1);
    EXPECT_EQ(store->readRow(schema::kLedger, key, c.columns), c.values);
}

INSTANTIATE_TEST_SUITE_P(
    Values, InsertUnlessStored,
    ::testing::Values(
        RepeatCase{"a date stored", {"Date", "Rent"}, {"2002/12/1", 7.0}, "Date", "2002/12/1"},
        RepeatCase{"names in any case", {"DATE"}, {"2002/12/1"}, "date", "2002/12/1"},
        RepeatCase{"another date", {"Date"}, {"2002/12/3"}, "Date", nullptr},
        RepeatCase{"a blank before", {"Date"}, {" 2002/12/1"}, "Date", nullptr},
        RepeatCase{"a blank after", {"Date"}, {"2002/12/1 "}, "Date", nullptr},
        RepeatCase{"a stored blank after", {"Date"}, {"2002/12/2 "}, "Date", "2002/12/2 "},
        RepeatCase{"without the stored blank", {"Date"}, {"2002/12/2"}, "Date", nullptr},
        RepeatCase{"a leading zero", {"Date"}, {"2002/12/01"}, "Date", nullptr},
        RepeatCase{"the stored letters", {"Date"}, {"Undated"}, "Date", "Undated"},
        RepeatCase{"letters in another case", {"Date"}, {"UNDATED"}, "Date", nullptr},
        RepeatCase{"an empty text stored", {"Date"}, {""}, "Date", ""},
        RepeatCase{"nothing, where a row holds nothing",
                   {"Date", "Rent"},
                   {QVariant(), 7.0},
                   "Date",
                   nullptr},
        RepeatCase{"the column not among the row's", {"Rent"}, {7.0}, "Date", nullptr},
        RepeatCase{"quotes and SQL",
                   {"Date"},
                   {"O'Brien\"; DROP TABLE \"Select\"; -- $1 ?"},
                   "Date",
                   nullptr},
        RepeatCase{"a figure stored", {"Rent", "Date"}, {5.0, "2002/12/10"}, "Rent", "5"},
        RepeatCase{"another figure", {"Rent"}, {5.5}, "Rent", nullptr}));

// Two tills storing the same new day at the same moment, round after round:
// each date ends up stored once, one till told so each time. `till` is what
// each of them does with a date, on its own connection.
class TwoTillsAtOnce : public StoreContract {
protected:
    static constexpr int kRounds = 60;
    static QString dateOfRound(int round) { return QStringLiteral("2003/%1/1").arg(round); }

    void expectEveryDateStoredOnce() {
        const auto repeated = db.query(
            "SELECT Date, count(*) FROM \"daily settlement of accounts\" GROUP BY Date "
            "HAVING count(*) <> 1");
        EXPECT_TRUE(repeated.empty()) << repeated.size() << " dates stored twice, among them "
                                      << repeated.front().front().toString().toStdString();
        EXPECT_EQ(rowCount(schema::kLedger), kRounds);
    }
};

TEST_F(TwoTillsAtOnce, TwoProgramsStoringTheSameNewDayStoreItOnce) {
    OtherTill first(QStringLiteral(DAY_PROBE_PATH), db.path());
    OtherTill second(QStringLiteral(DAY_PROBE_PATH), db.path());
    QStringList answers;
    for (int round = 1; round <= kRounds; ++round) {
        // Sent together, so both look for the date at about the same time.
        first.send(dateOfRound(round));
        second.send(dateOfRound(round));
        QStringList both{first.answer(), second.answer()};
        both.sort();
        answers << both.join(QLatin1Char('+'));
    }
    EXPECT_EQ(answers.count("refused+stored"), kRounds) << answers.join(", ").toStdString();
    expectEveryDateStoredOnce();
}

TEST_F(TwoTillsAtOnce, TwoConnectionsOfOneProgramStoringTheSameNewDayStoreItOnce) {
    if (!db.onServer()) GTEST_SKIP() << "a program has one connection to a file";
    // Each till on a connection of its own: the address names the till.
    std::shared_ptr<Store> tills[] = {
        ledger::openStore(ledger::Connection{db.path() + "&application_name=race_first"}),
        ledger::openStore(ledger::Connection{db.path() + "&application_name=race_second"})};
    ASSERT_NE(tills[0], tills[1]);
    for (auto& till : tills) till->rowKeys(schema::kLedger);
    std::barrier start(2);
    std::atomic<int> stored = 0, refused = 0;
    QStringList failures[2];
    auto run = [&](int which) {
        for (int round = 1; round <= kRounds; ++round) {
            start.arrive_and_wait();  // both look for the date at once
            try {
                tills[which]->insertRowUnlessStored(schema::kLedger, {"Date"}, {dateOfRound(round)},
                                                    "Date");
                ++stored;
            } catch (const LedgerError& e) {
                if (e.code() == ErrorCode::AlreadyStored)
                    ++refused;
                else
                    failures[which] << e.message();
            }
        }
    };
    std::thread other(run, 1);
    run(0);
    other.join();
    EXPECT_TRUE(failures[0].isEmpty() && failures[1].isEmpty())
        << (failures[0] + failures[1]).join("\n").toStdString();
    EXPECT_EQ(stored, kRounds);
    EXPECT_EQ(refused, kRounds);
    expectEveryDateStoredOnce();
}

// --------------------------------------------------- books made anew

// The books copied or restored over the ones this store has open, their
// first day the very same as before: only the store's own check keeps a
// write out of them.
TEST_F(StoreContract, BooksMadeAnewTakeNoWriteOfAnyKindAndSaySo) {
    for (const char* day : {"2002/11/1", "2002/11/2", "2002/11/3"})
        dayStoredElsewhere(QString::fromLatin1(day), 100.0);
    const Keys keys = store->rowKeys(schema::kLedger);
    ASSERT_EQ(keys.size(), 3u);

    QTemporaryDir other;
    if (db.onServer()) {
        setup::createServerSchema(db.path(), false, true);
        dayStoredElsewhere(kDay, 100.0);
    } else {
        const QString path = other.filePath(QStringLiteral("other.mdb"));
        setup::writeDatabaseFile(path, false, true);
        {
            ledger::statements::Connection file(path);
            ledger::statements::run(file.handle(),
                                    "INSERT INTO \"daily settlement of accounts\" (Date, Rent) "
                                    "VALUES ('2002/11/1', 100)",
                                    "test");
            file.close();
        }
        // Written into the books' own file, as a copy over it writes.
        QFile source(path), target(db.path());
        ASSERT_TRUE(source.open(QIODevice::ReadOnly));
        ASSERT_TRUE(target.open(QIODevice::ReadWrite));
        ASSERT_TRUE(target.resize(0));
        ASSERT_EQ(target.write(source.readAll()), source.size());
    }

    const struct {
        const char* operation;
        std::function<void()> step;
    } writes[] = {
        {"updateRow",
         [&] {
             store->updateRow(schema::kLedger, keys[0], {kRent}, {111.0}, {kRent, kDate},
                              {100.0, kDay});
         }},
        {"updateRow with nothing to store",
         [&] { store->updateRow(schema::kLedger, keys[0], {}, {}, {kDate}, {kDay}); }},
        {"insertRow",
         [&] { store->insertRow(schema::kLedger, {kDate}, {QStringLiteral("2002/11/4")}); }},
        {"insertRowUnlessStored",
         [&] {
             store->insertRowUnlessStored(schema::kLedger, {kDate}, {QStringLiteral("2002/11/4")},
                                          kDate);
         }},
        {"insertRowUnlessStored of a day the new books hold",
         [&] { store->insertRowUnlessStored(schema::kLedger, {kDate}, {kDay}, kDate); }},
        {"deleteRow", [&] { store->deleteRow(schema::kLedger, keys[0]); }},
        {"addToAmount",
         [&] { store->addToAmount(schema::kLedger, keys[0], kRent, 11.0, kDate, kDay); }},
    };
    for (const auto& w : writes) {
        SCOPED_TRACE(w.operation);
        EXPECT_EQ(errorOf(w.step), int(ErrorCode::FileReplaced)) << message.toStdString();
        EXPECT_TRUE(message.contains("made anew")) << message.toStdString();
    }
    EXPECT_EQ(db.query("SELECT Date, Rent FROM \"daily settlement of accounts\""),
              (std::vector<Values>{{kDay, 100.0}}))
        << "the new books as they were made";
}

// A file another program holds locked: every kind of write waits a while,
// then says so in the shop's words; nothing is stored. (A server waits for
// its row locks instead, tested beside the server.)
TEST_F(StoreContract, AFileLockedByAnotherProgramIsSaidToBeInUse) {
    SKIP_ON_SERVER("a file's lock");
    const qint64 day = dayStoredElsewhere(kDay, 100.0);
    store->rowKeys(schema::kLedger);
    ledger::statements::Connection other(db.path());
    ledger::statements::run(other.handle(), "BEGIN EXCLUSIVE", "another program's write");
    EXPECT_EQ(errorOf([&] {
                  store->updateRow(schema::kLedger, day, {kRent}, {111.0}, {kRent}, {100.0});
              }),
              int(ErrorCode::StoreFailure));
    EXPECT_TRUE(message.contains("is in use by another program; try again in a moment"))
        << message.toStdString();
    ledger::statements::run(other.handle(), "ROLLBACK", "another program's write");
    EXPECT_EQ(stored(schema::kLedger, day, "Rent"), 100.0);
}

// ------------------------------------------------------ transactions

TEST_F(StoreContract, ATransactionStoresAllOrNothingAndPassesAFailureOnAsItIs) {
    const qint64 day = dayStoredElsewhere(kDay, 100.0);
    int seen = 0;
    try {
        store->inTransaction([&] {
            store->insertRow(schema::kWages, {"Name"}, {QStringLiteral("Lin")});
            store->addToAmount(schema::kLedger, day, kRent, 10, kDate, kDay);
            // What is stored inside is read inside.
            seen = static_cast<int>(store->rowKeys(schema::kWages).size());
            throw std::out_of_range("the till's own failure");
        });
        ADD_FAILURE() << "no failure came out";
    } catch (const std::out_of_range& e) {
        EXPECT_STREQ(e.what(), "the till's own failure");
    }
    EXPECT_EQ(seen, 1);
    EXPECT_EQ(rowCount(schema::kWages), 0);
    EXPECT_EQ(stored(schema::kLedger, day, "Rent"), 100.0);

    EXPECT_EQ(store->inTransaction([&] {
        store->insertRow(schema::kWages, {"Name"}, {QStringLiteral("Lin")});
        store->addToAmount(schema::kLedger, day, kRent, 10, kDate, kDay);
    }),
              Store::Outcome::Stored);
    EXPECT_EQ(rowCount(schema::kWages), 1);
    EXPECT_EQ(stored(schema::kLedger, day, "Rent"), 110.0);
}

// An attempt's name matters only after a commit in doubt: one that was
// stored is not taken for stored the next time.
TEST_F(StoreContract, AnAttemptStoredOnceRunsAgainWhenAskedAgain) {
    int runs = 0;
    auto work = [&] {
        ++runs;
        store->insertRow(schema::kWages, {"Name"}, {QStringLiteral("Lin")});
    };
    EXPECT_EQ(store->inTransaction(work, "wage-1"), Store::Outcome::Stored);
    EXPECT_EQ(store->inTransaction(work, "wage-1"), Store::Outcome::Stored);
    EXPECT_EQ(runs, 2);
    EXPECT_EQ(rowCount(schema::kWages), 2);
}

// -------------------------------------------------------------- scans

TEST_F(StoreContract, ATableIsScannedInKeyOrderAndASavedQueryNumberedFromNought) {
    const qint64 a =
        db.insert(schema::kWages, {"Date", "Name", "Main hour"}, {"2002/11/2", "Wu", 8.0});
    const qint64 b = store->insertRow(schema::kWages, {"Date", "Name", "Main hour"},
                                      {QStringLiteral("2002/11/1"), QStringLiteral("Lin"), 7.5});
    const qint64 c = db.insert(schema::kWages, {"Date", "Name"}, {"2002/11/3", "Chen"});
    store->deleteRow(schema::kWages, b);
    const qint64 d = store->insertRow(schema::kWages, {"Name"}, {QStringLiteral("Ng")});
    using Rows = std::vector<std::pair<Store::RowKey, Values>>;
    EXPECT_EQ(everyRow(schema::kWages, {"Name", "MAIN hour"}),
              (Rows{{a, {"Wu", 8.0}}, {c, {"Chen", QVariant()}}, {d, {"Ng", QVariant()}}}));
    EXPECT_EQ(everyRow(schema::kWages, {}), (Rows{{a, {}}, {c, {}}, {d, {}}})) << "keys alone";
    // Only the rows holding a value there; a nought is a value.
    const qint64 e =
        store->insertRow(schema::kWages, {"Name", "Main hour"}, {QStringLiteral("Ho"), 0.0});
    Rows holding;
    store->scanHolding(schema::kWages, "main HOUR", {"Name"},
                       [&](Store::RowKey key, const Values& v) {
                           holding.emplace_back(key, v);
                           return true;
                       });
    EXPECT_EQ(holding, (Rows{{a, {"Wu"}}, {e, {"Ho"}}}));
    store->deleteRow(schema::kWages, e);

    const Rows detail = everyRow(schema::kInquiryDetail, {"Name"});
    ASSERT_EQ(detail.size(), 3u);
    for (size_t i = 0; i < detail.size(); ++i) EXPECT_EQ(detail[i].first, qint64(i));

    const struct {
        const char* why;
        Store::RowKey below;
        Keys keys;
    } cases[] = {
        {"below every key", d + 1, {d, c, a}},
        {"below the last", d, {c, a}},
        {"below a deleted key", b, {a}},
        {"below the first", a, {}},
    };
    for (const auto& s : cases) {
        SCOPED_TRACE(s.why);
        Keys seen;
        store->scanBelow(schema::kWages, s.below, {"Name"},
                         [&](Store::RowKey key, const Values& v) {
                             EXPECT_EQ(v.size(), 1u);
                             seen.push_back(key);
                             return true;
                         });
        EXPECT_EQ(seen, s.keys);
    }
}

// A visitor's false ends the scan there, and its failure passes out of it;
// either way the store goes on working at once.
TEST_F(StoreContract, AScanEndsWhereItsVisitorSaysAndTheStoreGoesOnWorking) {
    for (int i = 1; i <= 40; ++i)
        store->insertRow(schema::kWages, {"Name", "Main hour"},
                         {QStringLiteral("Member %1").arg(i), double(i)});
    const Keys keys = store->rowKeys(schema::kWages);
    using Scan = std::function<void(const Store::RowVisitor&)>;
    const struct {
        const char* why;
        Scan scan;
    } scans[] = {
        {"a table", [&](const auto& visit) { store->scan(schema::kWages, {"Name"}, visit); }},
        {"a saved query",
         [&](const auto& visit) { store->scan(schema::kInquiryDetail, {"Name"}, visit); }},
        {"below a key",
         [&](const auto& visit) {
             store->scanBelow(schema::kWages, keys.back() + 1, {"Name"}, visit);
         }},
    };
    for (const auto& s : scans) {
        SCOPED_TRACE(s.why);
        int visited = 0;
        s.scan([&](Store::RowKey, const Values&) { return ++visited < 3; });
        EXPECT_EQ(visited, 3);
        EXPECT_EQ(store->rowKeys(schema::kWages), keys) << "the store works after a stop";

        visited = 0;
        EXPECT_EQ(errorOf([&] {
                      s.scan([&](Store::RowKey, const Values&) -> bool {
                          if (++visited == 2) ledger::fail(ErrorCode::Overflow, "too large");
                          return true;
                      });
                  }),
                  int(ErrorCode::Overflow));
        EXPECT_EQ(visited, 2);
        EXPECT_GT(store->insertRow(schema::kSelect, {}, {}), 0)
            << "the store works after a failure";

        visited = 0;
        s.scan([&](Store::RowKey, const Values&) { return ++visited > 0; });
        EXPECT_EQ(visited, 40) << "and scans whole again";
    }
}

// ------------------------------------------------- the books themselves

TEST_F(StoreContract, OneStorePerBooksNamedAsMessagesNameThem) {
    EXPECT_EQ(ledger::openStore(ledger::Connection{db.path()}), store);
    const QString shown =
        db.onServer() ? ledger::displayName(db.path()) : QFileInfo(db.path()).canonicalFilePath();
    EXPECT_EQ(store->path(), shown);
}

TEST_F(StoreContract, BooksThatAreNotThereAreSaidToBeMissing) {
    QTemporaryDir empty;
    QString missing = empty.filePath(QStringLiteral("breakfast.mdb"));
    if (db.onServer()) {  // the same server, a database it does not have
        missing = db.path();
        const qsizetype query = missing.indexOf(QLatin1Char('?'));
        const qsizetype slash = missing.lastIndexOf(QLatin1Char('/'), query);
        missing.replace(slash + 1, query - slash - 1, QStringLiteral("tallowbrook_no_such_books"));
    }
    EXPECT_EQ(errorOf([&] { ledger::openStore(ledger::Connection{missing}); }),
              int(ErrorCode::FileNotFound))
        << message.toStdString();
    EXPECT_FALSE(QFileInfo::exists(empty.filePath(QStringLiteral("breakfast.mdb"))))
        << "nothing made";
}

// A folder where the books should be: said as books that cannot be opened,
// naming them; nothing made.
TEST_F(StoreContract, BooksThatCannotBeOpenedAreSaidSo) {
    SKIP_ON_SERVER("a file on the disk");
    QTemporaryDir folder;
    const QString books = folder.filePath(QStringLiteral("breakfast.mdb"));
    ASSERT_TRUE(QDir().mkdir(books));
    EXPECT_EQ(errorOf([&] { ledger::openStore(ledger::Connection{books}); }),
              int(ErrorCode::StoreFailure));
    EXPECT_TRUE(message.startsWith(QStringLiteral("Cannot open the database file '%1'").arg(books)))
        << message.toStdString();
}

// ------------------------------------- the same promises, case by case

TEST_F(StoreContract, DoublesComeBackBitForBitAndGuardTheirOwnUpdate) {
    const double values[] = {0.1,
                             1.0 / 3.0,
                             -2.5e-300,
                             123456789.12345679,
                             std::numeric_limits<double>::max(),
                             std::numeric_limits<double>::denorm_min(),
                             0.30000000000000004};
    const qint64 key = store->insertRow(schema::kLedger, {"Date"}, {QStringLiteral("2002/1/1")});
    QVariant previous;  // empty at first
    for (double v : values) {
        SCOPED_TRACE(v);
        ASSERT_TRUE(store->updateRow(schema::kLedger, key, {"Rent"}, {v}, {previous}));
        const double back = store->readRow(schema::kLedger, key, {"Rent"}).at(0).toDouble();
        EXPECT_EQ(std::memcmp(&back, &v, sizeof v), 0) << "came back as " << back;
        // The value read is the one the next update expects: any other is a
        // change made elsewhere.
        EXPECT_FALSE(
            store->updateRow(schema::kLedger, key, {"Rent"}, {1.0}, {std::nextafter(v, 0.0)}));
        previous = v;
    }
}

TEST_F(StoreContract, NamesResolveWithoutRegardToCaseAndUnknownNamesSayWhich) {
    db.insert(schema::kLedger, {"Date", "Rent"}, {"2002/11/5", 100.0});
    const auto keys = store->rowKeys("DAILY Settlement OF accounts");
    ASSERT_EQ(keys.size(), 1u);
    EXPECT_EQ(store->readRow("daily settlement of accounts", keys[0], {"RENT", "date"}),
              (std::vector<QVariant>{100.0, QStringLiteral("2002/11/5")}));
    EXPECT_EQ(store->describe("inquiry DETAIL").name, schema::kInquiryDetail);
    try {
        store->describe("Breakfast");
        FAIL();
    } catch (const LedgerError& e) {
        EXPECT_EQ(e.code(), ErrorCode::UnknownName);
        EXPECT_TRUE(e.message().contains("has no table or query named 'Breakfast'"));
    }
}

TEST_F(StoreContract, ADayIsLookedUpByItsTextCharacterForCharacter) {
    std::vector<qint64> keys;
    for (const char* day : {"2002/2/12", "2002/2/12 ", "2002/02/12", "2002/2/12", "Undated"})
        keys.push_back(db.insert(schema::kLedger, {"Date"}, {QString::fromLatin1(day)}));
    EXPECT_EQ(store->rowKeysHoldingText(schema::kLedger, "date", "2002/2/12"),
              (std::vector<qint64>{keys[0], keys[3]}));
    EXPECT_EQ(store->rowKeysHoldingText(schema::kLedger, "Date", "undated"), std::vector<qint64>{});
    EXPECT_EQ(store->rowKeysHoldingText(schema::kLedger, "Rent", "2002/2/12"), std::nullopt)
        << "an amount column holds no text";
}

TEST_F(StoreContract, KeysAreNeverHandedOutTwice) {
    const qint64 first = store->insertRow(schema::kWages, {"Name"}, {QStringLiteral("Lin")});
    const qint64 second = store->insertRow(schema::kWages, {"Name"}, {QStringLiteral("Wu")});
    store->deleteRow(schema::kWages, second);
    const qint64 third = store->insertRow(schema::kWages, {}, {});
    EXPECT_LT(first, second);
    EXPECT_GT(third, second);
    EXPECT_TRUE(store->readRow(schema::kWages, second, {"Name"}).empty());
    // An update with nothing to store tells whether the row is still there.
    EXPECT_TRUE(store->updateRow(schema::kWages, third, {}, {}, {}));
    EXPECT_FALSE(store->updateRow(schema::kWages, second, {}, {}, {}));
}

TEST_F(StoreContract, TextIsStoredAsTypedNeverAsSql) {
    const QString typed = QStringLiteral("O'Brien\"; DROP TABLE \"Select\"; -- 查詢 $1");
    const qint64 key = store->insertRow(schema::kStaff, {"Name"}, {typed});
    EXPECT_EQ(store->readRow(schema::kStaff, key, {"Name"}).at(0).toString(), typed);
    EXPECT_EQ(db.scalar("SELECT count(*) FROM \"Select\"").toInt(), 2);
}

}  // namespace
}  // namespace store_contract
