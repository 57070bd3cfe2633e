// SPDX-License-Identifier: GPL-3.0-or-later
// The pictures as a user sees them: the colours where a shortfall and an
// overage stand, the window printed, and a picture saved as PNG or PDF.

#include <QBarSeries>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QStackedBarSeries>
#include <QTemporaryDir>

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

class ChartPictureTest : public ChartsTest {
protected:
    void TearDown() override {
        ledger::ui::setForcePdfForTesting(false);
        ledger::ui::setPdfFallbackFolder({});
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
    EXPECT_EQ(colourOfBar(view, series, 0, -100), charts::PictureColours::shortfall());
    EXPECT_EQ(colourOfBar(view, series, 2, 80), charts::PictureColours::overage());
    // Where the even day stands there is no bar: the chart's own background.
    EXPECT_NE(colourOfBar(view, series, 1, 60), charts::PictureColours::overage());
    EXPECT_NE(colourOfBar(view, series, 1, -60), charts::PictureColours::shortfall());
    // And the turnover in its own colour.
    auto* turnover = window->findChild<QChartView*>("turnoverChart");
    EXPECT_EQ(colourOfBar(turnover, turnover->chart()->series().first(), 1, 1000),
              charts::PictureColours::turnover());
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
    ledger::ui::setForcePdfForTesting(true);
    ledger::ui::setPdfFallbackFolder(pages.path());
    auto* window = openCharts();
    button(window, "print")->click();
    const QStringList written = QDir(pages.path()).entryList({"*.pdf"});
    ASSERT_EQ(written.size(), 1) << prompts.told.join("\n").toStdString();
    EXPECT_GT(QFileInfo(QDir(pages.path()).filePath(written[0])).size(), 1000);
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
