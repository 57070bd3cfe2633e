// SPDX-License-Identifier: GPL-3.0-or-later
// Amount parse and amount text: the two conversions every figure of every
// window goes through. Each table runs under the C locale and under a German
// desktop (comma as the decimal point in the C library, and as Qt's default
// locale), because a figure must read and write the same on every desktop.

#include "ledger/amount/amount.h"

#include <gtest/gtest.h>

#include <QLocale>
#include <QRegularExpression>
#include <QString>
#include <cfloat>
#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>
#include <numbers>
#include <ostream>
#include <random>
#include <string>

#include "ledger/base/ledger_error.h"

namespace {

using ledger::ErrorCode;
using ledger::LedgerError;

// --- the desktops the figures are tried under --------------------------------

enum class Desktop { CLocale, GermanCLibrary, GermanQtDefault };

std::string desktopName(Desktop desktop) {
    switch (desktop) {
        case Desktop::CLocale:
            return "C";
        case Desktop::GermanCLibrary:
            return "GermanCLibrary";
        case Desktop::GermanQtDefault:
            return "GermanQtDefault";
    }
    return "?";
}

const Desktop kAllDesktops[] = {Desktop::CLocale, Desktop::GermanCLibrary,
                                Desktop::GermanQtDefault};

// Switches LC_NUMERIC and Qt's default locale for one test and restores both.
class DesktopLocale {
public:
    explicit DesktopLocale(Desktop desktop) : previousQt_(QLocale()) {
        const char* current = std::setlocale(LC_NUMERIC, nullptr);
        previousC_ = current ? current : "C";
        switch (desktop) {
            case Desktop::CLocale:
                applied_ = std::setlocale(LC_NUMERIC, "C") != nullptr;
                break;
            case Desktop::GermanCLibrary:
                applied_ = std::setlocale(LC_NUMERIC, "de_DE.UTF-8") != nullptr;
                break;
            case Desktop::GermanQtDefault:
                applied_ = std::setlocale(LC_NUMERIC, "de_DE.UTF-8") != nullptr;
                QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
                break;
        }
    }
    ~DesktopLocale() {
        std::setlocale(LC_NUMERIC, previousC_.c_str());
        QLocale::setDefault(previousQt_);
    }
    bool applied() const { return applied_; }

private:
    std::string previousC_;
    QLocale previousQt_;
    bool applied_ = false;
};

// Skips the German variants where the machine lacks the locale
// (apt-get install locales; de_DE.UTF-8 in /etc/locale.gen; locale-gen).
#define ENTER_DESKTOP(desktop)            \
    DesktopLocale desktopLocale(desktop); \
    if (!desktopLocale.applied())         \
        GTEST_SKIP() << "locale de_DE.UTF-8 is not installed on this machine";

// The German variants only prove something if the C library really writes a
// comma there; this is what strtod/printf would get wrong.
TEST(AmountLocale, GermanDesktopReallyUsesACommaInTheCLibrary) {
    ENTER_DESKTOP(Desktop::GermanCLibrary);
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.1f", 1.5);
    EXPECT_STREQ(buffer, "1,5");
    EXPECT_DOUBLE_EQ(std::strtod("1.5", nullptr), 1.0);
}

// --- amount parse ------------------------------------------------------------

struct ParseCase {
    const char16_t* text;
    double expected;
};

void PrintTo(const ParseCase& c, std::ostream* os) {
    *os << '"' << QString::fromUtf16(c.text).toStdString() << "\" -> " << c.expected;
}

const ParseCase kParseCases[] = {
    // the home runtime's own answers
    {u"1 2 3", 123},
    {u".5", 0.5},
    {u"1.1.1", 1.1},
    {u"1e-3", 0.001},
    {u"1D2", 100},
    {u"1e", 1},
    {u".", 0},
    {u"-", 0},
    {u"1,5", 1},
    {u"&H7F", 127},
    {u"&O177", 127},
    {u"&HFFFF", -1},
    // the rules as the windows rely on them
    {u"12.5", 12.5},
    {u"1 200", 1200},
    {u"12abc", 12},
    {u"3,5", 3},
    {u"", 0},
    {u"-3", -3},
    {u"1e3", 1000},
    {u"1234.50", 1234.5},
    {u"  42  ", 42},
    {u"\t1\n2", 12},
    {u"1\r2", 1},  // a carriage return is not a blank
    {u"- 5", -5},
    {u"12 . 5", 12.5},
    {u"1 e 3", 1000},
    {u"+7", 7},
    {u"-.25", -0.25},
    {u"1d-2", 0.01},
    {u"1E+2", 100},
    {u"1e+", 1},
    {u"1e-", 1},
    {u"1.5e3.2", 1500},
    {u"1.5x2", 1.5},
    {u"--5", 0},
    {u"+-5", 0},
    {u"abc", 0},
    {u",", 0},
    {u"\u00a012", 0},      // a no-break space is not a blank the runtime skips
    {u"\uff11\uff12", 0},  // full-width digits are not digits here
    {u"0.1", 0.1},
    {u"1e-400", 0},
    {u"0e999999", 0},
    {u"1.7976931348623157e308", DBL_MAX},
    {u"000000000000000000000000000001", 1},
    {u"0.000000000000000000000000000001e30", 1},
    // hexadecimal and octal whole numbers, 16 then 32 bits
    {u"&h7f", 127},
    {u"&o177", 127},
    {u"&H8000", -32768},
    {u"&H7FFF", 32767},
    {u"&H0FFFF", -1},
    {u"&H10000", 65536},
    {u"&H7FFFFFFF", 2147483647},
    {u"&H80000000", -2147483648.0},
    {u"&HFFFFFFFF", -1},
    {u"&O177777", -1},
    {u"&O200000", 65536},
    {u"&H 7 F", 127},
    {u"&H7FG", 127},
    {u"&H", 0},
    {u"&O8", 0},
    {u"&X1", 0},
    {u"&", 0},
    {u"-&H10", 0},
};

class AmountParse : public ::testing::TestWithParam<std::tuple<ParseCase, Desktop>> {};

TEST_P(AmountParse, ReadsTheLeadingNumber) {
    const auto& [c, desktop] = GetParam();
    ENTER_DESKTOP(desktop);
    const double value = ledger::parseAmount(QStringView(c.text));
    EXPECT_EQ(value, c.expected);
    EXPECT_FALSE(std::signbit(value) && value == 0) << "negative zero";
}

INSTANTIATE_TEST_SUITE_P(Table, AmountParse,
                         ::testing::Combine(::testing::ValuesIn(kParseCases),
                                            ::testing::ValuesIn(kAllDesktops)),
                         [](const auto& info) {
                             return "case" + std::to_string(info.index / std::size(kAllDesktops)) +
                                    "_" + desktopName(std::get<1>(info.param));
                         });

struct OverflowCase {
    const char16_t* text;
};

void PrintTo(const OverflowCase& c, std::ostream* os) {
    *os << '"' << QString::fromUtf16(c.text).toStdString() << '"';
}

const OverflowCase kOverflowCases[] = {
    {u"1e309"},       {u"-1e309"},        {u"1.8e308"}, {u"1D99999999999999999999"},
    {u"&H100000000"}, {u"&O40000000000"},
};

class AmountParseOverflow : public ::testing::TestWithParam<std::tuple<OverflowCase, Desktop>> {};

TEST_P(AmountParseOverflow, FailsWithOverflow) {
    const auto& [c, desktop] = GetParam();
    ENTER_DESKTOP(desktop);
    try {
        ledger::parseAmount(QStringView(c.text));
        FAIL() << "no error";
    } catch (const LedgerError& e) {
        EXPECT_EQ(e.code(), ErrorCode::Overflow);
        EXPECT_EQ(e.message(), QStringLiteral("Overflow"));
    }
}

INSTANTIATE_TEST_SUITE_P(Table, AmountParseOverflow,
                         ::testing::Combine(::testing::ValuesIn(kOverflowCases),
                                            ::testing::ValuesIn(kAllDesktops)));

TEST(AmountParseLong, AThousandDigitsOfTextReadLikeTheirLeadingValue) {
    const QString text = QStringLiteral("1") + QString(300, u'0') + QStringLiteral(".5");
    EXPECT_EQ(ledger::parseAmount(text), 1e300);
    EXPECT_THROW(ledger::parseAmount(QStringLiteral("1") + QString(400, u'0')), LedgerError);
}

// --- amount text -------------------------------------------------------------

struct TextCase {
    double value;
    const char* expected;
};

void PrintTo(const TextCase& c, std::ostream* os) {
    char buffer[40];
    std::snprintf(buffer, sizeof buffer, "%.17g", c.value);
    *os << buffer << " -> \"" << c.expected << '"';
}

const TextCase kTextCases[] = {
    // the home runtime's own answers
    {1e15, "1E+15"},
    {1.2e15, "1.2E+15"},
    {999999999999999.0, "999999999999999"},
    {std::numbers::pi, "3.14159265358979"},
    {2.0 / 3.0, "0.666666666666667"},
    {-0.0, "0"},
    {123456789012345678.0, "1.23456789012346E+17"},
    {0.1 + 0.2, "0.3"},
    {-0.5, "-0.5"},
    {1.0 / 3.0, "0.333333333333333"},
    // the rules as the windows rely on them
    {0, "0"},
    {1234.50, "1234.5"},
    {100, "100"},
    {10, "10"},
    {-3, "-3"},
    {1.5e16, "1.5E+16"},
    {-1.5e16, "-1.5E+16"},
    {1e14, "100000000000000"},
    {99999999999999.9, "99999999999999.9"},
    {999999999999999.9, "1E+15"},  // rounds up into the next decade
    {12345678901234.5, "12345678901234.5"},
    {0.0001, "0.0001"},
    {0.000123, "0.000123"},
    {0.00001, "1E-05"},
    {-0.00001, "-1E-05"},
    {1.23456e-7, "1.23456E-07"},
    {0.00009999999999999999, "0.0001"},
    {1e100, "1E+100"},
    {-1e-100, "-1E-100"},
    // the largest numbers are cut, not rounded, to stay within the range
    {DBL_MAX, "1.79769313486231E+308"},
    {-DBL_MAX, "-1.79769313486231E+308"},
    {1.7976931348623155e308, "1.79769313486231E+308"},  // the second largest
    {1.7976931348623149e308, "1.79769313486231E+308"},  // the fifth: rounds as any other
    {1.797693134862305e308, "1.7976931348623E+308"},
    {5e-324, "4.94065645841247E-324"},
    {-1234567, "-1234567"},
    {0.5, "0.5"},
    {1.05, "1.05"},
    {2.675, "2.675"},
    {1e15 - 1, "999999999999999"},
    // exactly halfway between two 15-digit neighbours: away from zero
    {8895923031429805.0, "8.89592303142981E+15"},
    {-8895923031429805.0, "-8.89592303142981E+15"},
    {672199367422884.5, "672199367422885"},
    {-672199367422884.5, "-672199367422885"},
    {999999999999999.5, "1E+15"},
    {1000000000000002.5, "1E+15"},  // not halfway: 2.5 is beyond the 16th digit
    {8895923031429804.0, "8.8959230314298E+15"},
};

class AmountText : public ::testing::TestWithParam<std::tuple<TextCase, Desktop>> {};

TEST_P(AmountText, WritesFifteenSignificantDigits) {
    const auto& [c, desktop] = GetParam();
    ENTER_DESKTOP(desktop);
    EXPECT_EQ(ledger::amountText(c.value).toStdString(), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Table, AmountText,
                         ::testing::Combine(::testing::ValuesIn(kTextCases),
                                            ::testing::ValuesIn(kAllDesktops)),
                         [](const auto& info) {
                             return "case" + std::to_string(info.index / std::size(kAllDesktops)) +
                                    "_" + desktopName(std::get<1>(info.param));
                         });

// --- the strict form an amount column accepts on write-back ------------------

struct StoredCase {
    const char16_t* text;
    bool accepted;
    bool empty;
    double value;
};

void PrintTo(const StoredCase& c, std::ostream* os) {
    *os << '"' << QString::fromUtf16(c.text).toStdString() << '"';
}

const StoredCase kStoredCases[] = {
    {u"", true, true, 0},
    {u"   ", true, true, 0},
    {u"\t", true, true, 0},
    {u"12.5", true, false, 12.5},
    {u" 12.5 ", true, false, 12.5},
    {u"-3", true, false, -3},
    {u"+3", true, false, 3},
    {u".5", true, false, 0.5},
    {u"5.", true, false, 5},
    {u"-0", true, false, 0},
    {u"1E+15", true, false, 1e15},
    {u"1e-05", true, false, 1e-5},
    {u"1.23456789012346E+17", true, false, 1.23456789012346e17},
    {u"1e-400", true, false, 0},
    {u"\n5\n", true, false, 5},
    // characters the figures do not skip: they read such text as 0, so it
    // must not be stored as a number either
    {u"\u300012", false, false, 0},
    {u"\r12", false, false, 0},
    {u"12\r", false, false, 0},
    {u"\u00a012", false, false, 0},
    // not a complete number with "." as the decimal point
    {u"1,5", false, false, 0},
    {u"1.000,5", false, false, 0},
    {u"12abc", false, false, 0},
    {u"1 200", false, false, 0},
    {u".", false, false, 0},
    {u"-", false, false, 0},
    {u"1e", false, false, 0},
    {u"1e+", false, false, 0},
    {u"1 e5", false, false, 0},
    {u"1.2.3", false, false, 0},
    {u"--1", false, false, 0},
    {u"&H10", false, false, 0},
    {u"1D2", false, false, 0},
    {u"abc", false, false, 0},
    {u"\uff11\uff12", false, false, 0},
    {u"1e309", false, false, 0},
    {u"-1e309", false, false, 0},
};

class StoredAmountForm : public ::testing::TestWithParam<std::tuple<StoredCase, Desktop>> {};

// What the write-back stores is what the figures count: every text the
// stored form accepts reads as the same number in a figure.
TEST(StoredAmountAgreement, EveryAcceptedTextCountsTheSameInTheFigures) {
    for (const StoredCase& c : kStoredCases) {
        const auto stored = ledger::parseStoredAmount(QStringView(c.text));
        if (!stored || stored->isEmpty) continue;
        EXPECT_EQ(ledger::parseAmount(QStringView(c.text)), stored->value)
            << QString::fromUtf16(c.text).toStdString();
    }
}

TEST_P(StoredAmountForm, AcceptsOnlyACompleteNumber) {
    const auto& [c, desktop] = GetParam();
    ENTER_DESKTOP(desktop);
    const auto stored = ledger::parseStoredAmount(QStringView(c.text));
    ASSERT_EQ(stored.has_value(), c.accepted);
    if (!stored) return;
    EXPECT_EQ(stored->isEmpty, c.empty);
    if (!c.empty) {
        EXPECT_EQ(stored->value, c.value);
        EXPECT_FALSE(std::signbit(stored->value) && stored->value == 0) << "negative zero";
    }
}

INSTANTIATE_TEST_SUITE_P(Table, StoredAmountForm,
                         ::testing::Combine(::testing::ValuesIn(kStoredCases),
                                            ::testing::ValuesIn(kAllDesktops)));

// --- round trips over many values --------------------------------------------

// What amount text must give back: the value to 15 significant digits,
// computed by Qt's own conversion, which never looks at the locale.
double roundedTo15Digits(double x) { return QString::number(x, 'g', 15).toDouble(); }

int significantDigits(const QString& text) {
    QString mantissa = text.section(u'E', 0, 0);
    mantissa.remove(u'-').remove(u'.');
    while (mantissa.startsWith(u'0') && mantissa.size() > 1) mantissa.remove(0, 1);
    return static_cast<int>(mantissa.size());
}

std::vector<double> sampleValues() {
    std::mt19937_64 random(20020212);
    std::vector<double> values;
    // any bit pattern that is a finite double
    while (values.size() < 20000) {
        double x;
        const std::uint64_t bits = random();
        std::memcpy(&x, &bits, sizeof x);
        if (std::isfinite(x)) values.push_back(x);
    }
    // magnitudes spread evenly over the decades a ledger and beyond can reach
    std::uniform_real_distribution<double> decade(-12, 22);
    std::uniform_real_distribution<double> sign(-1, 1);
    for (int i = 0; i < 20000; ++i)
        values.push_back(std::copysign(std::pow(10.0, decade(random)), sign(random)));
    // amounts as people type them: cents
    std::uniform_int_distribution<long long> cents(-100000000, 100000000);
    for (int i = 0; i < 20000; ++i) values.push_back(static_cast<double>(cents(random)) / 100.0);
    return values;
}

class AmountRoundTrip : public ::testing::TestWithParam<Desktop> {};

TEST_P(AmountRoundTrip, ParseOfTextGivesTheValueTo15Digits) {
    ENTER_DESKTOP(GetParam());
    static const QRegularExpression shape(
        QStringLiteral("^-?(0|[1-9][0-9]*)(\\.[0-9]*[1-9])?(E[+-][0-9]{2,3})?$"));
    int failures = 0;
    for (double x : sampleValues()) {
        const QString text = ledger::amountText(x);
        const double expected = roundedTo15Digits(x);
        const double parsed = ledger::parseAmount(text);
        const auto stored = ledger::parseStoredAmount(text);
        const double magnitude = std::fabs(expected);
        const bool scientific = magnitude != 0 && (magnitude >= 1e15 || magnitude < 1e-4);
        const bool ok = parsed == expected && stored && !stored->isEmpty &&
                        stored->value == expected && shape.match(text).hasMatch() &&
                        significantDigits(text) <= 15 && text.contains(u'E') == scientific;
        if (!ok && ++failures <= 10)
            ADD_FAILURE() << QString::number(x, 'g', 17).toStdString() << " wrote \""
                          << text.toStdString() << "\", read back "
                          << QString::number(parsed, 'g', 17).toStdString() << ", expected "
                          << QString::number(expected, 'g', 17).toStdString();
    }
    EXPECT_EQ(failures, 0);
}

INSTANTIATE_TEST_SUITE_P(Desktops, AmountRoundTrip, ::testing::ValuesIn(kAllDesktops),
                         [](const auto& info) { return desktopName(info.param); });

// Every figure shown reads back as a number, the largest there are
// included: eight of them each side would round past the largest number to
// 1.79769313486232E+308 and read back as an overflow.
TEST(AmountText, TheLargestNumbersReadBackAsNumbers) {
    double value = DBL_MAX;
    for (int i = 0; i < 8; ++i, value = std::nextafter(value, 0.0)) {
        for (const double signed_ : {value, -value}) {
            const QString text = ledger::amountText(signed_);
            double parsed = 0;
            EXPECT_NO_THROW(parsed = ledger::parseAmount(text)) << text.toStdString();
            EXPECT_LE(std::fabs(parsed - signed_), 1e294) << text.toStdString();
            EXPECT_TRUE(ledger::parseStoredAmount(text).has_value()) << text.toStdString();
        }
    }
}

}  // namespace
