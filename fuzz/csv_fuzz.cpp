// SPDX-License-Identifier: GPL-3.0-or-later
// The accountant's files: names and notes typed by staff go into them.
// Properties: a spreadsheet's reading of a record (RFC 4180) gives back
// every field as written, whatever commas, quotes and line ends it holds;
// a text cell never begins with what a spreadsheet runs as a formula, and
// it is the text with at most the spreadsheets' text mark before it; an
// exact text cell (serial numbers) is that, or a formula that is nothing
// but the text itself as one string constant.
#include "accountant/export_csv.h"
#include "fuzz/fuzz_input.h"

namespace {

// RFC 4180 as a spreadsheet reads one record that ends in CRLF.
QStringList readRecord(const QString& text) {
    QStringList fields;
    QString current;
    bool quoted = false;
    qsizetype i = 0;
    for (; i < text.size(); ++i) {
        const QChar c = text[i];
        if (quoted) {
            if (c == QLatin1Char('"') && i + 1 < text.size() && text[i + 1] == QLatin1Char('"')) {
                current += c;
                ++i;
            } else if (c == QLatin1Char('"')) {
                quoted = false;
            } else {
                current += c;
            }
        } else if (c == QLatin1Char('"') && current.isEmpty()) {
            quoted = true;
        } else if (c == QLatin1Char(',')) {
            fields << current;
            current.clear();
        } else if (c == QLatin1Char('\r') && text.mid(i) == QStringLiteral("\r\n")) {
            fields << current;
            return fields;
        } else {
            current += c;
        }
    }
    fuzz::broken("a record ends in CRLF", text);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QStringList fields = fuzz::textsOf(data, size, 1);
    const QString written = accountant::csv::record(fields);
    fuzz::require(readRecord(written) == fields, "a record reads back field by field", written);

    static const QString formulaStarts = QStringLiteral("=+-@\t\r");
    for (const QString& text : fields) {
        const QString cell = accountant::csv::textCell(text);
        fuzz::require(cell.isEmpty() || !formulaStarts.contains(cell.front()),
                      "a text cell is never a formula", text);
        fuzz::require(cell == text || cell == QLatin1Char('\'') + text,
                      "a text cell is the text, marked at most", text);

        const QString exact = accountant::csv::exactTextCell(text);
        if (exact == cell) continue;
        fuzz::require(exact.startsWith(QStringLiteral("=\"")) && exact.endsWith(QLatin1Char('"')),
                      "an exact cell is a string constant", text);
        QString inner = exact.mid(2).chopped(1);
        fuzz::require(!inner.replace(QStringLiteral("\"\""), QString()).contains(QLatin1Char('"')),
                      "the constant's quotes are all doubled", text);
        fuzz::require(
            exact.mid(2).chopped(1).replace(QStringLiteral("\"\""), QStringLiteral("\"")) == text,
            "the constant is the very text", text);
    }
    return 0;
}
