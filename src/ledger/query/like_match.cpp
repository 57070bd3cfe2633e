// SPDX-License-Identifier: GPL-3.0-or-later
#include "ledger/query/like_match.h"

#include <QChar>
#include <QString>

#include "ledger/query/criteria.h"

namespace ledger {

namespace {

// Composed and decomposed spellings of a letter only differ from U+0300 (the
// combining marks) on, so plain Latin text skips the normalising copy.
bool mayNeedNormalizing(QStringView s) {
    for (QChar c : s)
        if (c.unicode() >= 0x300) return true;
    return false;
}

bool hasWildcards(QStringView pattern) {
    for (QChar c : pattern) {
        const char16_t u = c.unicode();
        if (u == u'*' || u == u'?' || u == u'#' || u == u'[') return true;
    }
    return false;
}

char32_t fold(char32_t c) {
    if (c < 0x80) return (c >= 'A' && c <= 'Z') ? c + ('a' - 'A') : c;
    return QChar::toCaseFolded(c);
}

// The code point at `i` (a lone surrogate stands for itself) and where the
// next one starts.
char32_t codePointAt(QStringView s, qsizetype i, qsizetype& next) {
    const QChar c = s[i];
    if (c.isHighSurrogate() && i + 1 < s.size() && s[i + 1].isLowSurrogate()) {
        next = i + 2;
        return QChar::surrogateToUcs4(c, s[i + 1]);
    }
    next = i + 1;
    return c.unicode();
}

char32_t foldedAt(QStringView s, qsizetype i, qsizetype& next) {
    return fold(codePointAt(s, i, next));
}

// One step of a LIKE pattern.
struct PatternStep {
    enum class Kind {
        AnyRun,     // *
        AnyOne,     // ?
        Digit,      // #
        List,       // [abc] [a-z] [!abc]
        EmptyList,  // [] matches the empty text, so it is skipped
        Literal,
        Broken,  // a list that never closes or a range that runs backwards
    };
    Kind kind = Kind::Literal;
    qsizetype next = 0;       // where the following step starts
    char32_t literal = 0;     // folded
    qsizetype listBegin = 0;  // the list's characters, brackets and ! excluded
    qsizetype listEnd = 0;
    bool negated = false;
};

// Walks the characters of a list: single characters and ranges a-z. Calls
// `visit(lo, hi)` with folded bounds; stops when it returns true.
template <typename Visit>
bool forEachListItem(QStringView pattern, qsizetype begin, qsizetype end, Visit visit) {
    qsizetype i = begin;
    while (i < end) {
        qsizetype afterLow = 0;
        const char32_t low = foldedAt(pattern, i, afterLow);
        // A "-" between two characters makes a range; first or last it is itself.
        if (afterLow < end && pattern[afterLow] == u'-' && afterLow + 1 < end) {
            qsizetype afterHigh = 0;
            const char32_t high = foldedAt(pattern, afterLow + 1, afterHigh);
            if (visit(low, high)) return true;
            i = afterHigh;
        } else {
            if (visit(low, low)) return true;
            i = afterLow;
        }
    }
    return false;
}

PatternStep stepAt(QStringView pattern, qsizetype i) {
    PatternStep step;
    const QChar c = pattern[i];
    switch (c.unicode()) {
        case u'*':
            step.kind = PatternStep::Kind::AnyRun;
            step.next = i + 1;
            return step;
        case u'?':
            step.kind = PatternStep::Kind::AnyOne;
            step.next = i + 1;
            return step;
        case u'#':
            step.kind = PatternStep::Kind::Digit;
            step.next = i + 1;
            return step;
        case u'[': {
            qsizetype begin = i + 1;
            // "!" negates only when characters follow it: "[!]" is the "!" itself.
            if (begin + 1 < pattern.size() && pattern[begin] == u'!' &&
                pattern[begin + 1] != u']') {
                step.negated = true;
                ++begin;
            }
            const qsizetype close = pattern.indexOf(u']', begin);
            if (close < 0) {
                step.kind = PatternStep::Kind::Broken;
                step.next = pattern.size();
                return step;
            }
            step.next = close + 1;
            step.listBegin = begin;
            step.listEnd = close;
            if (begin == close) {
                step.kind = PatternStep::Kind::EmptyList;
                return step;
            }
            const bool backwardsRange = forEachListItem(
                pattern, begin, close, [](char32_t low, char32_t high) { return low > high; });
            step.kind = backwardsRange ? PatternStep::Kind::Broken : PatternStep::Kind::List;
            return step;
        }
        default:
            step.kind = PatternStep::Kind::Literal;
            step.literal = foldedAt(pattern, i, step.next);
            return step;
    }
}

bool stepAccepts(QStringView pattern, const PatternStep& step, char32_t folded) {
    switch (step.kind) {
        case PatternStep::Kind::AnyOne:
            return true;
        case PatternStep::Kind::Digit:
            return folded >= '0' && folded <= '9';
        case PatternStep::Kind::Literal:
            return folded == step.literal;
        case PatternStep::Kind::List: {
            const bool listed = forEachListItem(
                pattern, step.listBegin, step.listEnd,
                [folded](char32_t low, char32_t high) { return folded >= low && folded <= high; });
            return listed != step.negated;
        }
        default:
            return false;
    }
}

// Every step but "*" takes exactly one character, so remembering only the
// last "*" and letting it swallow one more character on a mismatch finds a
// match whenever there is one.
bool matchNormalized(QStringView value, QStringView pattern) {
    qsizetype v = 0;
    qsizetype p = 0;
    qsizetype afterStar = -1;  // pattern position after the last "*"
    qsizetype starValue = 0;   // value position that "*" has swallowed up to
    while (v < value.size()) {
        if (p < pattern.size()) {
            const PatternStep step = stepAt(pattern, p);
            if (step.kind == PatternStep::Kind::AnyRun) {
                afterStar = step.next;
                starValue = v;
                p = step.next;
                continue;
            }
            if (step.kind == PatternStep::Kind::EmptyList) {
                p = step.next;
                continue;
            }
            if (step.kind == PatternStep::Kind::Broken) return false;
            qsizetype nextValue = 0;
            const char32_t folded = foldedAt(value, v, nextValue);
            if (stepAccepts(pattern, step, folded)) {
                v = nextValue;
                p = step.next;
                continue;
            }
        }
        if (afterStar < 0) return false;
        codePointAt(value, starValue, starValue);
        v = starValue;
        p = afterStar;
    }
    while (p < pattern.size()) {
        const PatternStep step = stepAt(pattern, p);
        if (step.kind != PatternStep::Kind::AnyRun && step.kind != PatternStep::Kind::EmptyList)
            return false;
        p = step.next;
    }
    return true;
}

bool equalNormalized(QStringView a, QStringView b) {
    qsizetype i = 0;
    qsizetype j = 0;
    while (i < a.size() && j < b.size()) {
        if (foldedAt(a, i, i) != foldedAt(b, j, j)) return false;
    }
    return i == a.size() && j == b.size();
}

}  // namespace

bool isValidLikePattern(QStringView pattern) {
    for (qsizetype p = 0; p < pattern.size();) {
        const PatternStep step = stepAt(pattern, p);
        if (step.kind == PatternStep::Kind::Broken) return false;
        p = step.next;
    }
    return true;
}

bool likeMatches(QStringView value, QStringView pattern) {
    if (mayNeedNormalizing(value) || mayNeedNormalizing(pattern)) {
        const QString v = value.toString().normalized(QString::NormalizationForm_C);
        const QString p = pattern.toString().normalized(QString::NormalizationForm_C);
        return hasWildcards(p) ? matchNormalized(v, p) : equalNormalized(v, p);
    }
    // Every day and name lookup has no wildcard of its own: then it is the
    // plain comparison, and below U+0300 folding keeps every length.
    if (!hasWildcards(pattern))
        return value.size() == pattern.size() && equalNormalized(value, pattern);
    return matchNormalized(value, pattern);
}

bool textEqualsIgnoringCase(QStringView a, QStringView b) {
    if (mayNeedNormalizing(a) || mayNeedNormalizing(b)) {
        const QString na = a.toString().normalized(QString::NormalizationForm_C);
        const QString nb = b.toString().normalized(QString::NormalizationForm_C);
        return equalNormalized(na, nb);
    }
    return equalNormalized(a, b);
}

QString comparisonKey(QStringView text) {
    const QString composed = mayNeedNormalizing(text)
                                 ? text.toString().normalized(QString::NormalizationForm_C)
                                 : text.toString();
    QString key;
    key.reserve(composed.size());
    for (qsizetype i = 0; i < composed.size();) {
        const char32_t folded = foldedAt(composed, i, i);
        if (QChar::requiresSurrogates(folded)) {
            key += QChar(QChar::highSurrogate(folded));
            key += QChar(QChar::lowSurrogate(folded));
        } else {
            key += QChar(static_cast<char16_t>(folded));
        }
    }
    return key;
}

}  // namespace ledger
