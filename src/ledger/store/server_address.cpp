#include "ledger/store/server_address.h"

#include <QRegularExpression>

namespace ledger {

bool isServerAddress(const QString& name) {
    return name.startsWith(QLatin1String("postgresql://"), Qt::CaseInsensitive) ||
           name.startsWith(QLatin1String("postgres://"), Qt::CaseInsensitive);
}

QString displayName(const QString& name) {
    if (!isServerAddress(name)) return name;
    QString shown = name;
    // user:password@host -> user@host. The user part ends at the last '@'
    // before the path; a password may itself hold '@' only percent-encoded.
    const qsizetype schemeEnd = shown.indexOf(QLatin1String("://")) + 3;
    qsizetype authorityEnd = shown.indexOf(QRegularExpression(QStringLiteral("[/?#]")), schemeEnd);
    if (authorityEnd < 0) authorityEnd = shown.size();
    const qsizetype at = shown.lastIndexOf(QLatin1Char('@'), authorityEnd - 1);
    if (at >= schemeEnd) {
        const qsizetype colon = shown.indexOf(QLatin1Char(':'), schemeEnd);
        if (colon >= 0 && colon < at) shown.remove(colon, at - colon);
    }
    // ...?password=secret&x=y -> ...?x=y (the key in any letter case).
    static const QRegularExpression passwordOption(QStringLiteral("([?&])password=[^&#]*(&|$)"),
                                                   QRegularExpression::CaseInsensitiveOption);
    for (auto match = passwordOption.match(shown); match.hasMatch();
         match = passwordOption.match(shown)) {
        const bool last = match.captured(2).isEmpty();
        if (last)  // drop the separator before it too
            shown.remove(match.capturedStart(1), match.capturedLength());
        else  // keep the separator before it, drop the one after
            shown.remove(match.capturedStart(1) + 1, match.capturedLength() - 1);
    }
    return shown;
}

}  // namespace ledger
