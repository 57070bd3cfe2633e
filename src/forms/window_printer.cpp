// SPDX-License-Identifier: GPL-3.0-or-later
#include "forms/window_printer.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPainter>
#include <QPixmap>
#include <QPrinter>
#include <QPrinterInfo>
#include <QStandardPaths>
#include <QWidget>

#include "forms/prompts.h"
#include "forms/workspace.h"
#include "ledger/base/ledger_error.h"

namespace forms {

namespace {

QString pdfFolder() {
    if (const QString& chosen = workspace().printer().pdfFolder; !chosen.isEmpty()) return chosen;
    QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return documents.isEmpty() ? QDir::homePath() : documents;
}

// The window's image, scaled to fit the printable page, top left.
void paintWindow(QPainter& painter, QPrinter& printer, const QPixmap& image) {
    QRect page = printer.pageLayout().paintRectPixels(printer.resolution());
    page.moveTo(0, 0);
    const QSize size = image.size().scaled(page.size(), Qt::KeepAspectRatio);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawPixmap(QRect(QPoint(0, 0), size), image);
}

// Runs the pages' painting on a started printer and finishes the document.
void paintPages(QPrinter& printer, const PagePainter& paint) {
    QPainter painter;
    if (!painter.begin(&printer))
        ledger::fail(ledger::ErrorCode::StoreFailure,
                     QStringLiteral("The printer could not be started."));
    paint(painter, printer);
    if (!painter.end())
        ledger::fail(ledger::ErrorCode::StoreFailure,
                     QStringLiteral("The page could not be finished."));
}

// The page's file: the window's caption and the day, as the user knows the
// window ("Settle account in the month 2026-12-08.pdf"); a second page of the
// same window and day gets " (2)", and so on, so none is overwritten.
QString pdfPathFor(const QWidget* window) {
    QString caption = window->windowTitle().trimmed();
    if (caption.isEmpty()) caption = window->objectName();
    // Characters no file name may hold on the shop's computers.
    for (QChar& c : caption)
        if (QStringLiteral("/\\:*?\"<>|").contains(c) || c.unicode() < 0x20) c = u'-';
    const QString stem =
        caption + QLatin1Char(' ') + QDate::currentDate().toString(QStringLiteral("yyyy-MM-dd"));
    const QDir folder(pdfFolder());
    QString path = folder.filePath(stem + QStringLiteral(".pdf"));
    for (int n = 2; QFileInfo::exists(path) || QFileInfo::exists(path + QStringLiteral(".partial"));
         ++n)
        path = folder.filePath(QStringLiteral("%1 (%2).pdf").arg(stem).arg(n));
    return path;
}

// Whether a PDF was written to its end (a full disk leaves it cut short).
bool isCompletePdf(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() < 64) return false;
    file.seek(file.size() - 32);
    return file.read(32).contains("%%EOF");
}

}  // namespace

void setPdfFallbackFolder(const QString& folder) { workspace().printer().pdfFolder = folder; }
void setForcePdfForTesting(bool force) { workspace().printer().forcePdf = force; }

QString printPages(QWidget* window, QPageLayout::Orientation orientation,
                   const PagePainter& paint) {
    QPrinterInfo printerInfo = QPrinterInfo::defaultPrinter();
    if (!workspace().printer().forcePdf && !printerInfo.isNull()) {
        QPrinter printer(printerInfo, QPrinter::HighResolution);
        printer.setPageOrientation(orientation);
        paintPages(printer, paint);
        return {};
    }
    QDir().mkpath(pdfFolder());
    const QString path = pdfPathFor(window);
    // Written under a temporary name and named only when complete: a full
    // disk must never leave a cut-short file that looks like the page.
    const QString partial = path + QStringLiteral(".partial");
    auto notWritten = [&] {
        QFile::remove(partial);
        ledger::fail(
            ledger::ErrorCode::StoreFailure,
            QStringLiteral("No printer is set up, and the page could not be written to '%1' "
                           "(the disk may be full, or the folder not writable). Nothing was "
                           "saved.")
                .arg(QDir::toNativeSeparators(path)));
    };
    {
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(partial);
        printer.setPageOrientation(orientation);
        try {
            paintPages(printer, paint);
        } catch (const ledger::LedgerError&) {
            notWritten();
        }
    }
    if (!isCompletePdf(partial) || !QFile::rename(partial, path)) notWritten();
    tell(window, QStringLiteral("No printer is set up. The page was saved as a PDF file:\n%1")
                     .arg(QDir::toNativeSeparators(path)));
    return path;
}

QString printWindow(QWidget* window) {
    const QPixmap image = window->grab();
    return printPages(
        window, image.width() > image.height() ? QPageLayout::Landscape : QPageLayout::Portrait,
        [&](QPainter& painter, QPrinter& printer) { paintWindow(painter, printer, image); });
}

}  // namespace forms
