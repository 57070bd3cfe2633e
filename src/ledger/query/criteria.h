// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>
#include <QVariant>
#include <vector>

namespace ledger {

// LIKE as the ledger's criteria know it: * any run, ? any one character,
// # any one digit, [abc] / [a-z] / [!abc] one character of (or not of) a
// list; compared without regard to case (Unicode case folding).
bool likeMatches(QStringView value, QStringView pattern);

// One condition of a criterion: a column, "like" or "=", a text constant.
struct Condition {
    enum class Op { Like, Equal };
    QString column;  // as written, brackets removed
    Op op = Op::Like;
    QString literal;
};

// A criterion: one or more conditions joined by AND. Parsing is our own; the
// text never reaches the store as SQL. A malformed text (an apostrophe inside
// the constant, a missing operator, ...) throws SyntaxErrorInCriteria.
struct Criterion {
    std::vector<Condition> conditions;

    static Criterion parse(const QString& text);
    // Whether parse() would accept the text (no exception).
    static bool isWellFormed(const QString& text);

    // The columns named by the conditions, in order.
    QStringList columns() const;

    // `values[i]` is the value of `conditions[i].column` in the row; a null
    // value never matches.
    bool matches(const std::vector<QVariant>& values) const;
};

// Value of a stored cell as the criteria compare it: text as stored, numbers
// as amount text, null as null.
QString criteriaText(const QVariant& value);

}  // namespace ledger
