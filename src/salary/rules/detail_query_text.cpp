// SPDX-License-Identifier: GPL-3.0-or-later
#include "salary/rules/detail_query_text.h"

#include "ledger/query/like_match.h"
#include "ledger/query/quoted_text.h"

namespace salary {

QString composeDetailQuery(const QString& monthPattern, const QString& namePattern) {
    // Piece for piece as the shop's query reads; the engine takes a quoted
    // text directly followed by a keyword as two tokens, so no blank is added.
    // An apostrophe in a pattern is written twice: a letter of the pattern,
    // never the end of its text.
    return QStringLiteral(
               "SELECT Date,Name,[Main hour],[Work overtime],Absent,[Ask for leave],"
               "[Daily settlement of accounts] FROM [Inquiry Detail] WHERE Date LIKE ") +
           ledger::quotedText(QStringLiteral("*") + monthPattern + QStringLiteral("*")) +
           QStringLiteral("AND Name LIKE") +
           ledger::quotedText(QStringLiteral("*") + namePattern + QStringLiteral("*")) +
           QStringLiteral("order by Date");
}

const QStringList& detailColumns() {
    static const QStringList columns = {QStringLiteral("Date"),
                                        QStringLiteral("Name"),
                                        QStringLiteral("Main hour"),
                                        QStringLiteral("Work overtime"),
                                        QStringLiteral("Absent"),
                                        QStringLiteral("Ask for leave"),
                                        QStringLiteral("Daily settlement of accounts")};
    return columns;
}

QString patternProblem(const QString& pattern) {
    if (!ledger::isValidLikePattern(QStringLiteral("*") + pattern + QStringLiteral("*")))
        return QStringLiteral(
            "it has a [ list that is not closed with ], or a range that runs backwards "
            "(write [a-z], not [z-a])");
    return {};
}

}  // namespace salary
