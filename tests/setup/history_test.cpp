// SPDX-License-Identifier: GPL-3.0-or-later
// The books keep their own history: every row of the shop's tables added,
// changed or removed is recorded, in the same transaction, with when, which
// till and who was logged in, each value changed before and after, every
// value of a row removed (an added row's are the row's own); another
// program's plain SQL too; a password never; and the history goes wherever
// the books go. On a file and on a server.

#include <gtest/gtest.h>

#include <QDate>
#include <QFile>
#include <QTemporaryDir>

#include "accountant/export_history.h"
#include "ledger/base/ledger_error.h"
#include "ledger/calendar/calendar_sql.h"
#include "ledger/schema/schema.h"
#include "ledger/store/store.h"
#include "ledger/store/who_writes.h"
#include "setup/history_upkeep.h"
#include "setup/postgres/ledger_copy.h"
#include "setup/totals_sql.h"
#include "setup/upkeep_at_start.h"
#include "support/earlier_books.h"
#include "support/temp_database.h"

namespace schema = ledger::schema;

namespace {

struct Recorded {
    QString when, till, program, staff, table, date, name, change;
    std::map<QString, std::pair<QVariant, QVariant>> values;  // column: old, new
};

std::vector<Recorded> historyOf(const QString& books) {
    auto store = ledger::openStore({books});
    std::map<qint64, std::map<QString, std::pair<QVariant, QVariant>>> values;
    store->scan(schema::kHistoryValues,
                {QStringLiteral("Change"), QStringLiteral("Column"), QStringLiteral("Old"),
                 QStringLiteral("New")},
                [&](ledger::Store::RowKey, const std::vector<QVariant>& v) {
                    values[qint64(v[0].toDouble())][v[1].toString()] = {v[2], v[3]};
                    return true;
                });
    std::vector<Recorded> out;
    store->scan(schema::kHistory,
                {"When", "Till", "Program", "Staff", "Table", "Date", "Name", "Change"},
                [&](ledger::Store::RowKey key, const std::vector<QVariant>& v) {
                    out.push_back({v[0].toString(), v[1].toString(), v[2].toString(),
                                   v[3].toString(), v[4].toString(), v[5].toString(),
                                   v[6].toString(), v[7].toString(), values[key]});
                    return true;
                });
    return out;
}

QByteArray readFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A figure as the books hold it: a double on a file, its text on a server.
double figure(const QVariant& v) { return v.toDouble(); }

class History : public ::testing::Test {
protected:
    void SetUp() override { ledger::setStaffOnDuty(QStringLiteral("Marta")); }
    void TearDown() override { ledger::setStaffOnDuty(QString()); }
    TempDatabase db;
};

// One row of each recorded table added, changed in one column, removed.
struct KindCase {
    const char* table;
    QStringList columns;
    std::vector<QVariant> added;
    const char* changed;  // the column changed, a figure
    double before, after;
    const char* date;
    const char* name;
};

const KindCase kKinds[] = {
    {"daily settlement of accounts",
     {"Date", "Egg"},
     {"2026/12/9", 91.0},
     "Egg",
     91,
     19,
     "2026/12/9",
     ""},
    {"daily settlement of accounts",
     {"Date", "Soup cup"},
     {"2026/12/9", 4.0},
     "Soup cup",
     4,
     5,
     "2026/12/9",
     ""},
    {"Materials forms of staff",
     {"Name", "Salary hour"},
     {"Lena", 180.0},
     "Salary hour",
     180,
     190,
     "",
     "Lena"},
    {"The staff calculate wages",
     {"Date", "Name", "Main hour"},
     {"2026/12/9", "Lena", 80.0},
     "Main hour",
     80,
     8,
     "2026/12/9",
     "Lena"},
};

TEST_F(History, EachKindOfChangeIsRecordedWithWhoAndWhen) {
    const QString today = QDate::currentDate().toString(Qt::ISODate);
    for (const KindCase& c : kKinds) {
        SCOPED_TRACE(c.table);
        const auto before = historyOf(db.path()).size();
        auto store = ledger::openStore({db.path()});
        const auto key = store->insertRow(c.table, c.columns, c.added);
        ASSERT_TRUE(store->updateRow(c.table, key, {c.changed}, {c.after}, {c.before}));
        store->deleteRow(c.table, key);
        const auto all = historyOf(db.path());
        ASSERT_EQ(all.size(), before + 3);
        const QStringList changes{"added", "changed", "removed"};
        for (int i = 0; i < 3; ++i) {
            const Recorded& r = all[before + i];
            EXPECT_EQ(r.change, changes[i]);
            EXPECT_EQ(r.table, c.table);
            EXPECT_EQ(r.date, c.date);
            EXPECT_EQ(r.name, c.name);
            EXPECT_EQ(r.staff, "Marta");
            EXPECT_EQ(r.till, ledger::tillName());
            EXPECT_EQ(r.program, "tallowbrook");
            EXPECT_TRUE(r.when.startsWith(today)) << r.when.toStdString();
        }
        // Added: no values, the row holds them; changed: the one column,
        // before and after; removed: every value it held, to bring it back
        // from.
        EXPECT_TRUE(all[before].values.empty());
        ASSERT_EQ(all[before + 1].values.size(), 1u);
        const auto& [old, now] = all[before + 1].values.at(c.changed);
        EXPECT_EQ(figure(old), c.before);
        EXPECT_EQ(figure(now), c.after);
        ASSERT_EQ(all[before + 2].values.size(), c.columns.size());
        EXPECT_EQ(figure(all[before + 2].values.at(c.changed).first), c.after);
        EXPECT_TRUE(all[before + 2].values.at(c.changed).second.isNull());
    }
}

TEST_F(History, AnotherProgramsPlainSqlIsRecordedAsAnotherPrograms) {
    const qint64 day = db.insert(schema::kLedger, {"Date", "Egg"}, {"2026/12/9", 91.0});
    // Another program's connection names no till (on a server this test's
    // own connection forgets the name it gave).
    if (db.onServer()) db.exec("SELECT set_config('tallowbrook.till', '', false)");
    db.exec(QStringLiteral("UPDATE \"daily settlement of accounts\" SET Egg = 19 WHERE rowid = %1")
                .arg(day));
    const Recorded r = historyOf(db.path()).back();
    EXPECT_EQ(r.change, "changed");
    EXPECT_TRUE(r.program.startsWith(schema::kAnotherProgram)) << r.program.toStdString();
    EXPECT_EQ(r.staff, "");
    EXPECT_EQ(r.date, "2026/12/9");
    EXPECT_EQ(figure(r.values.at("Egg").first), 91);
    EXPECT_EQ(figure(r.values.at("Egg").second), 19);
}

TEST_F(History, NoPasswordIsEverRecorded) {
    auto store = ledger::openStore({db.path()});
    const auto key = store->insertRow(schema::kStaff, {"Name", "Password"}, {"Lena", "secret-one"});
    ASSERT_TRUE(
        store->updateRow(schema::kStaff, key, {"Password"}, {"secret-two"}, {"secret-one"}));
    store->deleteRow(schema::kStaff, key);
    const auto all = historyOf(db.path());
    ASSERT_GE(all.size(), 2u);
    for (auto r = all.end() - 2; r != all.end(); ++r) {  // changed, removed
        const auto& [old, now] = r->values.at("Password");
        EXPECT_TRUE(old.isNull() || old.toString() == schema::kPasswordChanged);
        EXPECT_TRUE(now.isNull() || now.toString() == schema::kPasswordChanged);
    }
    QByteArray csv;
    accountant::writeHistoryCsv(*store, {}, [&](const QByteArray& r) {
        csv += r;
        return true;
    });
    EXPECT_FALSE(csv.contains("secret")) << csv.toStdString();
    EXPECT_TRUE(csv.contains("password changed"));
}

TEST_F(History, TheAccountantsCsvSaysWhoChangedWhatFromWhatToWhat) {
    auto store = ledger::openStore({db.path()});
    const auto key = store->insertRow(schema::kLedger, {"Date", "Egg"}, {"2026/12/9", 91.0});
    ASSERT_TRUE(store->updateRow(schema::kLedger, key, {"Egg"}, {19.0}, {91.0}));
    QByteArray csv;
    const qint64 written = accountant::writeHistoryCsv(*store, {}, [&](const QByteArray& r) {
        csv += r;
        return true;
    });
    EXPECT_EQ(written, qint64(historyOf(db.path()).size()));
    EXPECT_TRUE(
        csv.contains((",Marta,daily settlement of accounts,2026/12/9,,changed,Egg,91,19\r\n")))
        << csv.toStdString();
    // A range of days that holds none of the changes writes the header alone.
    QByteArray none;
    accountant::writeHistoryCsv(*store, {QDate(2001, 1, 1), QDate(2001, 12, 31)},
                                [&](const QByteArray& r) {
                                    none += r;
                                    return true;
                                });
    EXPECT_EQ(none.count("\r\n"), 1);
}

TEST_F(History, BooksOfAnEarlierVersionGetItAtTheCheckAndSaySo) {
    db.exec("DROP TABLE \"History values\"");
    db.exec("DROP TABLE \"History\"");  // its triggers on a server go with their tables' use
    if (db.onServer())
        for (const QString& table : schema::recordedTables())
            db.exec(QStringLiteral("DROP TRIGGER \"History: a row added, changed or removed\" "
                                   "ON \"%1\"")
                        .arg(table));
    else
        for (const QString& table : schema::recordedTables())
            for (const QString& trigger : schema::historyFileTriggers(table))
                db.exec(QStringLiteral("DROP TRIGGER \"%1\"").arg(trigger));
    EXPECT_EQ(setup::historyNotesAt(db.path()).size(), 1u);
    EXPECT_TRUE(setup::historyNotesAt(db.path()).isEmpty());  // said once
    db.insert(schema::kLedger, {"Date"}, {"2026/12/9"});
    EXPECT_EQ(historyOf(db.path()).size(), 1u);
}

// At the program's start: books this version made are only looked at, books
// of an earlier version get the history, the kept totals and the column
// this version added and say so once, books lacking a table get nothing.
TEST_F(History, AtTheStartOnlyBooksOfAnEarlierVersionGetItAndSaySoOnce) {
    const auto fileBytes = [&] { return db.onServer() ? QByteArray() : readFile(db.path()); };
    const QByteArray asMade = fileBytes();
    EXPECT_TRUE(setup::upkeepAtStart(db.path()).isEmpty());
    EXPECT_EQ(fileBytes(), asMade);

    for (const schema::KeptTotals& kept : schema::keptTotals())
        db.exec(setup::totals_sql::dropKept(db.onServer() ? ledger::calendar::SqlDialect::Postgres
                                                          : ledger::calendar::SqlDialect::Sqlite,
                                            kept));
    makeWageRowsAsEarlierVersions(db);
    const QString said = setup::upkeepAtStart(db.path()).join(u'\n');
    for (const char* note : {"now keep their own history", "month totals are now kept in",
                             "\"Monthly pay\" was added"})
        EXPECT_TRUE(said.contains(QLatin1String(note))) << said.toStdString();
    EXPECT_TRUE(setup::upkeepAtStart(db.path()).isEmpty());
    db.insert(schema::kWages, {"Date", "Name", "Monthly pay"}, {"2026/12/9", "Lena", 24000.0});
    EXPECT_EQ(historyOf(db.path()).size(), 1u);
    EXPECT_EQ(db.scalar("SELECT count(*) FROM \"Wage month totals\"").toInt(), 1);

    dropHistoryTriggers(db);
    db.exec("DROP TABLE \"Select\"");
    EXPECT_TRUE(setup::upkeepAtStart(db.path()).isEmpty());
    EXPECT_FALSE(setup::keepsHistory(db.path()));
}

// Books whose triggers an earlier version made (a stand-in for them records
// an added row's value) get this version's at the start and say so once.
TEST_F(History, TriggersOfAnEarlierVersionAreMadeAnewAtTheStart) {
    const QString earlier = QStringLiteral(
        "INSERT INTO \"History\" (\"Table\", \"Change\") VALUES ('%1', 'added');\n"
        "INSERT INTO \"History values\" (\"Change\", \"Column\", \"New\") VALUES (%2, "
        "'Date', 'x');\n");
    if (db.onServer()) {
        db.exec(
            "CREATE OR REPLACE FUNCTION \"history of a change\"() RETURNS trigger LANGUAGE "
            "plpgsql AS $f$ BEGIN\n" +
            earlier.arg("' || TG_TABLE_NAME || '", "(SELECT max(\"Row key\") FROM \"History\")") +
            "RETURN NULL; END $f$");
    } else {
        const QString added = schema::historyFileTriggers(schema::kLedger).at(0);
        db.exec(QStringLiteral("DROP TRIGGER \"%1\"").arg(added));
        db.exec(QStringLiteral("CREATE TRIGGER \"%1\" AFTER INSERT ON \"%2\" BEGIN\n%3END")
                    .arg(added, schema::kLedger,
                         earlier.arg(schema::kLedger, "(SELECT max(rowid) FROM \"History\")")));
    }
    EXPECT_FALSE(setup::keepsHistory(db.path()));
    const QString said = setup::upkeepAtStart(db.path()).join(u'\n');
    EXPECT_TRUE(said.contains("now records a row added without its values")) << said.toStdString();
    EXPECT_TRUE(setup::upkeepAtStart(db.path()).isEmpty());
    db.insert(schema::kLedger, {"Date"}, {"2026/12/9"});
    const auto all = historyOf(db.path());
    ASSERT_EQ(all.size(), 1u);
    EXPECT_TRUE(all[0].values.empty());
}

// On the server run the books go server -> file -> server -> file, so file
// -> server -> file among them; on a file run file -> file -> file.
TEST_F(History, ACopyCarriesTheHistoryWithItsRows) {
    auto store = ledger::openStore({db.path()});
    const auto gone = store->insertRow(schema::kLedger, {"Date"}, {"2026/12/8"});
    const auto kept = store->insertRow(schema::kLedger, {"Date", "Egg"}, {"2026/12/9", 91.0});
    ASSERT_TRUE(store->updateRow(schema::kLedger, kept, {"Egg"}, {19.0}, {91.0}));
    store->deleteRow(schema::kLedger, gone);
    store.reset();
    const auto held = historyOf(db.path());
    QTemporaryDir dir;
    const QString copy = dir.filePath("copy.mdb"), again = dir.filePath("again.mdb");
    const std::vector<std::pair<QString, QString>> hops =
        db.onServer() ? std::vector<std::pair<QString, QString>>{{db.path(), copy},
                                                                 {copy, db.path()},
                                                                 {db.path(), again}}
                      : std::vector<std::pair<QString, QString>>{{db.path(), copy}, {copy, again}};
    for (const auto& [from, to] : hops) {
        SCOPED_TRACE(to.toStdString());
        setup::copyLedger(from, to, db.onServer() && to == db.path());
        const auto copied = historyOf(to);
        ASSERT_EQ(copied.size(), held.size());  // the copy itself records nothing
        for (size_t i = 0; i < held.size(); ++i) {
            EXPECT_EQ(copied[i].change, held[i].change);
            EXPECT_EQ(copied[i].when, held[i].when);
            EXPECT_EQ(copied[i].staff, held[i].staff);
            EXPECT_EQ(copied[i].values.size(), held[i].values.size());
        }
    }
    // And it goes on recording there.
    auto there = ledger::openStore({again});
    there->insertRow(schema::kLedger, {"Date"}, {"2026/12/10"});
    EXPECT_EQ(historyOf(again).size(), held.size() + 1);
}

}  // namespace
