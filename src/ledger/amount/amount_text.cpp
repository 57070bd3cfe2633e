// SPDX-License-Identifier: GPL-3.0-or-later
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <system_error>

#include "ledger/amount/amount.h"

// Amount text is written with std::to_chars, never printf or QLocale: the
// decimal point is "." on every desktop.

namespace ledger {

namespace {

// A finite, non-zero double to 15 significant digits:
// value ≈ d.dddddddddddddd × 10^exponent.
struct Rounded {
    bool negative = false;
    char digits[15] = {};
    int exponent = 0;
};

// The value in scientific form with `count` significant digits, correctly
// rounded (ties to even), or (`count` 0) with the fewest digits that read
// back as the same double, at most 17; returns the number of digits written.
int scientificDigits(double value, int count, char* digits, int& exponent, bool& negative) {
    // The exact expansion of a double has at most 767 significant digits.
    char buffer[800];
    auto [end, ec] = count > 0 ? std::to_chars(buffer, buffer + sizeof buffer, value,
                                               std::chars_format::scientific, count - 1)
                               : std::to_chars(buffer, buffer + sizeof buffer, value,
                                               std::chars_format::scientific);
    if (ec != std::errc()) return 0;
    const int most = count > 0 ? count : 17;
    const char* p = buffer;
    negative = *p == '-';
    if (negative) ++p;
    int written = 0;
    for (; p < end && *p != 'e'; ++p)
        if (*p >= '0' && *p <= '9' && written < most) digits[written++] = *p;
    exponent = 0;
    if (p < end && *p == 'e') std::from_chars(p[1] == '+' ? p + 2 : p + 1, end, exponent);
    return written;
}

// Adds one unit in the 15th digit, carrying into a new leading digit.
void roundUp(Rounded& rounded) {
    int i = 14;
    while (i >= 0 && rounded.digits[i] == '9') rounded.digits[i--] = '0';
    if (i >= 0) {
        ++rounded.digits[i];
        return;
    }
    rounded.digits[0] = '1';  // 9.99...9 became 10.00...0
    ++rounded.exponent;
}

// Whether the exact value lies above, on or below the point halfway between
// its two 15-digit neighbours, judged from all of its decimal digits.
int compareWithHalfway(double value) {
    static constexpr int kAllDigits = 770;
    char digits[kAllDigits];
    int exponent = 0;
    bool negative = false;
    const int count = scientificDigits(value, kAllDigits, digits, exponent, negative);
    if (count <= 15 || digits[15] != '5') return count > 15 && digits[15] > '5' ? 1 : -1;
    for (int i = 16; i < count; ++i)
        if (digits[i] != '0') return 1;
    return 0;
}

// Fifteen significant digits, a value exactly halfway rounded away from zero
// as people (and the shop's calculator) round. Seventeen digits decide every
// case but the one where they read ...50 at the end, which only the exact
// expansion can settle.
Rounded roundTo15Digits(double value) {
    Rounded rounded;
    // Nearly every figure a shop stores (2.5, 0.1, 1380) reads back from 15
    // digits or fewer, and then its shortest text is its 15-digit rounding
    // already: a normal double is finer than 15 digits, so no other 15-digit
    // number lies as near. The shortest text is also by far the quickest to
    // write. Not so below the smallest normal number, whose doubles hold
    // fewer digits: 5E-324 is 4.94065645841247E-324.
    char shortest[17];
    const int shortestCount =
        scientificDigits(value, 0, shortest, rounded.exponent, rounded.negative);
    const bool normal = std::fabs(value) >= std::numeric_limits<double>::min();
    if (normal && shortestCount > 0 && shortestCount <= 15) {
        for (int i = 0; i < 15; ++i) rounded.digits[i] = i < shortestCount ? shortest[i] : '0';
        return rounded;
    }
    char seventeen[17];
    const int count = scientificDigits(value, 17, seventeen, rounded.exponent, rounded.negative);
    for (int i = 0; i < 15; ++i) rounded.digits[i] = i < count ? seventeen[i] : '0';
    const bool halfwayAtSeventeen = seventeen[15] == '5' && seventeen[16] == '0';
    const bool up = halfwayAtSeventeen ? compareWithHalfway(value) >= 0 : seventeen[15] >= '5';
    // The few largest numbers (1.7976931348623157E+308 and its neighbours)
    // would round to 1.79769313486232E+308, beyond the range of a number: a
    // figure shown must read back as a number, so they are cut to
    // 1.79769313486231E+308 instead.
    const bool beyondRange =
        rounded.exponent == 308 && std::memcmp(rounded.digits, "179769313486231", 15) >= 0;
    if (up && !beyondRange) roundUp(rounded);
    return rounded;
}

// The longest text: "-1.23456789012346E-308" and a little room.
class TextBuffer {
public:
    void add(char c) { chars_[size_++] = c; }
    void add(const char* text, int count) {
        for (int i = 0; i < count; ++i) add(text[i]);
    }
    void addZeros(int count) {
        for (int i = 0; i < count; ++i) add('0');
    }
    QString toQString() const { return QString::fromLatin1(chars_, size_); }

private:
    char chars_[48];
    int size_ = 0;
};

// A whole number of cents below 1E+13, written at once: most of a shop's
// figures are such, and an export writes millions of them. Such a value is
// the nearest double to the decimal number of its cents, so that decimal,
// of 15 digits or fewer, is its 15-digit rounding. False for any other.
bool writeCents(double value, TextBuffer& out) {
    if (!(std::fabs(value) < 1e13)) return false;
    const long long cents = std::llround(value * 100.0);
    if (cents == 0 || static_cast<double>(cents) / 100.0 != value) return false;
    if (cents < 0) out.add('-');
    const unsigned long long magnitude = cents < 0 ? 0ULL - static_cast<unsigned long long>(cents)
                                                   : static_cast<unsigned long long>(cents);
    char whole[24];
    auto [end, ec] = std::to_chars(whole, whole + sizeof whole, magnitude / 100);
    out.add(whole, static_cast<int>(end - whole));
    const int fraction = static_cast<int>(magnitude % 100);
    if (fraction != 0) {
        out.add('.');
        out.add(static_cast<char>('0' + fraction / 10));
        if (fraction % 10 != 0) out.add(static_cast<char>('0' + fraction % 10));
    }
    return true;
}

}  // namespace

QString amountText(double value) {
    if (std::isnan(value)) return QStringLiteral("NaN");
    if (std::isinf(value))
        return value > 0 ? QStringLiteral("Infinity") : QStringLiteral("-Infinity");
    if (value == 0.0) return QStringLiteral("0");  // also -0
    if (TextBuffer cents; writeCents(value, cents)) return cents.toQString();

    const Rounded rounded = roundTo15Digits(value);
    const char* digits = rounded.digits;
    int count = 15;
    while (count > 1 && digits[count - 1] == '0') --count;  // no trailing zeros
    const int exponent = rounded.exponent;

    TextBuffer out;
    if (rounded.negative) out.add('-');
    if (exponent >= 15 || exponent < -4) {
        // 1E+15, 1.5E+16, 1E-05: mantissa, E, sign, at least two digits
        out.add(digits[0]);
        if (count > 1) {
            out.add('.');
            out.add(digits + 1, count - 1);
        }
        out.add('E');
        out.add(exponent < 0 ? '-' : '+');
        const int magnitude = std::abs(exponent);
        if (magnitude < 10) out.add('0');
        char number[8];
        auto [end, ec] = std::to_chars(number, number + sizeof number, magnitude);
        out.add(number, static_cast<int>(end - number));
    } else if (exponent >= 0) {
        const int wholeCount = exponent + 1;
        if (count <= wholeCount) {
            out.add(digits, count);
            out.addZeros(wholeCount - count);
        } else {
            out.add(digits, wholeCount);
            out.add('.');
            out.add(digits + wholeCount, count - wholeCount);
        }
    } else {
        out.add("0.", 2);
        out.addZeros(-exponent - 1);
        out.add(digits, count);
    }
    return out.toQString();
}

}  // namespace ledger
