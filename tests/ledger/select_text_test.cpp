// SPDX-License-Identifier: GPL-3.0-or-later
// The one SELECT text the program composes (the wage-detail query), and what
// typed patterns can and cannot do to it.

#include "ledger/query/select_text.h"

#include <gtest/gtest.h>

#include <QString>
#include <QStringList>
#include <QVariant>
#include <ostream>
#include <vector>

#include "ledger/base/ledger_error.h"
#include "salary/rules/detail_query_text.h"

namespace {

using ledger::Condition;
using ledger::ErrorCode;
using ledger::LedgerError;
using ledger::SelectText;

QString fromUtf16(const char16_t* text) { return QString::fromUtf16(text); }

// The wage-detail query is the program's own text, as the salary window's
// "Detail" composes it: a copy here would go on passing when the program's
// text changes.
QString detailQueryText(const QString& month, const QString& name) {
    return salary::composeDetailQuery(month, name);
}

const QStringList& kDetailColumns = salary::detailColumns();

TEST(SelectTextProgram, TheWageDetailQueryReadsAsWritten) {
    const QString text = detailQueryText(QStringLiteral("2002/1"), QStringLiteral("Tovena"));
    ASSERT_EQ(text,
              QStringLiteral("SELECT Date,Name,[Main hour],[Work overtime],Absent,[Ask for "
                             "leave],[Daily settlement of accounts] FROM [Inquiry Detail] WHERE "
                             "Date LIKE '*2002/1*'AND Name LIKE'*Tovena*'order by Date"));
    ASSERT_TRUE(SelectText::looksLikeSelect(text));

    const SelectText select = SelectText::parse(text);
    EXPECT_EQ(select.columns, kDetailColumns);
    EXPECT_EQ(select.source, QStringLiteral("Inquiry Detail"));
    EXPECT_EQ(select.orderBy, QStringLiteral("Date"));
    ASSERT_EQ(select.where.conditions.size(), 2u);
    EXPECT_EQ(select.where.conditions[0].column, QStringLiteral("Date"));
    EXPECT_EQ(select.where.conditions[0].op, Condition::Op::Like);
    EXPECT_EQ(select.where.conditions[0].literal, QStringLiteral("*2002/1*"));
    EXPECT_EQ(select.where.conditions[1].column, QStringLiteral("Name"));
    EXPECT_EQ(select.where.conditions[1].op, Condition::Op::Like);
    EXPECT_EQ(select.where.conditions[1].literal, QStringLiteral("*Tovena*"));
}

// Rows of the wage-detail query: Date, Name.
struct WageRow {
    const char16_t* date;
    const char16_t* name;
};

const WageRow kWageRows[] = {
    {u"2002/1/5", u"Tovena"},  {u"2002/10/3", u"Tovena"}, {u"2002/2/1", u"Tovena"},
    {u"2002/1/7", u"Joanna"},  {u"2002/12/24", u"ANNA"},  {u"2012/1/1", u"Tovena"},
    {u"2002/11/2", u"tovena"},
};

QStringList matchingRows(const QString& month, const QString& name) {
    const SelectText select = SelectText::parse(detailQueryText(month, name));
    QStringList matched;
    for (const WageRow& row : kWageRows) {
        if (select.where.matches({QVariant(fromUtf16(row.date)), QVariant(fromUtf16(row.name))}))
            matched << fromUtf16(row.date) + u' ' + fromUtf16(row.name);
    }
    return matched;
}

TEST(SelectTextProgram, TheMonthPatternMatchesAnywhereInTheDay) {
    // 2002/1 is also inside October, November and December 2002.
    EXPECT_EQ(matchingRows(QStringLiteral("2002/1"), QStringLiteral("Tovena")),
              QStringList({QStringLiteral("2002/1/5 Tovena"), QStringLiteral("2002/10/3 Tovena"),
                           QStringLiteral("2002/11/2 tovena")}));
}

TEST(SelectTextProgram, TheNamePatternIgnoresCase) {
    EXPECT_EQ(matchingRows(QStringLiteral("2002"), QStringLiteral("an")),
              QStringList({QStringLiteral("2002/1/7 Joanna"), QStringLiteral("2002/12/24 ANNA")}));
}

TEST(SelectTextProgram, CancelledPromptsMatchEveryRowWithDateAndName) {
    const SelectText select = SelectText::parse(detailQueryText(QString(), QString()));
    ASSERT_EQ(select.where.conditions.size(), 2u);
    EXPECT_EQ(select.where.conditions[0].literal, QStringLiteral("**"));
    EXPECT_TRUE(
        select.where.matches({QVariant(fromUtf16(u"2002/1/5")), QVariant(fromUtf16(u"x"))}));
    EXPECT_FALSE(select.where.matches({QVariant(fromUtf16(u"2002/1/5")), QVariant()}));
}

TEST(SelectTextProgram, BlanksInsideAPatternStayPartOfIt) {
    const SelectText select =
        SelectText::parse(detailQueryText(QStringLiteral("2002/ 1"), QStringLiteral("To vena")));
    EXPECT_EQ(select.where.conditions[0].literal, QStringLiteral("*2002/ 1*"));
    EXPECT_EQ(select.where.conditions[1].literal, QStringLiteral("*To vena*"));
}

// What is typed into the prompts stays inside its pattern, quoted: an
// apostrophe is a letter of it, and no text of SQL typed there becomes part
// of the query. The rows can only be narrowed, never widened or changed.
struct InjectionCase {
    const char16_t* month;
    const char16_t* name;
};

void PrintTo(const InjectionCase& c, std::ostream* os) {
    *os << "month \"" << fromUtf16(c.month).toStdString() << "\", name \""
        << fromUtf16(c.name).toStdString() << '"';
}

const InjectionCase kInjectionCases[] = {
    {u"2002/1", u"O'Brien"},
    {u"2002/1'", u"Tovena"},
    {u"2002/1", u"*'AND Date LIKE'*"},
    {u"2002/1", u"x' OR Name LIKE '"},
    {u"2002/1", u"x' OR '1'='1"},
    {u"2002/1", u"*'; DROP TABLE [Materials forms of staff]; --"},
    {u"2002/1", u"' UNION SELECT Password,Name FROM [Materials forms of staff] WHERE Name LIKE '"},
    {u"2002/1*' AND Date IN (SELECT Password FROM [Materials forms of staff]) AND Date LIKE '",
     u"Tovena"},
    {u"2002/1", u"'order by Password--"},
    {u"2002/1", u"'order by Date; DELETE FROM [The staff calculate wages]--"},
    {u"2002/1", u"' /* comment */ AND Name LIKE '"},
};

class TypedSqlInAPattern : public ::testing::TestWithParam<InjectionCase> {};

TEST_P(TypedSqlInAPattern, StaysALetterOfThePattern) {
    const InjectionCase& c = GetParam();
    const QString month = fromUtf16(c.month), name = fromUtf16(c.name);
    const SelectText select = SelectText::parse(detailQueryText(month, name));
    EXPECT_EQ(select.source, QStringLiteral("Inquiry Detail"));
    EXPECT_EQ(select.columns, kDetailColumns);
    EXPECT_EQ(select.orderBy, QStringLiteral("Date"));
    ASSERT_EQ(select.where.conditions.size(), 2u);
    EXPECT_EQ(select.where.conditions[0].literal, u'*' + month + u'*');
    EXPECT_EQ(select.where.conditions[1].literal, u'*' + name + u'*');
}

INSTANTIATE_TEST_SUITE_P(Table, TypedSqlInAPattern, ::testing::ValuesIn(kInjectionCases));

TEST(SelectTextProgram, AnApostropheInANameFindsThatName) {
    const SelectText select =
        SelectText::parse(detailQueryText(QStringLiteral("2002/1"), QStringLiteral("O'Brien")));
    EXPECT_TRUE(select.where.matches(
        {QVariant(QStringLiteral("2002/1/5")), QVariant(QStringLiteral("Mary O'Brien"))}));
    EXPECT_FALSE(select.where.matches(
        {QVariant(QStringLiteral("2002/1/5")), QVariant(QStringLiteral("OBrien"))}));
}

// A pattern the query could not read is said before any query is made.
TEST(SelectTextProgram, APatternThatCannotBeReadIsRefusedBeforeTheQuery) {
    for (const char* pattern : {"[z-a]", "[abc", "Li [Sr"})
        EXPECT_FALSE(salary::patternProblem(QString::fromLatin1(pattern)).isEmpty()) << pattern;
    for (const char* pattern : {"Li [Sr]", "O'Brien", "100%_x", "#2"})
        EXPECT_TRUE(salary::patternProblem(QString::fromLatin1(pattern)).isEmpty()) << pattern;
}

// --- the accepted form and nothing else ----------------------------------------

struct AcceptedCase {
    const char16_t* text;
    std::vector<const char16_t*> columns;
    const char16_t* source;
    std::size_t conditionCount;
    const char16_t* orderBy;
};

void PrintTo(const AcceptedCase& c, std::ostream* os) { *os << fromUtf16(c.text).toStdString(); }

const AcceptedCase kAcceptedCases[] = {
    {u"SELECT Date FROM [Inquiry detail]", {u"Date"}, u"Inquiry detail", 0, u""},
    {u"select date,name from [inquiry detail] order by date",
     {u"date", u"name"},
     u"inquiry detail",
     0,
     u"date"},
    {u"  SELECT  [Date] , [Name]  FROM  Q  WHERE  Name = 'x'  ORDER  BY  [Date]  ",
     {u"Date", u"Name"},
     u"Q",
     1,
     u"Date"},
    {u"Select Date From Q Where Date Like '*' And Name Like '*' And [Main hour] = '8'",
     {u"Date"},
     u"Q",
     3,
     u""},
    {u"SELECT Date FROM [Select]", {u"Date"}, u"Select", 0, u""},
    {u"SELECT [Date /\u6708] FROM [\u67e5\u8a62]", {u"Date /\u6708"}, u"\u67e5\u8a62", 0, u""},
    {u"SELECT\tDate\nFROM\tQ", {u"Date"}, u"Q", 0, u""},
};

class SelectTextAccepted : public ::testing::TestWithParam<AcceptedCase> {};

TEST_P(SelectTextAccepted, ReadsItsParts) {
    const AcceptedCase& c = GetParam();
    const SelectText select = SelectText::parse(fromUtf16(c.text));
    QStringList columns;
    for (const char16_t* column : c.columns) columns << fromUtf16(column);
    EXPECT_EQ(select.columns, columns);
    EXPECT_EQ(select.source, fromUtf16(c.source));
    EXPECT_EQ(select.where.conditions.size(), c.conditionCount);
    EXPECT_EQ(select.orderBy, fromUtf16(c.orderBy));
}

INSTANTIATE_TEST_SUITE_P(Table, SelectTextAccepted, ::testing::ValuesIn(kAcceptedCases));

struct RejectedCase {
    const char16_t* text;
};

void PrintTo(const RejectedCase& c, std::ostream* os) { *os << fromUtf16(c.text).toStdString(); }

const RejectedCase kRejectedCases[] = {
    {u""},
    {u"SELECT"},
    {u"SELECT Date"},
    {u"SELECT Date FROM"},
    {u"SELECT FROM Q"},
    {u"SELECT Date, FROM Q"},
    {u"SELECT Date,,Name FROM Q"},
    {u"SELECT * FROM Q"},
    {u"SELECT Date Name FROM Q"},
    {u"SELECT Date FROM Q, R"},
    {u"SELECT Date FROM Q WHERE"},
    {u"SELECT Date FROM Q WHERE Date LIKE '*' AND"},
    {u"SELECT Date FROM Q WHERE Date LIKE '*' OR Name LIKE '*'"},
    {u"SELECT Date FROM Q WHERE Date = 1"},
    {u"SELECT Date FROM Q WHERE (Date LIKE '*')"},
    {u"SELECT Date FROM Q ORDER BY"},
    {u"SELECT Date FROM Q ORDER Date"},
    {u"SELECT Date FROM Q ORDER BY Date DESC"},
    {u"SELECT Date FROM Q ORDER BY Date, Name"},
    {u"SELECT Date FROM Q ORDER BY Date WHERE Date LIKE '*'"},
    {u"SELECT Date FROM Q; DELETE FROM Q"},
    {u"SELECT Date FROM Q;"},
    {u"SELECT Date FROM Q -- note"},
    {u"SELECT Date FROM Q /* note */"},
    {u"SELECT Date FROM Q UNION SELECT Password FROM [Materials forms of staff]"},
    {u"SELECT Date FROM (SELECT Date FROM Q)"},
    {u"SELECT Date FROM Select"},
    {u"SELECT DISTINCT Date FROM Q"},
    {u"SELECT Date FROM Q WHERE Date LIKE \"*\""},
    {u"SELECT Date FROM Q WHERE Date LIKE '*"},
    {u"SELECT [Date FROM Q"},
    {u"UPDATE Q SET Date = '1'"},
    {u"DELETE FROM Q"},
};

class SelectTextRejected : public ::testing::TestWithParam<RejectedCase> {};

TEST_P(SelectTextRejected, IsAMalformedQuery) {
    try {
        SelectText::parse(fromUtf16(GetParam().text));
        FAIL() << "parsed";
    } catch (const LedgerError& e) {
        EXPECT_EQ(e.code(), ErrorCode::MalformedQuery);
        EXPECT_TRUE(e.message().startsWith(QStringLiteral("Malformed query")))
            << e.message().toStdString();
    }
}

INSTANTIATE_TEST_SUITE_P(Table, SelectTextRejected, ::testing::ValuesIn(kRejectedCases));

// --- telling a query from a table name ----------------------------------------

struct SourceKindCase {
    const char16_t* source;
    bool isSelect;
};

void PrintTo(const SourceKindCase& c, std::ostream* os) {
    *os << fromUtf16(c.source).toStdString();
}

const SourceKindCase kSourceKindCases[] = {
    {u"SELECT Date FROM Q", true},
    {u"select x from y", true},
    {u"  SELECT\tx", true},
    {u"SELECT*", true},
    {u"Select", false},  // the lookup row set
    {u"select", false},
    {u" Select ", false},
    {u"Selection", false},
    {u"Select_list", false},
    {u"daily settlement of accounts", false},
    {u"daily settlement of accounts -Inquiry", false},
    {u"\u67e5\u8a62", false},
    {u"Inquiry detail", false},
    {u"", false},
};

class SelectTextSourceKind : public ::testing::TestWithParam<SourceKindCase> {};

TEST_P(SelectTextSourceKind, TellsAQueryFromARowSetName) {
    EXPECT_EQ(SelectText::looksLikeSelect(fromUtf16(GetParam().source)), GetParam().isSelect);
}

INSTANTIATE_TEST_SUITE_P(Table, SelectTextSourceKind, ::testing::ValuesIn(kSourceKindCases));

}  // namespace
