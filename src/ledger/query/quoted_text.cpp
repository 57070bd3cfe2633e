// SPDX-License-Identifier: GPL-3.0-or-later
#include "ledger/query/quoted_text.h"

namespace ledger {

QString quotedText(const QString& text) {
    QString doubled = text;
    doubled.replace(QLatin1Char('\''), QStringLiteral("''"));
    return QLatin1Char('\'') + doubled + QLatin1Char('\'');
}

QString likeLiteral(const QString& text) {
    QString literal;
    literal.reserve(text.size());
    for (QChar c : text) {
        if (c == u'*' || c == u'?' || c == u'#' || c == u'[') {
            literal += u'[';
            literal += c;
            literal += u']';
        } else {
            literal += c;
        }
    }
    return literal;
}

}  // namespace ledger
