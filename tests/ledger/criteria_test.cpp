// SPDX-License-Identifier: GPL-3.0-or-later
// The criteria dialect every search builds: LIKE patterns, the parser with its
// odd spacings, and what matches a stored row.

#include "ledger/query/criteria.h"

#include <gtest/gtest.h>

#include <QMetaType>
#include <QString>
#include <QVariant>
#include <ostream>
#include <vector>

#include "ledger/base/ledger_error.h"
#include "ledger/query/like_match.h"
#include "ledger/query/quoted_text.h"

namespace {

using ledger::Condition;
using ledger::Criterion;
using ledger::ErrorCode;
using ledger::LedgerError;

QString q(const char16_t* text) { return QString::fromUtf16(text); }

// --- LIKE --------------------------------------------------------------------

struct LikeCase {
    const char16_t* value;
    const char16_t* pattern;
    bool matches;
};

void PrintTo(const LikeCase& c, std::ostream* os) {
    *os << '"' << q(c.value).toStdString() << "\" like '" << q(c.pattern).toStdString() << "' -> "
        << (c.matches ? "match" : "no match");
}

const LikeCase kLikeCases[] = {
    // without wildcards only the whole text matches
    {u"2002/2/12", u"2002/2/12", true},
    {u"2002/2/12", u"2002/2/1", false},
    {u"2002/2/1", u"2002/2/12", false},
    {u"2002/2/12", u"2002/02/12", false},
    {u"2002/2/12 ", u"2002/2/12", false},
    {u"12/ 2002", u"12/ 2002", true},
    {u"12/ 2002", u"12/2002", false},
    {u"", u"", true},
    {u"x", u"", false},
    // case, also beyond ASCII
    {u"Tovena", u"tovena", true},
    {u"TOVENA", u"tovena", true},
    {u"tovena", u"TOVENA", true},
    {u"\u00c4BC", u"\u00e4bc", true},  // ÄBC / äbc
    {u"\u00e4bc", u"\u00c4BC", true},
    {u"A\u0308BC", u"\u00e4bc", true},                                             // decomposed Ä
    {u"\u00c4BC", u"abc", false},                                                  // Ä is not A
    {u"\u0394\u0395\u039b\u03a4\u0391", u"\u03b4\u03b5\u03bb\u03c4\u03b1", true},  // ΔΕΛΤΑ / δελτα
    {u"\u0416\u0443\u043a", u"\u0436\u0423\u041a", true},  // Жук / жУК
    {u"\u67e5\u8a62", u"\u67e5\u8a62", true},              // 查詢
    // * any run
    {u"2002/10/3", u"*2002/1*", true},
    {u"2002/1/5", u"*2002/1*", true},
    {u"2002/11/30", u"*2002/1*", true},
    {u"2002/2/1", u"*2002/1*", false},
    {u"2001/12/1", u"*2002/1*", false},
    {u"Joanna", u"*AN*", true},
    {u"Anna", u"*an*", true},
    {u"Tovena", u"*an*", false},
    {u"", u"*", true},
    {u"", u"**", true},
    {u"anything at all", u"*", true},
    {u"aXbXc", u"a*b*c", true},
    {u"abcbc", u"*bc", true},
    {u"abcb", u"*bc", false},
    {u"mississippi", u"*sip*", true},
    {u"mississippi", u"m*iss*ppi", true},
    {u"mississippi", u"m*x*", false},
    {u"ab", u"a*b*", true},
    // ? any one character, # any one digit
    {u"abc", u"a?c", true},
    {u"ac", u"a?c", false},
    {u"abbc", u"a?c", false},
    {u"", u"?", false},
    {u"\U0001d49cb", u"?b", true},  // one character outside the BMP
    {u"\u67e5\u8a62", u"\u67e5?", true},
    {u"a1c", u"a#c", true},
    {u"abc", u"a#c", false},
    {u"a\u0663c", u"a#c", false},  // an Arabic-Indic three is no 0-9 digit
    {u"", u"#", false},
    {u"2002/2/12", u"####/#/##", true},
    // lists
    {u"b", u"[abc]", true},
    {u"d", u"[abc]", false},
    {u"B", u"[abc]", true},
    {u"q", u"[a-z]", true},
    {u"Q", u"[a-z]", true},
    {u"5", u"[a-z]", false},
    {u"d", u"[!abc]", true},
    {u"a", u"[!abc]", false},
    {u"A", u"[!abc]", false},
    {u"", u"[abc]", false},
    {u"", u"[!abc]", false},
    {u"2002/1/5", u"2002/[1-3]/*", true},
    {u"2002/4/5", u"2002/[1-3]/*", false},
    {u"\u00e4", u"[\u00c4\u00d6\u00dc]", true},
    // characters that mean something elsewhere stand for themselves in a list
    {u"*", u"[*]", true},
    {u"x", u"[*]", false},
    {u"?", u"[?]", true},
    {u"#", u"[#]", true},
    {u"[", u"[[]", true},
    {u"a*c", u"a[*]c", true},
    {u"abc", u"a[*]c", false},
    {u"-", u"[a-]", true},
    {u"-", u"[-a]", true},
    {u"b", u"[a-]", false},
    {u"!", u"[!]", true},
    {u"a", u"[!]", false},
    {u"abc", u"a[]bc", true},
    {u"a]", u"a]", true},
    {u"a!", u"a!", true},
    // broken patterns match nothing
    {u"2002/[1", u"2002/[1", false},
    {u"z", u"[z-a]", false},
};

class Like : public ::testing::TestWithParam<LikeCase> {};

TEST_P(Like, MatchesAsTheLedgerSearchesDo) {
    const LikeCase& c = GetParam();
    EXPECT_EQ(ledger::likeMatches(q(c.value), q(c.pattern)), c.matches);
}

INSTANTIATE_TEST_SUITE_P(Table, Like, ::testing::ValuesIn(kLikeCases));

struct PatternValidity {
    const char16_t* pattern;
    bool valid;
};

void PrintTo(const PatternValidity& c, std::ostream* os) {
    *os << '\'' << q(c.pattern).toStdString() << '\'';
}

const PatternValidity kPatternValidity[] = {
    {u"", true},         {u"*2002/1*", true}, {u"[a-z]", true},  {u"[!a]", true},
    {u"[]", true},       {u"]", true},        {u"[a-]", true},   {u"[", false},
    {u"2002/[1", false}, {u"[!", false},      {u"[z-a]", false}, {u"[a-c][z-a]", false},
};

class LikePattern : public ::testing::TestWithParam<PatternValidity> {};

TEST_P(LikePattern, KnowsBrokenPatterns) {
    EXPECT_EQ(ledger::isValidLikePattern(q(GetParam().pattern)), GetParam().valid);
}

INSTANTIATE_TEST_SUITE_P(Table, LikePattern, ::testing::ValuesIn(kPatternValidity));

TEST(TextEquality, IgnoresCaseButNotBlanksOrLetters) {
    EXPECT_TRUE(ledger::textEqualsIgnoringCase(u"Tovena", u"TOVENA"));
    EXPECT_TRUE(ledger::textEqualsIgnoringCase(u"\u00c4BC", u"\u00e4bc"));
    EXPECT_TRUE(ledger::textEqualsIgnoringCase(u"A\u0308", u"\u00e4"));
    EXPECT_FALSE(ledger::textEqualsIgnoringCase(u"Tovena", u"Tovena "));
    EXPECT_FALSE(ledger::textEqualsIgnoringCase(u"Tovena", u"Toven"));
    EXPECT_FALSE(ledger::textEqualsIgnoringCase(u"*", u"Tovena"));  // = has no wildcards
    EXPECT_TRUE(ledger::textEqualsIgnoringCase(u"", u""));
}

// --- parsing -----------------------------------------------------------------

struct ParsedCondition {
    const char16_t* column;
    Condition::Op op;
    const char16_t* literal;
};

struct CriterionCase {
    const char16_t* criterion;
    std::vector<ParsedCondition> conditions;
};

void PrintTo(const CriterionCase& c, std::ostream* os) {
    *os << '"' << q(c.criterion).toStdString() << '"';
}

constexpr auto kLike = Condition::Op::Like;
constexpr auto kEqual = Condition::Op::Equal;

const CriterionCase kCriterionCases[] = {
    // the criteria the windows build, letter for letter
    {u"Date like  '2002/2/12'", {{u"Date", kLike, u"2002/2/12"}}},
    {u" Date like   '2002/2/12'", {{u"Date", kLike, u"2002/2/12"}}},
    {u" Date like '2002/2/12'", {{u"Date", kLike, u"2002/2/12"}}},
    {u"[Date per month] like '12/ 2002'", {{u"Date per month", kLike, u"12/ 2002"}}},
    {u"Name like'Tovena'", {{u"Name", kLike, u"Tovena"}}},
    {u" Name like 'x'", {{u"Name", kLike, u"x"}}},
    {u"Name='Tovena'", {{u"Name", kEqual, u"Tovena"}}},
    // spacing and case
    {u"name LIKE 'a'", {{u"name", kLike, u"a"}}},
    {u"NAME Like 'a'", {{u"NAME", kLike, u"a"}}},
    {u"Name   =   'a'", {{u"Name", kEqual, u"a"}}},
    {u"\tName\tlike\t'a'\t", {{u"Name", kLike, u"a"}}},
    {u"Name like 'a'   ", {{u"Name", kLike, u"a"}}},
    {u"[Date per month]like'12/ 2002'", {{u"Date per month", kLike, u"12/ 2002"}}},
    // the constant keeps everything between its apostrophes
    {u"Date like ' 2002/2/12 '", {{u"Date", kLike, u" 2002/2/12 "}}},
    {u"Date like ''", {{u"Date", kLike, u""}}},
    {u"Date like '*'", {{u"Date", kLike, u"*"}}},
    {u"Name like 'O\"Brien'", {{u"Name", kLike, u"O\"Brien"}}},
    {u"Name like 'AND'", {{u"Name", kLike, u"AND"}}},
    {u"Name like '[!a]*'", {{u"Name", kLike, u"[!a]*"}}},
    {u"Name like 'a;b--c'", {{u"Name", kLike, u"a;b--c"}}},
    // an apostrophe inside is written twice
    {u"Name like 'O''Brien'", {{u"Name", kLike, u"O'Brien"}}},
    {u"Name=''''", {{u"Name", kEqual, u"'"}}},
    {u"Name like 'a''''b'", {{u"Name", kLike, u"a''b"}}},
    {u"Name like 'x'''AND Date like ''", {{u"Name", kLike, u"x'"}, {u"Date", kLike, u""}}},
    // names of the saved queries
    {u"[Date /\u6708] like '2002/1'", {{u"Date /\u6708", kLike, u"2002/1"}}},
    {u"[Main hour\u4e4b\u7e3d\u8a08]='8'", {{u"Main hour\u4e4b\u7e3d\u8a08", kEqual, u"8"}}},
    {u"\u59d3\u540d like 'x'", {{u"\u59d3\u540d", kLike, u"x"}}},
    {u"[Absent-Deduct] = '0'", {{u"Absent-Deduct", kEqual, u"0"}}},
    // several conditions
    {u"Date like 'a' AND Name like 'b'", {{u"Date", kLike, u"a"}, {u"Name", kLike, u"b"}}},
    {u"Date like 'a'and Name='b'", {{u"Date", kLike, u"a"}, {u"Name", kEqual, u"b"}}},
    {u"Date like 'a' AnD [Main hour] = '8' and Name like 'c'",
     {{u"Date", kLike, u"a"}, {u"Main hour", kEqual, u"8"}, {u"Name", kLike, u"c"}}},
};

class CriterionParse : public ::testing::TestWithParam<CriterionCase> {};

TEST_P(CriterionParse, ReadsEveryCondition) {
    const CriterionCase& c = GetParam();
    const Criterion criterion = Criterion::parse(q(c.criterion));
    ASSERT_EQ(criterion.conditions.size(), c.conditions.size());
    QStringList columns;
    for (std::size_t i = 0; i < c.conditions.size(); ++i) {
        EXPECT_EQ(criterion.conditions[i].column, q(c.conditions[i].column)) << i;
        EXPECT_EQ(criterion.conditions[i].op, c.conditions[i].op) << i;
        EXPECT_EQ(criterion.conditions[i].literal, q(c.conditions[i].literal)) << i;
        columns << q(c.conditions[i].column);
    }
    EXPECT_EQ(criterion.columns(), columns);
}

INSTANTIATE_TEST_SUITE_P(Table, CriterionParse, ::testing::ValuesIn(kCriterionCases));

struct MalformedCase {
    const char16_t* criterion;
    bool mentionsApostrophe;  // the message explains the usual cause
};

void PrintTo(const MalformedCase& c, std::ostream* os) {
    *os << '"' << q(c.criterion).toStdString() << '"';
}

const MalformedCase kMalformedCases[] = {
    // an apostrophe typed into a search
    {u"Name like 'O'Brien'", true},
    {u"Name like'O'Brien'", true},
    {u"Date like  '2002/2/12''", true},
    {u"Name like 'O''Brien", true},
    {u"Name like 'x' OR 'a'='a'", false},
    {u"Name like '' OR ''=''", false},
    // not the dialect at all
    {u"", false},
    {u"   ", false},
    {u"Name", false},
    {u"Name like", false},
    {u"Name 'x'", false},
    {u"like 'x'", false},
    {u"'x'", false},
    {u"Name like x", false},
    {u"Name like \"x\"", false},
    {u"Name like 'x", true},
    {u"[Name like 'x'", false},
    {u"[] like 'x'", false},
    {u"Name like 'x' AND", false},
    {u"Name like 'x' Name like 'y'", false},
    {u"Name like 'x'; DROP TABLE t", false},
    {u"Name like 'x' --", false},
    {u"(Name like 'x')", false},
    {u"Name <> 'x'", false},
    {u"Name = 5", false},
    {u"Name == 'x'", false},
    {u"NOT Name like 'x'", false},
    {u"AND like 'x'", false},
    {u"Name like '2002/[1'", false},
    {u"Name like '[z-a]'", false},
};

class CriterionMalformed : public ::testing::TestWithParam<MalformedCase> {};

TEST_P(CriterionMalformed, IsASyntaxErrorQuotingTheCriterion) {
    const MalformedCase& c = GetParam();
    try {
        Criterion::parse(q(c.criterion));
        FAIL() << "parsed";
    } catch (const LedgerError& e) {
        EXPECT_EQ(e.code(), ErrorCode::SyntaxErrorInCriteria);
        EXPECT_TRUE(e.message().startsWith(QStringLiteral("Syntax error in the criterion")))
            << e.message().toStdString();
        EXPECT_TRUE(
            e.message().contains(QStringLiteral("\"") + q(c.criterion) + QStringLiteral("\"")))
            << e.message().toStdString();
        if (c.mentionsApostrophe) {
            EXPECT_TRUE(e.message().contains(QStringLiteral("written twice: 'O''Brien'")))
                << e.message().toStdString();
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Table, CriterionMalformed, ::testing::ValuesIn(kMalformedCases));

// --- what a row's values satisfy ----------------------------------------------

QVariant text(const char16_t* s) { return QVariant(q(s)); }

struct MatchCase {
    const char16_t* criterion;
    std::vector<QVariant> values;
    bool matches;
    const char* why;
};

void PrintTo(const MatchCase& c, std::ostream* os) { *os << c.why; }

const std::vector<MatchCase>& matchCases() {
    static const std::vector<MatchCase> cases = {
        {u"Date like  '2002/2/12'", {text(u"2002/2/12")}, true, "the same day"},
        {u"Date like  '2002/2/12'", {text(u"2002/2/13")}, false, "another day"},
        {u"Name like'tovena'", {text(u"TOVENA")}, true, "name in other case"},
        {u"Name='tovena'", {text(u"Tovena")}, true, "= ignores case"},
        {u"Name='Tov*'", {text(u"Tovena")}, false, "= has no wildcards"},
        {u"Name='Tov*'", {text(u"Tov*")}, true, "= compares the text itself"},
        {u"Date like '*'", {QVariant()}, false, "null never matches, not even *"},
        {u"Date like '*'",
         {QVariant(QMetaType::fromType<QString>())},
         false,
         "a typed null never matches"},
        {u"Name = ''", {QVariant()}, false, "null is not empty text"},
        {u"Date like '*'", {text(u"")}, true, "empty text matches *"},
        {u"Date like '?'", {text(u"")}, false, "empty text lacks a character for ?"},
        {u"Name = ''", {text(u"")}, true, "empty equals empty"},
        {u"[Salary hour] = '100'", {QVariant(100.0)}, true, "amounts compare as amount text"},
        {u"[Salary hour] like '0.3'", {QVariant(0.1 + 0.2)}, true, "15 digits"},
        {u"[Salary hour] like '1E+15'", {QVariant(1e15)}, true, "large amounts"},
        {u"[Salary hour] like '1*'", {QVariant(qlonglong(150))}, true, "whole numbers"},
        {u"Date like '*2002/1*' AND Name like '*an*'",
         {text(u"2002/10/3"), text(u"Joanna")},
         true,
         "both conditions hold"},
        {u"Date like '*2002/1*' AND Name like '*an*'",
         {text(u"2002/10/3"), text(u"Tovena")},
         false,
         "the second condition fails"},
        {u"Date like '*2002/1*' AND Name like '*an*'",
         {text(u"2002/2/3"), text(u"Joanna")},
         false,
         "the first condition fails"},
        {u"Date like '*2002/1*' AND Name like '*an*'",
         {text(u"2002/10/3"), QVariant()},
         false,
         "a null in the second column"},
        {u"Date like '*' AND Name like '*'",
         {text(u"2002/10/3")},
         false,
         "a value not supplied counts as null"},
    };
    return cases;
}

class CriterionMatch : public ::testing::TestWithParam<MatchCase> {};

TEST_P(CriterionMatch, DecidesByTheRowsValues) {
    const MatchCase& c = GetParam();
    EXPECT_EQ(Criterion::parse(q(c.criterion)).matches(c.values), c.matches);
}

INSTANTIATE_TEST_SUITE_P(Table, CriterionMatch, ::testing::ValuesIn(matchCases()));

TEST(CriteriaText, ShowsValuesAsTheFieldsDo) {
    EXPECT_EQ(ledger::criteriaText(QVariant(q(u"2002/2/12"))), q(u"2002/2/12"));
    EXPECT_EQ(ledger::criteriaText(QVariant(1234.5)), q(u"1234.5"));
    EXPECT_EQ(ledger::criteriaText(QVariant(0.1 + 0.2)), q(u"0.3"));
    EXPECT_EQ(ledger::criteriaText(QVariant(1.5e16)), q(u"1.5E+16"));
    EXPECT_EQ(ledger::criteriaText(QVariant(qlonglong(42))), q(u"42"));
    EXPECT_TRUE(ledger::criteriaText(QVariant()).isNull());
    EXPECT_TRUE(ledger::criteriaText(QVariant(QMetaType::fromType<double>())).isNull());
    const QString empty = ledger::criteriaText(QVariant(q(u"")));
    EXPECT_TRUE(empty.isEmpty());
    EXPECT_FALSE(empty.isNull());
}

}  // namespace

namespace {

// A name put into a criterion quoted and as a literal pattern finds that very
// name, whatever it holds, and no other name its pattern characters would
// have matched.
struct ExactNameCase {
    const char16_t* name;
    const char16_t* nearMiss;  // matched if the name were read as a pattern
};

void PrintTo(const ExactNameCase& c, std::ostream* os) {
    *os << '"' << q(c.name).toStdString() << '"';
}

const ExactNameCase kExactNames[] = {
    {u"O'Brien", u"O"},      {u"D'Arcy d'Or", u"D"}, {u"Anna?", u"Annas"}, {u"*star", u"bigstar"},
    {u"#1", u"21"},          {u"Li [Sr]", u"Li S"},  {u"[[x", u"[x"},      {u"[!a]", u"b"},
    {u"100%", u"1000"},      {u"a_b", u"axb"},       {u"x]", u"x"},        {u"''", u"'"},
    {u"Tovena", u"Tovenas"},
};

class ExactName : public ::testing::TestWithParam<ExactNameCase> {};

TEST_P(ExactName, IsFoundByItsQuotedLiteralAndNothingElseIs) {
    const ExactNameCase& c = GetParam();
    const QString name = q(c.name);
    for (const QString& prefix : {QStringLiteral("Name like "), QStringLiteral("Name=")}) {
        const bool like = prefix.contains(QStringLiteral("like"));
        const Criterion criterion =
            Criterion::parse(prefix + ledger::quotedText(like ? ledger::likeLiteral(name) : name));
        EXPECT_TRUE(criterion.matches({QVariant(name)})) << prefix.toStdString();
        EXPECT_TRUE(criterion.matches({QVariant(name.toUpper())})) << "case is still ignored";
        EXPECT_FALSE(criterion.matches({QVariant(q(c.nearMiss))})) << prefix.toStdString();
    }
}

INSTANTIATE_TEST_SUITE_P(Table, ExactName, ::testing::ValuesIn(kExactNames));

}  // namespace
