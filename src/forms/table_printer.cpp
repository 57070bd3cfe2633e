// SPDX-License-Identifier: GPL-3.0-or-later
#include "forms/table_printer.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPrinter>
#include <algorithm>
#include <numeric>

#include "forms/layout_units.h"
#include "forms/window_printer.h"

namespace forms {

namespace {

// Column widths in the printer's pixels: each as wide as its widest text
// (heading, line or total) plus a margin, all narrowed in proportion when
// together they are wider than the page.
QList<int> columnWidths(const PrintedTable& table, const QFontMetrics& plain,
                        const QFontMetrics& bold, int pageWidth) {
    QList<int> widths;
    const int margin = plain.horizontalAdvance(QStringLiteral("  "));
    for (int column = 0; column < table.headings.size(); ++column) {
        int widest = bold.horizontalAdvance(table.headings[column]);
        for (const QStringList& line : table.lines)
            widest = std::max(widest, plain.horizontalAdvance(line.value(column)));
        widest = std::max(widest, bold.horizontalAdvance(table.totals.value(column)));
        widths << widest + margin;
    }
    const qint64 total = std::accumulate(widths.begin(), widths.end(), qint64{0});
    if (total > pageWidth)
        for (int& width : widths) width = static_cast<int>(width * pageWidth / total);
    return widths;
}

// One line of cells, each left to right in its column, cut with "…" when the
// column is narrower than its text.
void paintLine(QPainter& painter, const QStringList& cells, const QList<int>& widths, int top,
               int height) {
    int left = 0;
    for (int column = 0; column < widths.size(); ++column) {
        const QRect cell(left, top, widths[column], height);
        const QString text =
            painter.fontMetrics().elidedText(cells.value(column), Qt::ElideRight, widths[column]);
        painter.drawText(cell, Qt::AlignLeft | Qt::AlignVCenter, text);
        left += widths[column];
    }
}

}  // namespace

QString printTable(QWidget* window, const PrintedTable& table) {
    return printPages(window, QPageLayout::Landscape, [&](QPainter& painter, QPrinter& printer) {
        const QFont plainFont = arialFont(9, false);
        const QFont boldFont = arialFont(9, true);
        const QFontMetrics plain(plainFont, &printer);
        const QFontMetrics bold(boldFont, &printer);
        const QRect page = printer.pageLayout().paintRectPixels(printer.resolution());
        const int lineHeight = bold.height() * 5 / 4;
        const QList<int> widths = columnWidths(table, plain, bold, page.width());
        const int tableWidth = std::accumulate(widths.begin(), widths.end(), 0);
        // Title and heading take the top three lines of every page.
        const int linesPerPage = std::max(1, page.height() / lineHeight - 3);
        const qsizetype bodyLines = table.lines.size() + (table.totals.isEmpty() ? 0 : 1);
        const int pages =
            static_cast<int>(std::max<qsizetype>(1, (bodyLines + linesPerPage - 1) / linesPerPage));

        qsizetype next = 0;
        for (int pageNumber = 1; pageNumber <= pages; ++pageNumber) {
            if (pageNumber > 1) printer.newPage();
            painter.setFont(boldFont);
            painter.drawText(QRect(0, 0, page.width(), lineHeight),
                             Qt::AlignLeft | Qt::AlignVCenter, table.title);
            painter.drawText(QRect(0, 0, page.width(), lineHeight),
                             Qt::AlignRight | Qt::AlignVCenter,
                             QStringLiteral("Page %1 of %2").arg(pageNumber).arg(pages));
            int top = 2 * lineHeight;
            paintLine(painter, table.headings, widths, top, lineHeight);
            top += lineHeight;
            painter.drawLine(0, top, tableWidth, top);
            painter.setFont(plainFont);
            for (int n = 0; n < linesPerPage && next < table.lines.size(); ++n, ++next) {
                paintLine(painter, table.lines[next], widths, top, lineHeight);
                top += lineHeight;
            }
            if (pageNumber == pages && !table.totals.isEmpty()) {
                painter.setFont(boldFont);
                painter.drawLine(0, top, tableWidth, top);
                paintLine(painter, table.totals, widths, top, lineHeight);
            }
        }
    });
}

}  // namespace forms
