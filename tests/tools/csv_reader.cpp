// SPDX-License-Identifier: GPL-3.0-or-later
#include "csv_reader.h"

#include <QStringDecoder>

CsvDocument readCsv(const QByteArray& bytes) {
    CsvDocument doc;
    static const QByteArray bom("\xEF\xBB\xBF");
    doc.hasByteOrderMark = bytes.startsWith(bom);
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = utf8.decode(doc.hasByteOrderMark ? bytes.mid(bom.size()) : bytes);
    doc.validUtf8 = !utf8.hasError();

    QStringList record;
    QString field;
    bool quoted = false;     // inside a quoted field
    bool wasQuoted = false;  // the current field began with a quote
    bool fieldStarted = false;
    auto endField = [&] {
        record << field;
        field.clear();
        wasQuoted = fieldStarted = false;
    };
    auto endRecord = [&] {
        endField();
        doc.records.push_back(record);
        record.clear();
    };
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (quoted) {
            if (c != QLatin1Char('"')) {
                field += c;
            } else if (i + 1 < text.size() && text[i + 1] == QLatin1Char('"')) {
                field += c;
                ++i;
            } else {
                quoted = false;
            }
            continue;
        }
        if (c == QLatin1Char('"') && fieldStarted) {
            doc.wellFormed = false;  // a quote inside a field that did not start with one
            field += c;
        } else if (c == QLatin1Char('"')) {
            quoted = wasQuoted = fieldStarted = true;
        } else if (c == QLatin1Char(',')) {
            endField();
        } else if (c == QLatin1Char('\r') && i + 1 < text.size() &&
                   text[i + 1] == QLatin1Char('\n')) {
            ++i;
            endRecord();
        } else if (c == QLatin1Char('\n') || c == QLatin1Char('\r')) {
            ++doc.bareLineBreaks;
            endRecord();
        } else {
            if (wasQuoted) doc.wellFormed = false;  // text after the closing quote
            field += c;
            fieldStarted = true;
        }
    }
    if (quoted) doc.wellFormed = false;
    // Text after the last line break is a record that lacks its end.
    if (fieldStarted || !record.isEmpty()) {
        ++doc.bareLineBreaks;
        endRecord();
    }
    return doc;
}
