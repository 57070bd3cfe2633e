// SPDX-License-Identifier: GPL-3.0-or-later
#include "ledger/query/select_text.h"

#include <QChar>

#include "ledger/query/criteria_tokens.h"

namespace ledger {

// Only the shape the wage-detail window composes is accepted, and its parts
// are evaluated by our own code: whatever a user types into the month or name
// pattern can never become SQL of its own (a second statement, UNION, a
// subquery, a comment) and can never reach another table.
SelectText SelectText::parse(const QString& text) {
    detail::TokenStream tokens(text, ErrorCode::MalformedQuery, QStringLiteral("Malformed query"));
    SelectText select;

    tokens.expectKeyword(u"SELECT", u"the start of the query");
    do {
        select.columns.append(tokens.expectName(u"a column name"));
    } while (tokens.accept(detail::Token::Kind::Comma));

    tokens.expectKeyword(u"FROM", u"the column list");
    select.source = tokens.expectName(u"the name of a table or saved query");

    if (tokens.acceptKeyword(u"WHERE")) {
        do {
            select.where.conditions.push_back(tokens.expectCondition());
        } while (tokens.acceptKeyword(u"AND"));
    }

    if (tokens.acceptKeyword(u"ORDER")) {
        tokens.expectKeyword(u"BY", u"ORDER");
        select.orderBy = tokens.expectName(u"a column name");
    }

    if (!tokens.atEnd())
        tokens.rejectNext(
            QStringLiteral("the query must end after its WHERE conditions and "
                           "ORDER BY column"));
    return select;
}

bool SelectText::looksLikeSelect(const QString& text) {
    // "Select" alone is the name of the lookup row set, not a query.
    const QStringView trimmed = QStringView(text).trimmed();
    constexpr QStringView keyword = u"select";
    if (trimmed.size() <= keyword.size()) return false;
    if (!trimmed.startsWith(keyword, Qt::CaseInsensitive)) return false;
    const QChar after = trimmed[keyword.size()];
    return !(after.isLetterOrNumber() || after == u'_');
}

}  // namespace ledger
