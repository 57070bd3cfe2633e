// SPDX-License-Identifier: GPL-3.0-or-later
// The pictures as a user sees them: the colours where a shortfall and an
// overage stand, the window printed, and a picture saved as PNG or PDF.

#include <QBarSeries>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QStackedBarSeries>
#include <QTemporaryDir>
#include <QValueAxis>

#include "charts_fixture.h"
#include "forms/window_printer.h"

namespace chart_tests {
namespace {

QString snapshotFolder() { return qEnvironmentVariable("TALLOWBROOK_SNAPSHOT_DIR"); }

// The colour drawn half-way up the bar `index` of `set` (a bar of `value`).
QColor colourOfBar(QChartView* view, QAbstractSeries* series, int index, double value) {
    QChart* chart = view->chart();
    const QPointF inChart = chart->mapToPosition(QPointF(index, value / 2), series);
    const QPoint inView = view->mapFromScene(chart->mapToScene(inChart));
    const QImage picture = view->viewport()->grab().toImage();
    return picture.pixelColor(inView);
}

// Pixels of text (darker than any background or bar) in an area.
int darkPixels(const QImage& image, const QRect& area) {
    int dark = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (image.rect().contains(x, y) && qGray(image.pixel(x, y)) < 96) ++dark;
    return dark;
}

class ChartPictureTest : public ChartsTest {
protected:
    void TearDown() override {
        forms::setForcePdfForTesting(false);
        forms::setPdfFallbackFolder({});
        ChartsTest::TearDown();
    }
};

TEST_F(ChartPictureTest, AShortfallIsDrawnRedAndAnOverageGreenAtTheirDays) {
    addDay("2002/6/3", {{"Turnover", 1000}, {"Accept cashes in fact", 900}});   // 100 short
    addDay("2002/6/4", {{"Turnover", 1000}, {"Accept cashes in fact", 1000}});  // even
    addDay("2002/6/5", {{"Turnover", 1000}, {"Accept cashes in fact", 1080}});  // 80 over
    auto* window = openCharts();
    window->resize(1100, 800);
    QCoreApplication::processEvents();
    auto* view = window->findChild<QChartView*>("differenceChart");
    ASSERT_NE(view, nullptr);
    QAbstractSeries* series = view->chart()->series().first();
    // Each day at its place in June: the 3rd is the third bar.
    EXPECT_EQ(colourOfBar(view, series, 2, -100), charts::PictureColours::shortfall());
    EXPECT_EQ(colourOfBar(view, series, 4, 80), charts::PictureColours::overage());
    // Where the even day stands there is no bar: the chart's own background.
    EXPECT_NE(colourOfBar(view, series, 3, 60), charts::PictureColours::overage());
    EXPECT_NE(colourOfBar(view, series, 3, -60), charts::PictureColours::shortfall());
    // And the turnover in its own colour, with gaps on the days without a sheet.
    auto* turnover = window->findChild<QChartView*>("turnoverChart");
    QAbstractSeries* bars = turnover->chart()->series().first();
    EXPECT_EQ(colourOfBar(turnover, bars, 3, 1000), charts::PictureColours::turnover());
    EXPECT_NE(colourOfBar(turnover, bars, 1, 1000), charts::PictureColours::turnover());
    EXPECT_NE(colourOfBar(turnover, bars, 5, 1000), charts::PictureColours::turnover());
}

TEST_F(ChartPictureTest, TheDemoShopsYearLooksAsItShould) {
    TempDatabase demo(true);
    auto* window = openCharts();
    window->resize(1100, 800);
    QCoreApplication::processEvents();
    const QImage image = window->grab().toImage();
    ASSERT_FALSE(image.isNull());
    if (!snapshotFolder().isEmpty()) {
        QDir().mkpath(snapshotFolder());
        EXPECT_TRUE(image.save(snapshotFolder() + "/YearAtAGlance.png"));
    }
    closeWindows();
}

TEST_F(ChartPictureTest, PrintWritesThePageWhenThereIsNoPrinter) {
    addDay("2002/6/3", {{"Turnover", 1000}});
    QTemporaryDir pages;
    forms::setForcePdfForTesting(true);
    forms::setPdfFallbackFolder(pages.path());
    auto* window = openCharts();
    button(window, "print")->click();
    const QStringList written = QDir(pages.path()).entryList({"*.pdf"});
    ASSERT_EQ(written.size(), 1) << prompts.told.join("\n").toStdString();
    EXPECT_GT(QFileInfo(QDir(pages.path()).filePath(written[0])).size(), 1000);
}

// What the pointer last pointed at is no part of the page: the details
// line is empty on the print and on a saved picture, and back afterwards.
TEST_F(ChartPictureTest, AHoverTextNeverLandsOnThePrintOrTheSavedPicture) {
    addDay("2002/11/3", {{"Turnover", 1000}});
    QTemporaryDir pages;
    forms::setForcePdfForTesting(true);
    forms::setPdfFallbackFolder(pages.path());
    auto* window = openCharts();
    window->resize(1100, 800);
    Q_EMIT window->monthsPicture().income->hovered(true, 10);
    const QString hover = details(window);
    ASSERT_TRUE(hover.startsWith("11/ 2002: income 1000")) << hover.toStdString();

    const QRect detailsArea = window->findChild<QLabel*>("details")->geometry();
    EXPECT_GT(darkPixels(window->grab().toImage(), detailsArea), 20) << "the hover text, on screen";

    button(window, "print")->click();
    const QStringList written = QDir(pages.path()).entryList({"*.pdf"});
    ASSERT_EQ(written.size(), 1);
    // The page as a picture: the window's image is the part that is not
    // white paper; the details line is where it stands in the window.
    QProcess render;
    render.start("pdftoppm", {"-png", "-r", "96", "-singlefile",
                              QDir(pages.path()).filePath(written[0]), pages.filePath("page")});
    ASSERT_TRUE(render.waitForFinished(30000) && render.exitCode() == 0)
        << "pdftoppm (poppler-utils) draws the page";
    const QImage page(pages.filePath("page.png"));
    ASSERT_FALSE(page.isNull());
    QRect printed;
    for (int y = 0; y < page.height(); ++y)
        for (int x = 0; x < page.width(); ++x)
            if (page.pixelColor(x, y) != Qt::white) printed |= QRect(x, y, 1, 1);
    ASSERT_GT(printed.width(), 100);
    const double scale = double(printed.width()) / window->width();
    const QRect onPage(printed.left() + qRound(detailsArea.left() * scale),
                       printed.top() + qRound(detailsArea.top() * scale),
                       qRound(detailsArea.width() * scale), qRound(detailsArea.height() * scale));
    EXPECT_EQ(darkPixels(page, onPage), 0) << "no hover text on the page";
    EXPECT_EQ(details(window), hover) << "given back after printing";

    QTemporaryDir out;
    prompts.fileAnswers.push_back(out.filePath("year.png"));
    button(window, "savePicture")->click();
    EXPECT_TRUE(details(window).startsWith("Saved as")) << details(window).toStdString();
    EXPECT_EQ(darkPixels(QImage(out.filePath("year.png")), detailsArea), 0)
        << "no hover text on the saved picture";
}

// Whole-amount axes in steps that read once each, zero always in view.
TEST(AmountScale, StepsOfOneTwoOrFiveTimesATenNeverBelowOne) {
    const struct {
        double low, high;
        charts::AmountScale expected;
    } cases[] = {
        {0, 0, {0, 1, 2}},           {0, 1, {0, 1, 2}},       {0.2, 0.7, {0, 1, 2}},
        {0, 3, {0, 3, 4}},           {5, 5, {0, 5, 6}},       {0, 640, {0, 800, 5}},
        {-118, 1, {-150, 50, 5}},    {-30, 20, {-30, 20, 6}}, {0, 24000, {0, 25000, 6}},
        {0, 33578.5, {0, 40000, 5}}, {-2, -1, {-2, 0, 3}},    {0, 1e9, {0, 1e9, 6}},
    };
    for (const auto& c : cases) {
        const charts::AmountScale scale = charts::amountScale(c.low, c.high);
        EXPECT_EQ(scale.low, c.expected.low) << c.low << " " << c.high;
        EXPECT_EQ(scale.high, c.expected.high) << c.low << " " << c.high;
        EXPECT_EQ(scale.ticks, c.expected.ticks) << c.low << " " << c.high;
    }
}

// The pictures as drawn: every axis label once, whole month names, a legend
// that says what a red mark means.
TEST_F(ChartPictureTest, AxesReadOnceEachMonthNamesWholeAndTheMarkExplained) {
    auto* window = openCharts();  // empty books: the smallest axes
    for (QChart* chart : {window->monthsPicture().chart, window->wagesPicture().chart,
                          window->daysPicture().turnover}) {
        const auto* y = qobject_cast<QValueAxis*>(chart->axes(Qt::Vertical).first());
        ASSERT_NE(y, nullptr);
        QStringList labels;
        for (int i = 0; i < y->tickCount(); ++i)
            labels << QString::asprintf(
                "%.0f", y->min() + i * (y->max() - y->min()) / (y->tickCount() - 1));
        EXPECT_EQ(labels.removeDuplicates(), 0) << labels.join(' ').toStdString();
        EXPECT_EQ(labels.first(), "0");
        for (QAbstractAxis* x : chart->axes(Qt::Horizontal))
            EXPECT_FALSE(x->truncateLabels()) << chart->title().toStdString();
    }
    const auto* months =
        qobject_cast<QValueAxis*>(window->monthsPicture().chart->axes(Qt::Vertical).first());
    EXPECT_EQ(months->tickCount(), 2) << "0 and 1, not 1 1 1 0 0 0";
    EXPECT_EQ(window->wagesPicture().marks->name(), "Red mark: wages and Personnel rate differ");
}

TEST_F(ChartPictureTest, SavePictureWritesAPngOrAPdfWhole) {
    addDay("2002/6/3", {{"Turnover", 1000}});
    QTemporaryDir out;
    auto* window = openCharts();

    prompts.fileAnswers.push_back(out.filePath("year.png"));
    button(window, "savePicture")->click();
    ASSERT_EQ(prompts.filesAsked.size(), 1u);
    EXPECT_TRUE(prompts.filesAsked[0].message.contains("*.png"));
    EXPECT_TRUE(prompts.filesAsked[0].preset.endsWith("year-2002.png"));
    const QImage saved(out.filePath("year.png"));
    EXPECT_EQ(saved.size(), window->size());
    EXPECT_EQ(QFileInfo(out.filePath("year.png")).permissions() & 0x0077, 0) << "the owner's alone";

    prompts.fileAnswers.push_back(out.filePath("year.pdf"));
    button(window, "savePicture")->click();
    QFile pdf(out.filePath("year.pdf"));
    ASSERT_TRUE(pdf.open(QIODevice::ReadOnly));
    const QByteArray bytes = pdf.readAll();
    EXPECT_TRUE(bytes.startsWith("%PDF-"));
    EXPECT_TRUE(bytes.trimmed().endsWith("%%EOF"));

    prompts.fileAnswers.push_back(out.filePath("plain"));
    button(window, "savePicture")->click();
    EXPECT_TRUE(QImage(out.filePath("plain.png")).width() > 0) << "no suffix: a PNG";
    EXPECT_TRUE(prompts.told.isEmpty()) << prompts.told.join("\n").toStdString();
}

TEST_F(ChartPictureTest, APictureThatCannotBeSavedIsSaidAndLeavesNothing) {
    addDay("2002/6/3", {{"Turnover", 1000}});
    QTemporaryDir out;
    auto* window = openCharts();

    prompts.fileAnswers.push_back(out.filePath("year.jpg"));
    button(window, "savePicture")->click();
    ASSERT_EQ(prompts.toldTexts.size(), 1);
    EXPECT_TRUE(prompts.toldTexts[0].contains("end the name"))
        << prompts.toldTexts[0].toStdString();

    prompts.fileAnswers.push_back(out.filePath("no such folder/year.png"));
    button(window, "savePicture")->click();
    ASSERT_EQ(prompts.toldTexts.size(), 2);
    EXPECT_TRUE(prompts.toldTexts[1].startsWith("Cannot save the picture as"))
        << prompts.toldTexts[1].toStdString();
    EXPECT_TRUE(prompts.toldTexts[1].contains("Nothing was saved"));
    EXPECT_TRUE(QDir(out.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot).isEmpty());

    button(window, "savePicture")->click();  // cancelled
    EXPECT_EQ(prompts.toldTexts.size(), 2);
}

}  // namespace
}  // namespace chart_tests
