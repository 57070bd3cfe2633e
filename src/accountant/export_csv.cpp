// SPDX-License-Identifier: GPL-3.0-or-later
#include "accountant/export_csv.h"

#include <algorithm>

namespace accountant::csv {

namespace {

bool needsQuotes(QChar c) { return c == u',' || c == u'"' || c == u'\r' || c == u'\n'; }

}  // namespace

QString field(const QString& text) {
    if (std::none_of(text.begin(), text.end(), needsQuotes)) return text;
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
    // One text grown in place: an export writes a record per day of a
    // century's books.
    qsizetype size = fields.size() + 1;
    for (const QString& text : fields) size += text.size();
    QString written;
    written.reserve(size + 2);
    for (qsizetype i = 0; i < fields.size(); ++i) {
        if (i > 0) written += QLatin1Char(',');
        written += field(fields[i]);
    }
    return written + QStringLiteral("\r\n");
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
