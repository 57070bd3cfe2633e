// SPDX-License-Identifier: GPL-3.0-or-later
#include "ledger/query/criteria_tokens.h"

#include <QChar>

#include "ledger/query/like_match.h"

namespace ledger::detail {

namespace {

// Words that can never be a bare column or source name; in brackets they can.
constexpr QStringView kReservedWords[] = {u"SELECT", u"FROM", u"WHERE", u"AND", u"OR",
                                          u"NOT",    u"LIKE", u"ORDER", u"BY",  u"UNION"};

bool isWordChar(char32_t c) { return c == u'_' || QChar::isLetterOrNumber(c); }

char32_t codePointAt(const QString& s, qsizetype i, qsizetype& next) {
    if (s[i].isHighSurrogate() && i + 1 < s.size() && s[i + 1].isLowSurrogate()) {
        next = i + 2;
        return QChar::surrogateToUcs4(s[i], s[i + 1]);
    }
    next = i + 1;
    return s[i].unicode();
}

const QString kApostropheNote = QStringLiteral(
    " (an apostrophe inside a text between apostrophes is written twice: "
    "'O''Brien')");

}  // namespace

bool isKeyword(const Token& token, QStringView keyword) {
    return token.kind == Token::Kind::Word &&
           QStringView(token.text).compare(keyword, Qt::CaseInsensitive) == 0;
}

TokenStream::TokenStream(const QString& text, ErrorCode code, QString heading)
    : text_(text), code_(code), heading_(std::move(heading)) {
    tokenize();
}

void TokenStream::tokenize() {
    qsizetype i = 0;
    const qsizetype n = text_.size();
    while (i < n) {
        if (text_[i].isSpace()) {
            ++i;
            continue;
        }
        Token token;
        token.begin = i;
        const QChar c = text_[i];
        if (c == u'\'') {
            // Two apostrophes in a row inside the text stand for one: that is
            // how a name such as O'Brien is quoted ('O''Brien').
            QString constant;
            qsizetype at = i + 1;
            for (;;) {
                const qsizetype close = text_.indexOf(u'\'', at);
                if (close < 0)
                    reject(QStringLiteral("the apostrophe at position %1 opens a text that is "
                                          "never closed%2")
                               .arg(i + 1)
                               .arg(kApostropheNote));
                constant += QStringView(text_).mid(at, close - at);
                if (close + 1 < n && text_[close + 1] == u'\'') {
                    constant += u'\'';
                    at = close + 2;
                    continue;
                }
                at = close + 1;
                break;
            }
            token.kind = Token::Kind::Constant;
            token.text = constant;
            i = at;
        } else if (c == u'[') {
            const qsizetype close = text_.indexOf(u']', i + 1);
            if (close < 0)
                reject(QStringLiteral("the bracket at position %1 is never closed").arg(i + 1));
            token.kind = Token::Kind::BracketedName;
            token.text = text_.mid(i + 1, close - i - 1);
            if (token.text.trimmed().isEmpty())
                reject(QStringLiteral("the brackets at position %1 hold no name").arg(i + 1));
            i = close + 1;
        } else if (c == u'=') {
            token.kind = Token::Kind::Equals;
            token.text = QStringLiteral("=");
            ++i;
        } else if (c == u',') {
            token.kind = Token::Kind::Comma;
            token.text = QStringLiteral(",");
            ++i;
        } else {
            qsizetype next = 0;
            if (isWordChar(codePointAt(text_, i, next))) {
                token.kind = Token::Kind::Word;
                while (i < n) {
                    qsizetype after = 0;
                    if (!isWordChar(codePointAt(text_, i, after))) break;
                    i = after;
                }
            } else {
                token.kind = Token::Kind::Other;
                i = next;
            }
            token.text = text_.mid(token.begin, i - token.begin);
        }
        token.end = i;
        tokens_.push_back(std::move(token));
    }
    Token end;
    end.kind = Token::Kind::End;
    end.begin = end.end = n;
    tokens_.push_back(end);
}

bool TokenStream::accept(Token::Kind kind) {
    if (peek().kind != kind) return false;
    take();
    return true;
}

bool TokenStream::acceptKeyword(QStringView keyword) {
    if (!isKeyword(peek(), keyword)) return false;
    take();
    return true;
}

void TokenStream::expectKeyword(QStringView keyword, QStringView after) {
    if (!acceptKeyword(keyword))
        rejectNext(QStringLiteral("%1 expected after %2").arg(keyword, after));
}

QString TokenStream::expectName(QStringView what) {
    const Token& token = peek();
    if (token.kind == Token::Kind::BracketedName) return take().text;
    if (token.kind == Token::Kind::Word) {
        for (QStringView reserved : kReservedWords)
            if (isKeyword(token, reserved))
                rejectNext(QStringLiteral("%1 expected").arg(what),
                           QStringLiteral(" (a name that is also a keyword must be written in "
                                          "brackets)"));
        return take().text;
    }
    rejectNext(QStringLiteral("%1 expected").arg(what));
}

Condition TokenStream::expectCondition() {
    Condition condition;
    condition.column = expectName(u"a column name");
    if (acceptKeyword(u"like")) {
        condition.op = Condition::Op::Like;
    } else if (peek().kind == Token::Kind::Equals) {
        take();
        condition.op = Condition::Op::Equal;
    } else {
        rejectNext(QStringLiteral("like or = expected after the column name \"%1\"")
                       .arg(condition.column));
    }
    if (peek().kind != Token::Kind::Constant)
        rejectNext(QStringLiteral("a text between apostrophes expected after %1")
                       .arg(condition.op == Condition::Op::Like ? QStringLiteral("like")
                                                                : QStringLiteral("=")));
    condition.literal = take().text;
    if (condition.op == Condition::Op::Like && !isValidLikePattern(condition.literal))
        reject(QStringLiteral("the pattern '%1' has a [ list that is not closed or a range that "
                              "runs backwards")
                   .arg(condition.literal));
    return condition;
}

QString TokenStream::describeNext() const {
    const Token& token = peek();
    switch (token.kind) {
        case Token::Kind::End:
            return QStringLiteral("the end of the text");
        case Token::Kind::Constant:
            return QStringLiteral("the text '%1'").arg(token.text);
        case Token::Kind::BracketedName:
            return QStringLiteral("[%1]").arg(token.text);
        default:
            return QStringLiteral("\"%1\"").arg(token.text);
    }
}

void TokenStream::rejectNext(const QString& reason, const QString& note) const {
    QString message = QStringLiteral("%1, found %2").arg(reason, describeNext()) + note;
    // Text glued to the end of a constant is the usual sign of an apostrophe
    // typed inside it: 'O'Brien' reads as 'O' followed by Brien'.
    if (next_ > 0 && tokens_[next_ - 1].kind == Token::Kind::Constant &&
        tokens_[next_ - 1].end == peek().begin && !atEnd())
        message += kApostropheNote;
    reject(message);
}

void TokenStream::reject(const QString& reason) const {
    fail(code_, QStringLiteral("%1 \"%2\": %3.").arg(heading_, text_, reason));
}

}  // namespace ledger::detail
