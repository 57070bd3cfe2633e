// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>

#include "charts/figures/books_at_a_glance.h"

namespace ledger {
class Store;
}

namespace tools {

// The year report: on A4 pages, the months of the year with the month
// table, the wages against the books with their table, and the days of
// each month that has any, two months to a page, drawn as the year at a
// glance draws them. Needs a QApplication (the pictures are Qt Charts).
struct YearReport {
    QByteArray pdf;
    int pages = 0;
};

YearReport drawYearReport(const charts::BooksAtAGlance& books, ledger::Store& store, int year,
                          const QString& booksName);

}  // namespace tools
