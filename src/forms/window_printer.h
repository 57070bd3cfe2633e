// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

class QWidget;

namespace ledger::ui {

// Prints a window's image on the default printer, at once and without a
// dialog. Without a printer the page is written as a PDF file instead and the
// user is told where. Returns the PDF path in that case, else empty text.
QString printWindow(QWidget* window);

// Tests (and machines without a printer) send pages to this folder as PDF.
void setPdfFallbackFolder(const QString& folder);
void setForcePdfForTesting(bool force);

}  // namespace ledger::ui
