// SPDX-License-Identifier: GPL-3.0-or-later
// A printed table carries every line, the headings on each page and the
// totals once at the end, whatever the window shows.

#include "forms/table_printer.h"

#include <gtest/gtest.h>

#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QWidget>

#include "forms/window_printer.h"
#include "support/scripted_prompts.h"

namespace {

// The PDF's text, page by page (pdftotext separates pages by form feeds).
QStringList pagesOf(const QString& pdf) {
    QProcess text;
    text.start("pdftotext", {"-layout", pdf, "-"});
    EXPECT_TRUE(text.waitForFinished(30000)) << "pdftotext (poppler-utils) reads the PDF";
    QStringList pages = QString::fromUtf8(text.readAllStandardOutput()).split(u'\f');
    while (!pages.isEmpty() && pages.last().trimmed().isEmpty()) pages.removeLast();
    return pages;
}

// A table of numbered lines "L001" ... and the sum of their numbers.
forms::PrintedTable numberedLines(int count) {
    forms::PrintedTable table{"Wages of the month", {"Date", "Name", "Main hour"}, {}, {}};
    for (int n = 1; n <= count; ++n)
        table.lines << QStringList{QStringLiteral("L%1").arg(n, 3, 10, QChar('0')), "Tovena",
                                   QString::number(n)};
    table.totals = {"Total", "", QString::number(count * (count + 1) / 2)};
    return table;
}

QStringList numbersOn(const QString& text) {
    QStringList seen;
    for (const auto& match : QRegularExpression("L\\d{3}").globalMatch(text))
        seen << match.captured();
    return seen;
}

TEST(TablePrinter, EveryLineOnceInOrderWithHeadingsOnEachPageAndTotalsLast) {
    ScriptedPrompts prompts;
    QTemporaryDir folder;
    forms::setForcePdfForTesting(true);
    forms::setPdfFallbackFolder(folder.path());
    QWidget window;
    window.setWindowTitle("Wage detail");
    // A full first page tells how many lines a page holds; then one line,
    // a last page one short of full (the totals fit), exactly full (the
    // totals take a page of their own) and many pages.
    const int perPage =
        numbersOn(pagesOf(forms::printTable(&window, numberedLines(400))).value(0)).size();
    ASSERT_GT(perPage, 10);
    for (const int count : {1, 2 * perPage - 1, 2 * perPage, 400}) {
        SCOPED_TRACE(count);
        const forms::PrintedTable table = numberedLines(count);
        const QStringList pages = pagesOf(forms::printTable(&window, table));
        EXPECT_EQ(pages.size(), (count + 1 + perPage - 1) / perPage);
        QString all;
        for (int page = 0; page < pages.size(); ++page) {
            EXPECT_TRUE(pages[page].contains("Wages of the month")) << page;
            EXPECT_TRUE(pages[page].contains(QRegularExpression("Date +Name +Main hour"))) << page;
            EXPECT_TRUE(pages[page].contains(
                QStringLiteral("Page %1 of %2").arg(page + 1).arg(pages.size())));
            if (page + 1 < pages.size()) EXPECT_EQ(numbersOn(pages[page]).size(), perPage);
            all += pages[page];
        }
        QStringList expected;
        for (const QStringList& line : table.lines) expected << line[0];
        EXPECT_EQ(numbersOn(all), expected);
        EXPECT_EQ(all.count("Total"), 1);
        EXPECT_GT(all.lastIndexOf("Total"), all.lastIndexOf(expected.last()));
        EXPECT_TRUE(pages.last().contains(
            QRegularExpression(QStringLiteral("Total +%1").arg(count * (count + 1) / 2))));
    }
    forms::setForcePdfForTesting(false);
    forms::setPdfFallbackFolder({});
}

}  // namespace
