// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPageLayout>
#include <QString>
#include <functional>

class QPainter;
class QPrinter;
class QWidget;

namespace forms {

// Prints a window's image on the default printer, at once and without a
// dialog. Without a printer the page is written as a PDF file instead and the
// user is told where. Returns the PDF path in that case, else empty text.
QString printWindow(QWidget* window);

// Paints pages on the default printer, or, without one, into a PDF named
// after the window's caption and the day, announced to the user; the same
// promises as printWindow. The painter is begun on the printer; new pages
// are the painter's to start (QPrinter::newPage).
using PagePainter = std::function<void(QPainter&, QPrinter&)>;
QString printPages(QWidget* window, QPageLayout::Orientation orientation, const PagePainter& paint);

// Tests (and machines without a printer) send pages to this folder as PDF.
void setPdfFallbackFolder(const QString& folder);
void setForcePdfForTesting(bool force);

}  // namespace forms
