// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QString>
#include <QStringList>

class QWidget;

namespace forms {

// A table as it is printed: a title over each page, the column headings, the
// lines in their order and, after the last line, one line of totals (empty:
// none).
struct PrintedTable {
    QString title;
    QStringList headings;
    QList<QStringList> lines;
    QStringList totals;
};

// Prints every line of the table, on as many pages as it takes, with the
// title, the page's number and the headings on each page and the totals after
// the last line; never a picture of the window, so nothing scrolled out of
// view is lost. Printer or PDF as printWindow; returns the PDF path when one
// was written.
QString printTable(QWidget* window, const PrintedTable& table);

}  // namespace forms
