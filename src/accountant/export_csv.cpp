// SPDX-License-Identifier: GPL-3.0-or-later
#include "accountant/export_csv.h"

#include <algorithm>

namespace accountant::csv {

QString field(const QString& text) {
    static const QString needsQuotes = QStringLiteral(",\"\r\n");
    if (std::none_of(text.begin(), text.end(), [](QChar c) { return needsQuotes.contains(c); }))
        return text;
    QString quoted = text;
    quoted.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

QString textCell(const QString& text) {
    static const QString formulaStarts = QStringLiteral("=+-@\t\r");
    if (text.isEmpty() || !formulaStarts.contains(text.front())) return text;
    return QLatin1Char('\'') + text;
}

QString exactTextCell(const QString& text) {
    static constexpr qsizetype kLongestFormulaText = 255;
    const QString asText = textCell(text);
    if (text.isEmpty() || asText != text || text.size() > kLongestFormulaText) return asText;
    QString quoted = text;
    quoted.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QStringLiteral("=\"") + quoted + QLatin1Char('"');
}

QString record(const QStringList& fields) {
    QStringList written;
    written.reserve(fields.size());
    for (const QString& text : fields) written << field(text);
    return written.join(QLatin1Char(',')) + QStringLiteral("\r\n");
}

QString document(const QStringList& header, const std::vector<QStringList>& rows) {
    // Column names are the file's own, which anyone may have added to.
    QStringList headerCells;
    for (const QString& name : header) headerCells << textCell(name);
    QString text = record(headerCells);
    for (const QStringList& row : rows) text += record(row);
    return text;
}

}  // namespace accountant::csv
