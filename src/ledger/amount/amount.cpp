// SPDX-License-Identifier: GPL-3.0-or-later
#include "ledger/amount/amount.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <string>
#include <system_error>

#include "ledger/base/ledger_error.h"

// Reading amounts works on plain ASCII with std::from_chars. Once a
// QApplication exists, the C library's LC_NUMERIC follows the user's locale,
// so strtod would read "1,5" on a German desktop; the shop's figures must not
// change with the desktop's language.

namespace ledger {

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

void appendInteger(std::string& out, long value) {
    char buffer[24];
    auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value);
    out.append(buffer, end);
}

// The pieces of a decimal number as it was written, before conversion.
struct DecimalPieces {
    bool negative = false;
    std::string integerDigits;
    std::string fractionDigits;
    long exponent = 0;  // already clamped to a range from_chars handles
};

// Exponents far beyond a double's range all mean the same thing (overflow or
// zero); clamping keeps the text we hand to from_chars short.
constexpr long kExponentClamp = 100000;

bool hasDigits(const DecimalPieces& p) {
    return !p.integerDigits.empty() || !p.fractionDigits.empty();
}

bool isAllZero(const DecimalPieces& p) {
    for (char c : p.integerDigits)
        if (c != '0') return false;
    for (char c : p.fractionDigits)
        if (c != '0') return false;
    return true;
}

// Decimal position of the leading non-zero digit (1 for 1..9, 0 for 0.1..0.9);
// tells an overflow from an underflow when from_chars reports out of range.
long leadingDigitPosition(const DecimalPieces& p) {
    std::size_t firstNonZero = p.integerDigits.find_first_not_of('0');
    if (firstNonZero != std::string::npos)
        return static_cast<long>(p.integerDigits.size() - firstNonZero) + p.exponent;
    std::size_t leadingZeros = p.fractionDigits.find_first_not_of('0');
    return -static_cast<long>(leadingZeros) + p.exponent;
}

enum class Conversion { Ok, Overflow };

// Converts the pieces to a double. Values too small for a double become 0.
Conversion convert(const DecimalPieces& p, double& out) {
    if (isAllZero(p)) {
        out = 0.0;
        return Conversion::Ok;
    }
    std::string text;
    text.reserve(p.integerDigits.size() + p.fractionDigits.size() + 16);
    if (p.negative) text += '-';
    text += p.integerDigits.empty() ? std::string("0") : p.integerDigits;
    if (!p.fractionDigits.empty()) {
        text += '.';
        text += p.fractionDigits;
    }
    text += 'e';
    appendInteger(text, p.exponent);

    double value = 0.0;
    auto [end, ec] =
        std::from_chars(text.data(), text.data() + text.size(), value, std::chars_format::general);
    if (ec == std::errc::result_out_of_range) {
        if (leadingDigitPosition(p) > 0) return Conversion::Overflow;
        out = 0.0;
        return Conversion::Ok;
    }
    if (ec != std::errc() || end != text.data() + text.size()) {
        out = 0.0;  // cannot happen for the text built above
        return Conversion::Ok;
    }
    out = value + 0.0;  // no negative zero: "-0" reads as 0
    return Conversion::Ok;
}

// Reads the digits of an exponent from `pos`, clamping the magnitude.
long readExponentDigits(const std::string& s, std::size_t& pos) {
    long magnitude = 0;
    while (pos < s.size() && isDigit(s[pos])) {
        if (magnitude < kExponentClamp) magnitude = magnitude * 10 + (s[pos] - '0');
        ++pos;
    }
    return magnitude;
}

// The field's text without blanks, tabs and line feeds, cut at the first
// character that is not ASCII (none of which can continue a number).
std::string compactAscii(QStringView text) {
    std::string s;
    s.reserve(static_cast<std::size_t>(text.size()));
    for (QChar c : text) {
        char16_t u = c.unicode();
        if (u == u' ' || u == u'\t' || u == u'\n') continue;
        if (u >= 0x80) break;
        s += static_cast<char>(u);
    }
    return s;
}

int hexDigitValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// &H and &O numbers are whole numbers of the runtime's integer kinds: up to
// &HFFFF they are 16-bit and wrap to negative from &H8000, up to &HFFFFFFFF
// 32-bit and wrap from &H80000000; anything larger does not fit.
double readRadixNumber(const std::string& s, std::size_t pos, int radix) {
    std::uint64_t value = 0;
    for (; pos < s.size(); ++pos) {
        int digit = hexDigitValue(s[pos]);
        if (digit < 0 || digit >= radix) break;
        value = value * static_cast<std::uint64_t>(radix) + static_cast<std::uint64_t>(digit);
        if (value > 0xFFFFFFFFull) fail(ErrorCode::Overflow, QStringLiteral("Overflow"));
    }
    if (value <= 0xFFFFull) return static_cast<std::int16_t>(static_cast<std::uint16_t>(value));
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(value));
}

bool startsWithPrefix(const std::string& s, char upper) {
    return s.size() >= 2 && s[0] == '&' && (s[1] == upper || s[1] == upper + ('a' - 'A'));
}

// Reads sign, digits with one point and an exponent from the front of `s`,
// Val-style: reading stops at the first character that cannot continue.
DecimalPieces readLeadingDecimal(const std::string& s) {
    DecimalPieces p;
    std::size_t pos = 0;
    if (pos < s.size() && (s[pos] == '+' || s[pos] == '-')) p.negative = s[pos++] == '-';
    while (pos < s.size() && isDigit(s[pos])) p.integerDigits += s[pos++];
    if (pos < s.size() && s[pos] == '.') {
        ++pos;
        while (pos < s.size() && isDigit(s[pos])) p.fractionDigits += s[pos++];
    }
    if (!hasDigits(p)) return p;
    if (pos < s.size() && (s[pos] == 'e' || s[pos] == 'E' || s[pos] == 'd' || s[pos] == 'D')) {
        std::size_t look = pos + 1;
        bool negativeExponent = false;
        if (look < s.size() && (s[look] == '+' || s[look] == '-'))
            negativeExponent = s[look++] == '-';
        if (look < s.size() && isDigit(s[look])) {
            long magnitude = readExponentDigits(s, look);
            p.exponent = negativeExponent ? -magnitude : magnitude;
        }
        // "1e" or "1e+" without digits: the exponent is not part of the number
    }
    return p;
}

}  // namespace

double parseAmount(QStringView text) {
    const std::string s = compactAscii(text);
    if (startsWithPrefix(s, 'H')) return readRadixNumber(s, 2, 16);
    if (startsWithPrefix(s, 'O')) return readRadixNumber(s, 2, 8);

    const DecimalPieces pieces = readLeadingDecimal(s);
    if (!hasDigits(pieces)) return 0.0;
    double value = 0.0;
    if (convert(pieces, value) == Conversion::Overflow)
        fail(ErrorCode::Overflow, QStringLiteral("Overflow"));
    return value;
}

namespace {

// The text without the blanks, tabs and line feeds around it: exactly the
// characters the figures skip, so that a field the figures read as 0 (one
// starting with an ideographic space or a carriage return) is never stored
// as a number.
QStringView withoutSkippedEnds(QStringView text) {
    auto skipped = [](QChar c) { return c == u' ' || c == u'\t' || c == u'\n'; };
    qsizetype begin = 0, end = text.size();
    while (begin < end && skipped(text[begin])) ++begin;
    while (end > begin && skipped(text[end - 1])) --end;
    return text.mid(begin, end - begin);
}

}  // namespace

std::optional<StoredAmount> parseStoredAmount(QStringView text) {
    const QStringView trimmed = withoutSkippedEnds(text);
    if (trimmed.isEmpty()) return StoredAmount{true, 0.0};

    // Only the complete form amount text writes (and what people type like
    // it): sign, digits with at most one ".", an optional exponent. Anything
    // left over means the text is not a number for this column.
    std::string s;
    s.reserve(static_cast<std::size_t>(trimmed.size()));
    for (QChar c : trimmed) {
        if (c.unicode() >= 0x80) return std::nullopt;
        s += static_cast<char>(c.unicode());
    }

    DecimalPieces p;
    std::size_t pos = 0;
    if (s[pos] == '+' || s[pos] == '-') p.negative = s[pos++] == '-';
    while (pos < s.size() && isDigit(s[pos])) p.integerDigits += s[pos++];
    if (pos < s.size() && s[pos] == '.') {
        ++pos;
        while (pos < s.size() && isDigit(s[pos])) p.fractionDigits += s[pos++];
    }
    if (!hasDigits(p)) return std::nullopt;
    if (pos < s.size() && (s[pos] == 'e' || s[pos] == 'E')) {
        ++pos;
        bool negativeExponent = false;
        if (pos < s.size() && (s[pos] == '+' || s[pos] == '-')) negativeExponent = s[pos++] == '-';
        if (pos >= s.size() || !isDigit(s[pos])) return std::nullopt;
        long magnitude = readExponentDigits(s, pos);
        p.exponent = negativeExponent ? -magnitude : magnitude;
    }
    if (pos != s.size()) return std::nullopt;

    double value = 0.0;
    if (convert(p, value) == Conversion::Overflow) return std::nullopt;
    return StoredAmount{false, value};
}

}  // namespace ledger
