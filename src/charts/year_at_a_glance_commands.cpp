// SPDX-License-Identifier: GPL-3.0-or-later
// What the year at a glance opens and writes: the month sheet on a month,
// the daily window on a day, the printer, and a saved picture.

#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QPainter>
#include <QPdfWriter>
#include <QStandardPaths>
#include <optional>

#include "charts/year_at_a_glance.h"
#include "forms/data_control.h"
#include "forms/prompts.h"
#include "forms/window_opening.h"
#include "forms/window_printer.h"
#include "interfaces/daily_window_face.h"
#include "interfaces/month_sheet_months.h"
#include "interfaces/window_names.h"
#include "ledger/base/ledger_error.h"
#include "ledger/base/whole_file.h"
#include "ledger/records/books.h"
#include "ledger/records/record_source.h"
#include "ledger/schema/schema.h"

namespace charts {

namespace {

// The details line emptied while the window is printed or saved as a
// picture, and given back after.
class HoverTextAside {
public:
    explicit HoverTextAside(QLabel* details) : details_(details), text_(details->text()) {
        details_->clear();
    }
    ~HoverTextAside() { details_->setText(text_); }
    HoverTextAside(const HoverTextAside&) = delete;
    HoverTextAside& operator=(const HoverTextAside&) = delete;

private:
    QLabel* details_;
    QString text_;
};

}  // namespace

void YearAtAGlance::openMonthSheet(int monthIndex) {
    const MonthFigures* month = figuresOf(monthIndex);
    if (!month) return;
    monthly::MonthSheetMonths* sheet = monthly::MonthSheetMonths::open();
    const bool found = sheet->showMonth(month->monthText);
    forms::bringForward(sheet->formWindow());
    if (!found)
        forms::tell(this, QStringLiteral(
                              "The month sheet has no month %1: it shows the totals as they were "
                              "when it was opened. Close it and open it again to see this month.")
                              .arg(month->monthText));
}

void YearAtAGlance::openDay(int dayIndex) {
    if (dayIndex < 0 || dayIndex >= static_cast<int>(days_.size())) return;
    const DaySheet sheet = days_[static_cast<size_t>(dayIndex)].sheet;
    auto* daily = forms::loadWindowAs<daily::DailyWindowFace>(windows::kDailyWindow);
    // A sheet another program removed since the books were read: said, and
    // the daily window is left where it was.
    if (!ledger::holdsRow(*store_, ledger::schema::kLedger, sheet.key)) {
        forms::tell(this, QStringLiteral(
                              "The day %1 is no longer in the books: another program removed it. "
                              "Close this window and open it again to see the books as they are "
                              "now.")
                              .arg(sheet.date));
        return;
    }
    // The daily window moves to the sheet as its bar would: what was typed
    // there is stored first.
    daily->showDay(ledger::Bookmark{sheet.key});
    daily->bringForward();
}

void YearAtAGlance::printPictures() {
    // What the pointer last pointed at belongs on the screen, not the page.
    const HoverTextAside aside(details_);
    forms::printWindow(this);
}

void YearAtAGlance::savePicture() {
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    const QString suggested =
        QDir(folder.isEmpty() ? QDir::homePath() : folder)
            .filePath(QStringLiteral("year-%1.png").arg(year_ > 0 ? year_ : 0));
    QString path =
        forms::prompts().saveFileName(this, QStringLiteral("Save picture"), suggested,
                                      QStringLiteral("PNG picture (*.png);;PDF document (*.pdf)"));
    if (path.isEmpty()) return;
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix.isEmpty()) {
        path += QStringLiteral(".png");
    } else if (suffix != QLatin1String("png") && suffix != QLatin1String("pdf")) {
        forms::tell(this, QStringLiteral(
                              "A picture is saved as PNG or PDF: end the name %1 in .png or .pdf.")
                              .arg(QDir::toNativeSeparators(path)));
        return;
    }

    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    std::optional<HoverTextAside> aside(details_);
    if (path.endsWith(QLatin1String(".pdf"), Qt::CaseInsensitive)) {
        // Drawn, not photographed: the pictures stay sharp at any size.
        QPdfWriter pdf(&buffer);
        pdf.setPageSize(QPageSize(QPageSize::A4));
        pdf.setPageOrientation(QPageLayout::Landscape);
        pdf.setTitle(windowTitle());
        QPainter painter(&pdf);
        const QRect page = painter.viewport();
        const double scale =
            std::min(double(page.width()) / width(), double(page.height()) / height());
        painter.scale(scale, scale);
        render(&painter);
        painter.end();
    } else {
        grab().toImage().save(&buffer, "PNG");
    }
    buffer.close();
    aside.reset();
    const QString shown = QDir::toNativeSeparators(path);
    if (bytes.isEmpty())
        ledger::fail(ledger::ErrorCode::InvalidOperation,
                     QStringLiteral("The picture could not be drawn; nothing was saved."));
    if (const QString why = ledger::writeWholeFile(path, bytes); !why.isEmpty()) {
        forms::tell(
            this,
            QStringLiteral("Cannot save the picture as %1: %2. Nothing was saved; choose another "
                           "folder or free some space and try again.")
                .arg(shown, why));
        return;
    }
    details_->setText(QStringLiteral("Saved as %1.").arg(shown));
}

}  // namespace charts
