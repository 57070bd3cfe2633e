// SPDX-License-Identifier: GPL-3.0-or-later
// The database file the program expects: tables, choice lists and saved
// queries exactly as the windows name them, and what the saved queries
// compute from real rows. Expected names are written out here on purpose,
// not taken from the program's own list, so a typo there shows up.

#include <gtest/gtest.h>

#include <QStringList>
#include <algorithm>
#include <memory>

#include "ledger/base/ledger_error.h"
#include "ledger/store/sqlite/sqlite_statements.h"
#include "setup/schema_builder.h"
#include "support/temp_database.h"

namespace {

const QString kLedger = "daily settlement of accounts";
const QString kStaff = "Materials forms of staff";
const QString kWages = "The staff calculate wages";
const QString kMonthTotals = "daily settlement of accounts -Inquiry";
const QString kMonthWages = QString::fromUtf8("查詢");
const QString kDetail = "Inquiry detail";

QString q(const QString& name) { return '"' + QString(name).replace('"', "\"\"") + '"'; }

QStringList sorted(QStringList list) {
    list.sort();
    return list;
}

// Name and declared type of each column, as the file reports them.
// The columns a table holds for the program: its row key aside.
std::vector<std::pair<QString, QString>> tableInfo(const TempDatabase& db, const QString& name) {
    std::vector<std::pair<QString, QString>> out;
    for (const auto& row : db.query("SELECT name, type FROM pragma_table_info(" +
                                    QString("'%1'").arg(QString(name).replace('\'', "''")) + ")"))
        if (row[0].toString() != QStringLiteral("Row key"))
            out.emplace_back(row[0].toString(), row[1].toString());
    return out;
}

QStringList columnNames(const TempDatabase& db, const QString& name) {
    QStringList names;
    for (const auto& [column, type] : tableInfo(db, name)) names << column;
    return names;
}

QStringList stringsOf(const std::vector<std::vector<QVariant>>& rows, int column = 0) {
    QStringList out;
    for (const auto& r : rows)
        out << (r[column].isNull() ? QString("<null>") : r[column].toString());
    return out;
}

const QStringList kLedgerAmounts = {"Rent",
                                    "Partner",
                                    "Electric rate",
                                    "Telephone rate",
                                    "Water rate",
                                    "Personnel rate",
                                    "Income tax",
                                    "Board expenses",
                                    "Main payment",
                                    "Insurance",
                                    "Bread trader",
                                    "General materials",
                                    "Noodles",
                                    "Fruit",
                                    "Egg",
                                    "Gas",
                                    "Beverage",
                                    "Miscellaneous",
                                    "Tableware",
                                    "Articles in the shop",
                                    "Turnover",
                                    "Small incidental money",
                                    "Accept cashes in fact"};
const QStringList kSheetItems = {"Soup cup",
                                 "Beverage cup",
                                 "Coffee cup",
                                 "Soup spoon",
                                 "Chopsticks",
                                 "Toothpick",
                                 "Meal box",
                                 "Rubber band",
                                 "Meal paper",
                                 "Other",
                                 "Cup",
                                 "Bowl",
                                 "Dish",
                                 "Tableware2",
                                 "Oven",
                                 "Coffee machine",
                                 "Fruit juice mixer",
                                 "Electric equipment",
                                 "Sanitizer",
                                 "Other2"};

// Each month-total column beside the ledger column it sums, spelled as the
// month sheet binds them: blanks around 之 for the first nineteen, none for
// the last four.
const std::vector<std::pair<QString, QString>> kMonthTotalOf = {
    {"Rent", "Rent 之 總計"},
    {"Partner", "Partner 之 總計"},
    {"Electric rate", "Electric rate 之 總計"},
    {"Telephone rate", "Telephone rate 之 總計"},
    {"Water rate", "Water rate 之 總計"},
    {"Personnel rate", "Personnel rate 之 總計"},
    {"Income tax", "Income tax 之 總計"},
    {"Board expenses", "Board expenses 之 總計"},
    {"Main payment", "Main payment 之 總計"},
    {"Insurance", "Insurance 之 總計"},
    {"Bread trader", "Bread trader 之 總計"},
    {"General materials", "General materials 之 總計"},
    {"Noodles", "Noodles 之 總計"},
    {"Fruit", "Fruit 之 總計"},
    {"Egg", "Egg 之 總計"},
    {"Gas", "Gas 之 總計"},
    {"Beverage", "Beverage 之 總計"},
    {"Miscellaneous", "Miscellaneous 之 總計"},
    {"Tableware", "Tableware 之 總計"},
    {"Articles in the shop", "Articles in the shop之總計"},
    {"Turnover", "Turnover之總計"},
    {"Small incidental money", "Small incidental money之總計"},
    {"Accept cashes in fact", "Accept cashes in fact之總計"},
};

// ---------------------------------------------------------------- the file

TEST(SchemaFile, HoldsExactlyTheFourTablesTheKeptTotalsAndThreeSavedQueries) {
    SKIP_ON_SERVER("reads the SQLite file's catalogue");
    TempDatabase db;
    EXPECT_EQ(sorted(stringsOf(db.query("SELECT name FROM sqlite_master WHERE type = 'table' "
                                        "AND name NOT LIKE 'sqlite\\_%' ESCAPE '\\'"))),
              sorted({kLedger, kStaff, kWages, "Select", "Month totals", "Wage month totals",
                      "Month totals: months to count again",
                      "Wage month totals: months to count again", "History", "History values"}));
    EXPECT_EQ(sorted(stringsOf(db.query("SELECT name FROM sqlite_master WHERE type = 'view'"))),
              sorted({kMonthTotals, kMonthWages, kDetail}));
}

// Every table's first column is a key the file hands out once: deleting the
// row with the highest key and adding another never brings the key back, and
// VACUUM keeps every row's key.
TEST(SchemaFile, EveryTableKeysItsRowsWithKeysNeverReused) {
    SKIP_ON_SERVER("reads the SQLite file's catalogue");
    TempDatabase db;
    for (const QString& table : {kLedger, kStaff, kWages, QString("Select")}) {
        const auto first =
            db.query("SELECT name, type, pk FROM pragma_table_info('" + table + "')")[0];
        EXPECT_EQ(first[0].toString(), QStringLiteral("Row key")) << table.toStdString();
        EXPECT_EQ(first[1].toString(), "INTEGER");
        EXPECT_EQ(first[2].toInt(), 1);
    }
    db.insert(kLedger, {"Date"}, {"2002/1/1"});
    const qint64 b = db.insert(kLedger, {"Date"}, {"2002/1/2"});
    db.exec("DELETE FROM \"daily settlement of accounts\" WHERE Date = '2002/1/2'");
    const qint64 c = db.insert(kLedger, {"Date"}, {"2002/1/3"});
    EXPECT_GT(c, b) << "the deleted row's key is not handed out again";
    db.exec("DELETE FROM \"daily settlement of accounts\" WHERE Date = '2002/1/1'");
    db.exec("VACUUM");
    EXPECT_EQ(db.scalar("SELECT \"Row key\" FROM \"daily settlement of accounts\" WHERE Date = "
                        "'2002/1/3'")
                  .toLongLong(),
              c);
}

TEST(SchemaFile, LedgerHasItsFortyFourColumnsWithDayTextAndAmounts) {
    SKIP_ON_SERVER("reads the SQLite file's catalogue");
    TempDatabase db;
    const auto info = tableInfo(db, kLedger);
    QStringList names;
    for (const auto& [name, type] : info) {
        names << name;
        EXPECT_EQ(type, name == "Date" ? "TEXT" : "REAL") << name.toStdString();
    }
    EXPECT_EQ(sorted(names), sorted(QStringList{"Date"} + kLedgerAmounts + kSheetItems));
    EXPECT_EQ(info.size(), 44u);
}

TEST(SchemaFile, StaffRegisterHasItsFifteenColumns) {
    SKIP_ON_SERVER("reads the SQLite file's catalogue");
    TempDatabase db;
    const QStringList amounts = {"Salary hour", "Overtime salary hour", "Monthly pay"};
    const QStringList texts = {"Serial numbers",
                               "Name",
                               "Password",
                               "Telephone",
                               "Cell phone",
                               "Fax",
                               "ID card number",
                               "Address",
                               "Position",
                               "Contact",
                               "Assume office on day",
                               "Leave office on day"};
    QStringList names;
    for (const auto& [name, type] : tableInfo(db, kStaff)) {
        names << name;
        EXPECT_EQ(type, amounts.contains(name) ? "REAL" : "TEXT") << name.toStdString();
    }
    EXPECT_EQ(sorted(names), sorted(amounts + texts));
}

// The shop's eleven, and the monthly pay a wage row records.
TEST(SchemaFile, WageTableHasItsTwelveColumns) {
    SKIP_ON_SERVER("reads the SQLite file's catalogue");
    TempDatabase db;
    const QStringList amounts = {
        "Salary hour", "Overtime salary hour", "Main hour",  "Work overtime",
        "Insurance",   "Absent-Deduct",        "Monthly pay"};
    const QStringList texts = {"Date", "Serial numbers", "Name", "Ask for leave", "Absent"};
    QStringList names;
    for (const auto& [name, type] : tableInfo(db, kWages)) {
        names << name;
        EXPECT_EQ(type, amounts.contains(name) ? "REAL" : "TEXT") << name.toStdString();
    }
    EXPECT_EQ(sorted(names), sorted(amounts + texts));
}

TEST(SchemaFile, SavedQueriesHaveTheirColumnsLetterForLetter) {
    SKIP_ON_SERVER("reads the SQLite file's catalogue");
    TempDatabase db;
    QStringList monthTotals = {"Date per month"};
    for (const auto& [ledgerColumn, total] : kMonthTotalOf) monthTotals << total;
    EXPECT_EQ(columnNames(db, kMonthTotals), monthTotals);
    EXPECT_EQ(sorted(columnNames(db, kMonthWages)),
              sorted(QStringList{
                  QString::fromUtf8("Date /月"), "Name", "Serial numbers",
                  QString::fromUtf8("Main hour之總計"), QString::fromUtf8("Work overtime之總計"),
                  QString::fromUtf8("Insurance之總計"), QString::fromUtf8("Absent-Deduct之總計")}));
    EXPECT_EQ(sorted(columnNames(db, kDetail)),
              sorted(QStringList{"Date", "Name", "Serial numbers", "Main hour", "Work overtime",
                                 "Absent", "Ask for leave", "Daily settlement of accounts"}));
}

TEST(SchemaFile, NamesResolveWithoutRegardToCase) {
    SKIP_ON_SERVER("reads the SQLite file's catalogue");
    TempDatabase db;
    // The wage-detail text names the saved query [Inquiry Detail].
    EXPECT_NO_THROW(
        db.query("SELECT \"DATE\", \"daily SETTLEMENT of accounts\" "
                 "FROM \"Inquiry Detail\""));
    EXPECT_NO_THROW(
        db.query("SELECT \"date per MONTH\" FROM \"Daily Settlement Of Accounts "
                 "-inquiry\""));
}

TEST(SchemaFile, ChoiceListsOfferYesAndNoWithoutEmptyEntries) {
    TempDatabase db;
    auto rows = db.query("SELECT \"Ask for leave\", \"Absent\", \"Vacate\" FROM \"Select\"");
    EXPECT_TRUE(stringsOf(rows, 0).contains("Yes"));
    EXPECT_TRUE(stringsOf(rows, 0).contains("No"));
    EXPECT_TRUE(stringsOf(rows, 1).contains("Yes"));
    EXPECT_TRUE(stringsOf(rows, 1).contains("No"));
    // Every row is listed in every combo, so an empty value would be an
    // empty entry the user could pick.
    for (int column = 0; column < 3; ++column)
        for (const auto& value : stringsOf(rows, column))
            EXPECT_FALSE(value == "<null>" || value.trimmed().isEmpty()) << column;
}

TEST(SchemaFile, NewFileHoldsNoRowsBesidesTheChoiceLists) {
    TempDatabase db;
    EXPECT_EQ(db.scalar("SELECT count(*) FROM " + q(kLedger)).toInt(), 0);
    EXPECT_EQ(db.scalar("SELECT count(*) FROM " + q(kStaff)).toInt(), 0);
    EXPECT_EQ(db.scalar("SELECT count(*) FROM " + q(kWages)).toInt(), 0);
    EXPECT_TRUE(db.query("SELECT * FROM " + q(kMonthTotals)).empty());
    EXPECT_TRUE(db.query("SELECT * FROM " + q(kMonthWages)).empty());
}

// A failed build leaves nothing half made, even inside the caller's transaction.
TEST(SchemaFile, CreatingOverAnExistingTableFailsAndUndoesItsOwnWork) {
    ledger::statements::Connection db(QStringLiteral(":memory:"),
                                      ledger::statements::Connection::Mode::Create);
    ledger::statements::run(db.handle(), "CREATE TABLE \"Select\" (x TEXT); BEGIN", "setting up");
    EXPECT_THROW(setup::createSchema(db), ledger::LedgerError);
    ledger::statements::run(db.handle(), "COMMIT", "the caller's commit");
    ledger::statements::Statement count(db.handle(), "SELECT count(*) FROM sqlite_master", "count");
    ASSERT_TRUE(count.step());
    EXPECT_EQ(count.value(0), 1.0);  // only the table that was there before
}

// ------------------------------------------------------- month totals

class MonthTotals : public ::testing::Test {
protected:
    void addDay(const QVariant& date, const QString& column, const QVariant& value) {
        db.insert(kLedger, {"Date", column}, {date, value});
    }
    std::vector<std::vector<QVariant>> totals(const QString& column) {
        return db.query(
            QString("SELECT \"Date per month\", %1 FROM %2").arg(q(column), q(kMonthTotals)));
    }
    TempDatabase db;
};

TEST_F(MonthTotals, MonthTextHasNoLeadingZeroAndABlankAfterTheSlash) {
    addDay("2002/1/5", "Rent", 1.0);
    addDay("2002/12/3", "Rent", 1.0);
    EXPECT_EQ(stringsOf(totals("Rent 之 總計")), (QStringList{"1/ 2002", "12/ 2002"}));
}

TEST_F(MonthTotals, MonthsComeInCalendarOrderNotTextOrder) {
    addDay("2002/10/1", "Rent", 10.0);
    addDay("2002/2/1", "Rent", 2.0);
    addDay("2003/1/9", "Rent", 1.0);
    addDay("2001/12/31", "Rent", 12.0);
    addDay("2002/11/30", "Rent", 11.0);
    EXPECT_EQ(stringsOf(totals("Rent 之 總計")),
              (QStringList{"12/ 2001", "2/ 2002", "10/ 2002", "11/ 2002", "1/ 2003"}));
}

TEST_F(MonthTotals, SumsEachLedgerColumnIntoItsOwnTotal) {
    // Distinct values per column: a total fed by the wrong column shows.
    for (int i = 0; i < kLedgerAmounts.size(); ++i) {
        addDay("2002/3/1", kLedgerAmounts[i], double(i + 1));
        addDay("2002/3/2", kLedgerAmounts[i], double(100 * (i + 1)));
    }
    addDay("2002/3/3", "Tableware2", 5000.0);  // a sheet item, not summed
    ASSERT_EQ(kMonthTotalOf.size(), 23u);
    for (const auto& [ledgerColumn, total] : kMonthTotalOf) {
        const int i = kLedgerAmounts.indexOf(ledgerColumn);
        auto rows = totals(total);
        ASSERT_EQ(rows.size(), 1u) << total.toStdString();
        EXPECT_EQ(rows[0][1].toDouble(), 101.0 * (i + 1)) << total.toStdString();
    }
}

TEST_F(MonthTotals, ColumnEmptyOnEveryDayOfTheMonthGivesAnEmptyTotal) {
    addDay("2002/4/1", "Rent", 300.0);
    addDay("2002/4/2", "Rent", QVariant());
    addDay("2002/5/1", "Partner", 0.0);
    auto rows = db.query(QString("SELECT \"Date per month\", \"Rent 之 總計\", \"Partner 之 總計\" "
                                 "FROM %1")
                             .arg(q(kMonthTotals)));
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0][1].toDouble(), 300.0);  // an empty day counts nothing
    EXPECT_TRUE(rows[0][2].isNull());         // April: Partner never filled in
    EXPECT_TRUE(rows[1][1].isNull());         // May: Rent never filled in
    EXPECT_FALSE(rows[1][2].isNull());        // a typed 0 is a total of 0, not empty
    EXPECT_EQ(rows[1][2].toDouble(), 0.0);
}

TEST_F(MonthTotals, LeadingZerosAndSurroundingBlanksStillCountForTheirMonth) {
    addDay("2002/02/12", "Turnover", 100.0);
    addDay(" 2002/2/13 ", "Turnover", 20.0);
    addDay("2002/2/14", "Turnover", 3.0);
    auto rows = totals("Turnover之總計");
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0][0].toString(), "2/ 2002");
    EXPECT_EQ(rows[0][1].toDouble(), 123.0);
}

TEST_F(MonthTotals, DaysNotWrittenYearMonthDayGatherInOneUndatedRowAfterTheMonths) {
    addDay("2002/12/1", "Egg", 1.0);
    addDay("yesterday", "Egg", 10.0);
    addDay("2002/12", "Egg", 100.0);       // no day
    addDay("2002/12/1/4", "Egg", 1000.0);  // one part too many
    addDay("2002/x/1", "Egg", 10000.0);
    addDay("", "Egg", 100000.0);
    addDay(QVariant(), "Egg", 1000000.0);
    addDay("2001/1/1", "Egg", 2.0);
    auto rows = totals(QString::fromUtf8("Egg 之 總計"));
    EXPECT_EQ(stringsOf(rows), (QStringList{"1/ 2001", "12/ 2002", "Undated"}));
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[2][1].toDouble(), 1111110.0);
}

TEST_F(MonthTotals, TheMonthSheetSearchFindsTheRowByItsMonthText) {
    addDay("2002/12/1", "Gas", 720.0);
    addDay("2002/1/1", "Gas", 1.0);
    // The month window turns a typed "12/2002" into "12/ 2002".
    auto rows = db.query(QString("SELECT %1 FROM %2 WHERE \"Date per month\" = '12/ 2002'")
                             .arg(q(QString::fromUtf8("Gas 之 總計")), q(kMonthTotals)));
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0][0].toDouble(), 720.0);
}

// ------------------------------------------------------- wage month totals

class WageMonths : public ::testing::Test {
protected:
    void addWage(const QVariant& date, const QString& name, const QString& serial,
                 const QVariant& mainHour, const QVariant& insurance = QVariant()) {
        db.insert(kWages, {"Date", "Name", "Serial numbers", "Main hour", "Insurance"},
                  {date, name, serial, mainHour, insurance});
    }
    std::vector<std::vector<QVariant>> rows() {
        return db.query(QString("SELECT %1, \"Name\", \"Serial numbers\", %2, %3, %4, %5 FROM %6")
                            .arg(q(QString::fromUtf8("Date /月")),
                                 q(QString::fromUtf8("Main hour之總計")),
                                 q(QString::fromUtf8("Work overtime之總計")),
                                 q(QString::fromUtf8("Insurance之總計")),
                                 q(QString::fromUtf8("Absent-Deduct之總計")), q(kMonthWages)));
    }
    static QStringList keys(const std::vector<std::vector<QVariant>>& rows) {
        QStringList out;
        for (const auto& r : rows)
            out << r[1].toString() + "|" + r[2].toString() + "|" + r[0].toString();
        return out;
    }
    TempDatabase db;
};

TEST_F(WageMonths, OneRowPerEmployeeAndMonthInNameSerialAndCalendarOrder) {
    addWage("2002/12/3", "Tovena", "A001", 5.0);
    addWage("2002/2/1", "Tovena", "A001", 4.0);
    addWage("2002/10/7", "Tovena", "A001", 3.0);
    addWage("2002/12/4", "Tovena", "A001", 6.0);
    addWage("2002/1/2", "Chen", "A002", 8.0);
    addWage("2002/2/2", "Tovena", "A009", 1.0);  // another employee of the same name
    auto r = rows();
    EXPECT_EQ(keys(r), (QStringList{"Chen|A002|2002/1", "Tovena|A001|2002/2", "Tovena|A001|2002/10",
                                    "Tovena|A001|2002/12", "Tovena|A009|2002/2"}));
    ASSERT_EQ(r.size(), 5u);
    EXPECT_EQ(r[3][3].toDouble(), 11.0);  // December's two days
}

TEST_F(WageMonths, MonthIsYearSlashMonthWithoutLeadingZero) {
    addWage("2002/01/05", "Tovena", "A001", 1.0);
    addWage("2002/1/6", "Tovena", "A001", 2.0);
    auto r = rows();
    ASSERT_EQ(r.size(), 1u);
    EXPECT_EQ(r[0][0].toString(), "2002/1");
    EXPECT_EQ(r[0][3].toDouble(), 3.0);
}

TEST_F(WageMonths, TotalsAreSumsAndStayEmptyWhenNothingWasEntered) {
    addWage("2002/3/1", "Tovena", "A001", 5.0, 30.0);
    addWage("2002/3/2", "Tovena", "A001", QVariant(), 20.0);
    auto r = rows();
    ASSERT_EQ(r.size(), 1u);
    EXPECT_EQ(r[0][3].toDouble(), 5.0);
    EXPECT_TRUE(r[0][4].isNull());  // no overtime typed that month
    EXPECT_EQ(r[0][5].toDouble(), 50.0);
    EXPECT_TRUE(r[0][6].isNull());
}

TEST_F(WageMonths, UndatedWageRowsFollowTheEmployeesMonths) {
    addWage("someday", "Tovena", "A001", 7.0);
    addWage("2002/5/1", "Tovena", "A001", 1.0);
    addWage("2002/4/1", "Ann", "A003", 2.0);
    EXPECT_EQ(keys(rows()),
              (QStringList{"Ann|A003|2002/4", "Tovena|A001|2002/5", "Tovena|A001|Undated"}));
}

// ------------------------------------------------------- wage detail rows

class WageDetail : public ::testing::Test {
protected:
    TempDatabase db;
    const QStringList wageColumns = {
        "Date",         "Name",          "Serial numbers", "Salary hour",   "Overtime salary hour",
        "Main hour",    "Work overtime", "Insurance",      "Absent-Deduct", "Absent",
        "Ask for leave"};
};

TEST_F(WageDetail, DayWageIsRatesTimesHoursLessDeductions) {
    db.insert(kWages, wageColumns,
              {"2002/2/12", "Tovena", "A001", 80.0, 100.0, 8.0, 2.0, 30.0, 0.0, "No", "No"});
    auto rows = db.query(
        "SELECT \"Date\", \"Name\", \"Serial numbers\", \"Main hour\", "
        "\"Work overtime\", \"Absent\", \"Ask for leave\", "
        "\"Daily settlement of accounts\" FROM " +
        q(kDetail));
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0][0].toString(), "2002/2/12");
    EXPECT_EQ(rows[0][1].toString(), "Tovena");
    EXPECT_EQ(rows[0][2].toString(), "A001");
    EXPECT_EQ(rows[0][3].toDouble(), 8.0);
    EXPECT_EQ(rows[0][4].toDouble(), 2.0);
    EXPECT_EQ(rows[0][5].toString(), "No");
    EXPECT_EQ(rows[0][6].toString(), "No");
    EXPECT_EQ(rows[0][7].toDouble(), 810.0);
}

TEST_F(WageDetail, EmptyValuesCountZero) {
    const QVariant empty;
    // No overtime rate or hours, no deductions.
    db.insert(kWages, wageColumns,
              {"2002/3/1", "A", "1", 75.0, empty, 4.0, empty, empty, empty, "No", "No"});
    // Leave taken: no hours at all, only the insurance held back.
    db.insert(kWages, wageColumns,
              {"2002/3/1", "B", "2", 75.0, 90.0, empty, empty, 120.0, empty, "No", "Yes"});
    // Nothing but an absence deduction.
    db.insert(kWages, wageColumns,
              {"2002/3/1", "C", "3", empty, empty, empty, empty, empty, 200.0, "Yes", "No"});
    auto wages = db.query("SELECT \"Daily settlement of accounts\" FROM " + q(kDetail));
    ASSERT_EQ(wages.size(), 3u);
    EXPECT_EQ(wages[0][0].toDouble(), 300.0);
    EXPECT_EQ(wages[1][0].toDouble(), -120.0);
    EXPECT_EQ(wages[2][0].toDouble(), -200.0);
}

// A row that records the monthly pay its Save added in place of the wage
// by the hour gives that pay, its hours and deductions aside.
TEST_F(WageDetail, ARowRecordingAMonthlyPayGivesThatPay) {
    db.insert(kWages, wageColumns + QStringList{"Monthly pay"},
              {"2002/2/12", "Lee", "A004", 80.0, 100.0, 8.0, 2.0, 30.0, 0.0, "No", "No", 24000.0});
    db.insert(kWages, wageColumns + QStringList{"Monthly pay"},
              {"2002/2/13", "Lee", "A004", 80.0, 100.0, 8.0, 2.0, 30.0, 0.0, "No", "No", 0.0});
    db.insert(
        kWages, wageColumns + QStringList{"Monthly pay"},
        {"2002/2/14", "Lee", "A004", 80.0, 100.0, 8.0, 2.0, 30.0, 0.0, "No", "No", QVariant()});
    auto wages = db.query("SELECT \"Daily settlement of accounts\" FROM " + q(kDetail));
    ASSERT_EQ(wages.size(), 3u);
    EXPECT_EQ(wages[0][0].toDouble(), 24000.0);
    EXPECT_EQ(wages[1][0].toDouble(), 0.0) << "a monthly pay of 0 is a pay of 0";
    EXPECT_EQ(wages[2][0].toDouble(), 810.0) << "none: the wage by the hour";
}

TEST_F(WageDetail, OneRowPerWageRowInTheTablesOrder) {
    for (const char* day : {"2002/12/1", "2002/2/1", "2002/10/1", "2002/2/1"})
        db.insert(kWages, {"Date", "Name"}, {QString(day), "Tovena"});
    EXPECT_EQ(stringsOf(db.query("SELECT \"Date\" FROM " + q(kDetail))),
              (QStringList{"2002/12/1", "2002/2/1", "2002/10/1", "2002/2/1"}));
}

}  // namespace
