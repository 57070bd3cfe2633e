// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <vector>

// Reads back what the export wrote, as a spreadsheet program would: fields
// in quotes may hold commas, doubled quotes and line breaks. Also reports
// what a spreadsheet program is strict about, so tests can check it.
struct CsvDocument {
    bool hasByteOrderMark = false;
    bool validUtf8 = true;
    int bareLineBreaks = 0;  // record ends that are not CR LF
    bool wellFormed = true;  // no stray quote, no quote left open
    std::vector<QStringList> records;
};

CsvDocument readCsv(const QByteArray& bytes);
