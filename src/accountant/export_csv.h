// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <vector>

// Comma-separated values as spreadsheet programs read them: a comma between
// fields, CRLF after every record, a field holding a comma, a quote, CR or LF
// enclosed in quotes with its quotes doubled, and the whole text in UTF-8
// behind a byte-order mark, without which spreadsheet programs take the
// Chinese column names for another code page.
namespace accountant::csv {

QString field(const QString& text);
// A text cell as a spreadsheet program must take it: staff type names and
// notes, and a text beginning with =, +, -, @, a tab or a carriage return
// would be run as a formula there (=HYPERLINK(...), @SUM(...)). Such a text
// is written behind an apostrophe, the spreadsheets' own mark for "text,
// not a formula". Amounts are numbers, never text cells: a negative amount
// keeps its minus sign.
QString textCell(const QString& text);
// A text a spreadsheet program must keep exactly as it is, however it
// looks: serial numbers, where 002 would otherwise become the number 2 and
// 1-2 a date. CSV carries no types and quotes do not help: what Excel,
// LibreOffice and Google Sheets all keep as the very text on opening is a
// formula made of nothing but that text as a constant, ="002" (its quotes
// doubled inside), which computes nothing and runs nothing. A text that
// begins like a formula is written as textCell writes it (behind an
// apostrophe), as is one too long for a formula's text constant (255
// characters); an empty text stays an empty cell.
QString exactTextCell(const QString& text);
QString record(const QStringList& fields);
QString document(const QStringList& header, const std::vector<QStringList>& rows);
// The bytes a file begins with: UTF-8's byte-order mark.
inline const QByteArray kByteOrderMark = QByteArrayLiteral("\xEF\xBB\xBF");

}  // namespace accountant::csv
