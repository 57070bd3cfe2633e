// SPDX-License-Identifier: GPL-3.0-or-later
// Refresh reads only what changed, and a find of one day text is answered
// from an index: both must still see exactly what a full reading would.

#include <gtest/gtest.h>

#include "fake_field.h"
#include "ledger/location/program_folder.h"
#include "ledger/records/record_source.h"
#include "ledger/schema/schema.h"
#include "support/temp_database.h"

using ledger::RecordSource;
namespace schema = ledger::schema;

namespace {

class RefreshAndFind : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* day : {"2002/2/12", "2002/2/13", "2002/10/1", "2002/2/12"})
            db.insert(schema::kLedger, {"Date"}, {QString::fromLatin1(day)});
    }

    void openLedger(RecordSource& source) {
        source.setDatabasePath(ledger::databasePath());
        source.setSource(schema::kLedger);
        source.open();
    }

    // The Date of every row in the row set, in its order.
    QStringList daysShown(const RecordSource& source) {
        const qsizetype at = source.columnNames().indexOf(QStringLiteral("Date"));
        QStringList days;
        for (const QStringList& row : source.rowsAsText()) days << row.value(at);
        return days;
    }

    TempDatabase db;
};

// Who changes the table while a window shows it: another record source of
// this program (the same store), or another program (another connection).
enum class Changer { ThisProgram, AnotherProgram };

struct ChangeCase {
    const char* name;
    Changer changer;
    bool deletes;  // else adds a day
};

void PrintTo(const ChangeCase& c, std::ostream* out) { *out << c.name; }

class RefreshAfterAChange : public RefreshAndFind,
                            public ::testing::WithParamInterface<ChangeCase> {};

TEST_P(RefreshAfterAChange, ShowsTheTableAsItIsNow) {
    const ChangeCase& change = GetParam();
    RecordSource shown("Data1");
    openLedger(shown);
    shown.refresh();  // a first refresh, so the next one may read only what changed

    if (change.changer == Changer::ThisProgram) {
        RecordSource other("Data1");
        FakeField otherDate(other, "Date");
        openLedger(other);
        if (change.deletes) {
            other.moveNext();  // 2002/2/13
            other.deleteCurrent();
        } else {
            other.addNew();
            otherDate.type("2003/3/3");
        }
        other.close();
    } else if (change.deletes) {
        db.exec("DELETE FROM \"daily settlement of accounts\" WHERE Date = '2002/2/13'");
    } else {
        db.insert(schema::kLedger, {"Date"}, {QStringLiteral("2003/3/3")});
    }

    shown.refresh();
    const QStringList expected = change.deletes ? QStringList{"2002/2/12", "2002/10/1", "2002/2/12"}
                                                : QStringList{"2002/2/12", "2002/2/13", "2002/10/1",
                                                              "2002/2/12", "2003/3/3"};
    EXPECT_EQ(daysShown(shown), expected);
}

INSTANTIATE_TEST_SUITE_P(
    Changes, RefreshAfterAChange,
    ::testing::Values(ChangeCase{"ThisProgramDeletes", Changer::ThisProgram, true},
                      ChangeCase{"ThisProgramAdds", Changer::ThisProgram, false},
                      ChangeCase{"AnotherProgramDeletes", Changer::AnotherProgram, true},
                      ChangeCase{"AnotherProgramAdds", Changer::AnotherProgram, false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(RefreshAndFind, AnotherProgramDeletingTheLastDayAndAddingOneIsSeenAsBoth) {
    // As many rows as before, the highest key gone and a higher one there.
    RecordSource shown("Data1");
    openLedger(shown);
    shown.refresh();
    db.exec(
        "DELETE FROM \"daily settlement of accounts\" WHERE rowid = (SELECT max(rowid) FROM "
        "\"daily settlement of accounts\")");
    db.insert(schema::kLedger, {"Date"}, {QStringLiteral("2004/4/4")});
    shown.refresh();
    EXPECT_EQ(daysShown(shown), (QStringList{"2002/2/12", "2002/2/13", "2002/10/1", "2004/4/4"}));
}

struct FindCase {
    const char* name;
    const char* storedExtra;  // one more day text stored after the four
    const char* criterion;
    int expectedIndex;  // -1: no match
};

void PrintTo(const FindCase& c, std::ostream* out) { *out << c.name; }

class FindOneDay : public RefreshAndFind, public ::testing::WithParamInterface<FindCase> {};

TEST_P(FindOneDay, FindsWhatTheCriteriaSay) {
    const FindCase& c = GetParam();
    db.insert(schema::kLedger, {"Date"}, {QString::fromUtf8(c.storedExtra)});
    RecordSource data("Data1");
    FakeField date(data, "Date");
    openLedger(data);
    data.moveLast();
    data.findFirst(QString::fromUtf8(c.criterion));
    if (c.expectedIndex < 0) {
        EXPECT_TRUE(data.noMatch());
    } else {
        EXPECT_FALSE(data.noMatch());
        EXPECT_EQ(data.currentIndex(), c.expectedIndex);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Criteria, FindOneDay,
    ::testing::Values(FindCase{"FirstOfTwoEqualDays", "2002/11/6", "Date = '2002/2/12'", 0},
                      FindCase{"TheDayAddedLast", "2002/11/6", "Date = '2002/11/6'", 4},
                      FindCase{"ABlankMakesAnotherDay", "2002/11/6", "Date = '2002/11/6 '", -1},
                      FindCase{"NoSuchDay", "2002/11/6", "Date = '1800/1/1'", -1},
                      // The daily window's own look-up: LIKE without a wildcard.
                      FindCase{"LikeWithoutAWildcard", "2002/11/6", "Date like  '2002/2/12'", 0},
                      FindCase{"LikeWithADigitWildcard", "2002/11/6", "Date like '2002/11/#'", 4},
                      // Letters compare without regard to case.
                      FindCase{"LettersIgnoreCase", "Nov 6", "Date = 'NOV 6'", 4},
                      // A Greek question mark is a semicolon to the criteria (normalized).
                      FindCase{"NormalizedPunctuation", "2002\u037e11", "Date = '2002;11'", 4}),
    [](const auto& info) { return std::string(info.param.name); });

// A wildcard find of one column is narrowed by the store's own pattern
// matching and finished by the criteria's matcher; it must find what the
// criteria alone find reading every row. The same criterion joined with
// "Date LIKE '*'" (true of every stored text) is never narrowed, so it reads
// every row: the two must agree, forwards and backwards, on texts the
// store's matching reads differently (full-width and Arabic-Indic digits,
// which "#" takes; letters of either case; a normalized semicolon).
TEST_F(RefreshAndFind, AWildcardFindFindsWhatReadingEveryRowFinds) {
    for (const char16_t* day : {u"2002/1/5", u"2002/11/6", u"\uFF12\uFF10\uFF10\uFF12/1/7",
                                u"2002/1/\u0668", u"2002/1/8 ", u" 2002/1/9", u"2003/1/1",
                                u"Nov 2002/1", u"2002\u037e1", u"2002/1/x", u"", u"2002/1/15"})
        db.insert(schema::kLedger, {"Date"}, {QString::fromUtf16(day)});
    db.insert(schema::kLedger, {"Date"}, {QVariant()});
    RecordSource narrowed("Data1"), whole("Data2");
    FakeField a(narrowed, "Date"), b(whole, "Date");
    openLedger(narrowed);
    openLedger(whole);
    auto placeOf = [](RecordSource& data) { return data.noMatch() ? -1 : data.currentIndex(); };
    for (const char* pattern :
         {"2002/1/*", "2002/1/#", "2002/1/?", "*/1/#", "2002/1*", "*1/1", "2002/[0-9]/5",
          "2002/1/1#", "* 2002/1/9", "2002/1/8 ", "*", "\?\?\?\?/1/*", "2002*1", "1800/*"}) {
        SCOPED_TRACE(pattern);
        const QString one = QStringLiteral("Date like '%1'").arg(QLatin1String(pattern));
        const QString both = one + QStringLiteral(" AND Date like '*'");
        narrowed.moveLast();
        whole.moveLast();
        narrowed.findFirst(one);
        whole.findFirst(both);
        EXPECT_EQ(placeOf(narrowed), placeOf(whole)) << "first";
        for (int from : {5, 13}) {
            narrowed.moveFirst();
            whole.moveFirst();
            for (int i = 0; i < from; ++i) narrowed.moveNext(), whole.moveNext();
            narrowed.findPrevious(one);
            whole.findPrevious(both);
            EXPECT_EQ(placeOf(narrowed), placeOf(whole)) << "previous from " << from;
        }
    }
}

TEST_F(RefreshAndFind, ADayAddedByAnotherProgramIsFoundOnlyAfterRefresh) {
    RecordSource data("Data1");
    FakeField date(data, "Date");
    openLedger(data);
    db.insert(schema::kLedger, {"Date"}, {QStringLiteral("2005/5/5")});
    data.findFirst(QStringLiteral("Date = '2005/5/5'"));
    EXPECT_TRUE(data.noMatch()) << "the row set was fixed at open";
    data.refresh();
    data.findFirst(QStringLiteral("Date = '2005/5/5'"));
    EXPECT_FALSE(data.noMatch());
    EXPECT_EQ(date.text, "2005/5/5");
}

TEST_F(RefreshAndFind, AColumnThatKeepsNumbersAsNumbersIsStillFoundByText) {
    SKIP_ON_SERVER("a column without a declared type exists only in SQLite files");
    // An old file whose Date column was declared without a type: a number
    // stays a number there, and the criteria compare its text.
    db.exec("CREATE TABLE loose (\"Date\", Rent REAL)");
    db.exec("INSERT INTO loose VALUES (2002, 1), ('2002/2/12', 2)");
    RecordSource data("Data1");
    data.setDatabasePath(ledger::databasePath());
    data.setSource(QStringLiteral("loose"));
    data.open();
    data.moveLast();
    data.findFirst(QStringLiteral("Date = '2002'"));
    EXPECT_FALSE(data.noMatch());
    EXPECT_EQ(data.currentIndex(), 0);
}

}  // namespace
