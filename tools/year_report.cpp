// SPDX-License-Identifier: GPL-3.0-or-later
#include "year_report.h"

#include <QBuffer>
#include <QChart>
#include <QGraphicsScene>
#include <QPainter>
#include <QPdfWriter>
#include <QTextDocument>

#include "charts/pictures/year_pictures.h"
#include "ledger/amount/amount.h"

namespace tools {

namespace {

// Pages are laid out at 96 units to the inch: an A4 page is about 794 by
// 1123, the text and pictures staying vectors in the PDF.
constexpr int kResolution = 96;
constexpr double kMargin = 40;

QString escaped(const QString& text) { return text.toHtmlEscaped(); }

// Draws a chart into `area` of the page and lets it go.
void drawChart(QPainter& painter, QChart* chart, const QRectF& area) {
    QGraphicsScene scene;
    scene.addItem(chart);  // the scene owns it from here
    chart->setGeometry(QRectF(QPointF(0, 0), area.size()));
    scene.setSceneRect(QRectF(QPointF(0, 0), area.size()));
    scene.render(&painter, area, scene.sceneRect());
}

// Draws rich text at `top` across the page; returns the height it took.
double drawText(QPainter& painter, const QString& html, double top, double width) {
    QTextDocument document;
    document.setDefaultFont(QFont(QStringLiteral("Liberation Sans"), 9));
    document.setHtml(html);
    document.setTextWidth(width);
    painter.save();
    painter.translate(kMargin, top);
    document.drawContents(&painter);
    painter.restore();
    return document.size().height();
}

QString table(const QStringList& header, const std::vector<QStringList>& rows) {
    QString html = QStringLiteral(
        "<table width='100%' cellspacing='0' cellpadding='3' border='1' "
        "style='border-collapse: collapse'><tr>");
    for (const QString& cell : header)
        html += QStringLiteral("<th align='left' bgcolor='#e8eaf6'>%1</th>").arg(escaped(cell));
    html += QStringLiteral("</tr>");
    for (const QStringList& row : rows) {
        html += QStringLiteral("<tr>");
        for (qsizetype i = 0; i < row.size(); ++i)
            html += QStringLiteral("<td align='%1'>%2</td>")
                        .arg(i == 0 ? QStringLiteral("left") : QStringLiteral("right"),
                             escaped(row[i]));
        html += QStringLiteral("</tr>");
    }
    return html + QStringLiteral("</table>");
}

QString monthText(const charts::YearMonth& month) {
    return QStringLiteral("%1/ %2").arg(month.month).arg(month.year);
}

std::vector<charts::YearMonth> monthsWithDays(const charts::BooksAtAGlance& books, int year) {
    std::vector<charts::YearMonth> months;
    for (int m = 1; m <= 12; ++m)
        if (!books.daysOf({year, m}).empty()) months.push_back({year, m});
    return months;
}

}  // namespace

YearReport drawYearReport(const charts::BooksAtAGlance& books, ledger::Store& store, int year,
                          const QString& booksName) {
    YearReport report;
    QBuffer buffer(&report.pdf);
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter pdf(&buffer);
    pdf.setResolution(kResolution);
    pdf.setPageSize(QPageSize(QPageSize::A4));
    pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
    pdf.setTitle(QStringLiteral("The year %1 at a glance").arg(year));
    pdf.setCreator(QStringLiteral("tallowbrook-db"));
    QPainter painter(&pdf);
    const double width = pdf.width() - 2 * kMargin;
    const auto newPage = [&] {
        pdf.newPage();
        ++report.pages;
    };
    report.pages = 1;

    // The months, with the month table.
    const std::vector<charts::MonthFigures> months = books.monthsOf(year);
    double top = kMargin;
    top += drawText(painter,
                    QStringLiteral("<h2>The year %1 at a glance</h2><p>%2</p>")
                        .arg(year)
                        .arg(escaped(booksName)),
                    top, width);
    QStringList notes;
    const QString apart = charts::leftOutLine(
        books.sheetsOutsideMonths(), QStringLiteral("sheet with a date that is not a day"),
        QStringLiteral("sheets with dates that are not days"));
    if (!apart.isEmpty()) notes << apart + QStringLiteral(" (they are in no month).");
    for (const charts::MonthFigures& month : months)
        if (!month.problem.isEmpty())
            notes << QStringLiteral("%1 is not drawn: %2.").arg(month.monthText, month.problem);
    if (!notes.isEmpty())
        top += drawText(painter,
                        QStringLiteral("<p style='color:#8a1c1c'>%1</p>")
                            .arg(escaped(notes.join(QLatin1Char('\n')))
                                     .replace(QLatin1Char('\n'), QStringLiteral("<br>"))),
                        top, width);
    drawChart(painter, charts::drawMonths(year, months).chart, QRectF(kMargin, top, width, 400));
    top += 410;
    std::vector<QStringList> rows;
    for (const charts::MonthFigures& month : months) {
        if (!month.problem.isEmpty()) {
            rows.push_back({month.monthText, month.problem, QString(), QString(), QString()});
            continue;
        }
        const daily::SheetFigures& f = month.figures;
        rows.push_back({month.monthText, f.totalNetAmount, f.expenditureSubtotal,
                        f.administrationSubtotal, f.settlementTotal});
    }
    drawText(painter,
             table({QStringLiteral("Month"), QStringLiteral("Income (total net amount)"),
                    QStringLiteral("Expenditure"), QStringLiteral("Administration's subtotal"),
                    QStringLiteral("Settlement total")},
                   rows),
             top, width);

    // The wages against the books.
    newPage();
    const std::vector<charts::MonthWages> wages = books.wagesOf(year);
    top = kMargin;
    top += drawText(painter,
                    QStringLiteral("<h3>Wages against the books, %1</h3><p>What the wage rows "
                                   "added to their days, each as its Save added it (at the "
                                   "rates stored on the row, or the monthly pay it records, "
                                   "rounded to a whole number), beside the Personnel rate "
                                   "booked in the days. A month where the two differ is "
                                   "marked red: a wage stored and never added to its day, or "
                                   "a Personnel rate changed by hand.</p>")
                        .arg(year),
                    top, width);
    drawChart(painter, charts::drawWages(year, wages).chart, QRectF(kMargin, top, width, 400));
    top += 410;
    rows.clear();
    for (const charts::MonthWages& month : wages) {
        const QString why = month.check.why();
        rows.push_back(
            {monthText(month.month), ledger::amountText(month.check.wages),
             ledger::amountText(month.check.booked), QString::number(month.check.wageRows),
             why.isEmpty() ? QStringLiteral("agree") : QStringLiteral("differ: ") + why});
    }
    drawText(painter,
             table({QStringLiteral("Month"), QStringLiteral("Wages"),
                    QStringLiteral("Personnel rate booked"), QStringLiteral("Wage rows"),
                    QStringLiteral("Wages and books")},
                   rows),
             top, width);

    // The days, two months to a page.
    const std::vector<charts::YearMonth> withDays = monthsWithDays(books, year);
    for (size_t i = 0; i < withDays.size(); ++i) {
        if (i % 2 == 0) {
            newPage();
            top = kMargin;
        }
        const charts::YearMonth& month = withDays[i];
        const charts::DaysPicture days =
            charts::drawDays(month, monthText(month), charts::readDays(store, books.daysOf(month)));
        const QString heading = QStringLiteral("<h3>The days of %1</h3>").arg(monthText(month));
        top += drawText(painter, heading, top, width);
        drawChart(painter, days.turnover, QRectF(kMargin, top, width, 220));
        top += 225;
        drawChart(painter, days.difference, QRectF(kMargin, top, width, 220));
        top += 235;
    }
    painter.end();
    buffer.close();
    return report;
}

}  // namespace tools
