// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringView>
#include <vector>

#include "ledger/base/ledger_error.h"
#include "ledger/query/criteria.h"

namespace ledger::detail {

// One piece of a criterion or of the SELECT text.
struct Token {
    enum class Kind {
        Word,           // a bare name or keyword: letters, digits, _
        BracketedName,  // [Date per month], brackets removed
        Constant,       // 'text', apostrophes removed
        Equals,         // =
        Comma,          // ,
        Other,          // any other character: * ; ( - ... never part of the dialect
        End,
    };
    Kind kind = Kind::End;
    QString text;
    qsizetype begin = 0;  // offsets in the source text
    qsizetype end = 0;
};

// The tokens of a criterion or SELECT text and the parsing steps both share.
// Blanks between tokens are insignificant; a constant ends at the next
// apostrophe, so a keyword may follow it directly ('*2002/1*'AND). Every
// problem is reported as one error of `code`, quoting the whole text.
class TokenStream {
public:
    // `heading` starts every message, e.g. "Syntax error in the criterion".
    TokenStream(const QString& text, ErrorCode code, QString heading);

    const Token& peek() const { return tokens_[next_]; }
    Token take() { return tokens_[next_ < tokens_.size() - 1 ? next_++ : next_]; }
    bool atEnd() const { return peek().kind == Token::Kind::End; }

    // True (and consumed) when the next token is of that kind.
    bool accept(Token::Kind kind);
    // True (and consumed) when the next token is the keyword, any case.
    bool acceptKeyword(QStringView keyword);
    void expectKeyword(QStringView keyword, QStringView after);

    // A column or source name: bracketed, or a bare word that is no keyword.
    QString expectName(QStringView what);

    // column like 'pattern' | column = 'text'
    Condition expectCondition();

    // Reports `reason` about the next token (and `note` after it) and throws.
    [[noreturn]] void rejectNext(const QString& reason, const QString& note = QString()) const;
    [[noreturn]] void reject(const QString& reason) const;

    // How the next token reads in a message: "'Brien'", "the end of the text".
    QString describeNext() const;

private:
    void tokenize();

    QString text_;
    ErrorCode code_;
    QString heading_;
    std::vector<Token> tokens_;
    std::size_t next_ = 0;
};

bool isKeyword(const Token& token, QStringView keyword);

}  // namespace ledger::detail
