// SPDX-License-Identifier: GPL-3.0-or-later
#include <QDate>
#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include "forms/layout_units.h"
#include "forms/window_printer.h"
#include "month_fixture.h"
#include "support/picture_checks.h"

namespace month_tests {
namespace {

class MonthRenderTest : public MonthTest {
protected:
    void TearDown() override {
        forms::setForcePdfForTesting(false);
        forms::setPdfFallbackFolder({});
        forms::setScreenDpiForTesting(0);
        MonthTest::TearDown();
    }
};

// Renders the sheet on the example month to the folder named by
// TALLOWBROOK_SNAPSHOT_DIR, so anyone can look at it the same way.
TEST_F(MonthRenderTest, ThePictureShowsTheTurnoverInItsColour) {
    forms::setScreenDpiForTesting(96);
    addExampleMonth();
    auto* sheet = openMonthSheet();
    const QImage image = sheet->grab().toImage();
    ASSERT_FALSE(image.isNull());
    // The month's turnover shows in its pink field.
    EXPECT_EQ(colourNearRightEdge(image, sheet, sheet->findChild<QWidget*>("Text25")),
              forms::bgrColor(0x00FFC0C0));
    const QString folder = qEnvironmentVariable("TALLOWBROOK_SNAPSHOT_DIR");
    if (!folder.isEmpty()) {
        QDir().mkpath(folder);
        EXPECT_TRUE(image.save(folder + "/Form4.png"));
    }
}

TEST_F(MonthRenderTest, PrintWritesThePageWhenThereIsNoPrinter) {
    forms::setScreenDpiForTesting(96);
    addExampleMonth();
    QTemporaryDir pages;
    const QString snapshots = qEnvironmentVariable("TALLOWBROOK_SNAPSHOT_DIR");
    const QString folder = snapshots.isEmpty() ? pages.path() : snapshots;
    forms::setForcePdfForTesting(true);
    forms::setPdfFallbackFolder(folder);
    // Named after the window's caption and the day, as the user knows it.
    const QString pattern =
        "Settle account in the month " + QDate::currentDate().toString("yyyy-MM-dd") + "*.pdf";
    const QStringList before = QDir(folder).entryList({pattern});

    auto* sheet = openMonthSheet();
    button(sheet, "Command2")->click();

    const QStringList after = QDir(folder).entryList({pattern});
    ASSERT_EQ(after.size(), before.size() + 1);
    ASSERT_EQ(prompts.told.size(), 1);
    EXPECT_TRUE(prompts.toldTexts[0].contains("PDF"));
    for (const QString& name : after) {
        if (!before.contains(name)) {
            EXPECT_GT(QFileInfo(QDir(folder).filePath(name)).size(), 1000);
        }
    }
    // Printing leaves the month as it was.
    EXPECT_EQ(month(sheet), "12/ 2002");
}

}  // namespace
}  // namespace month_tests
