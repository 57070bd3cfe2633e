// SPDX-License-Identifier: GPL-3.0-or-later
#include <QDate>
#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include "forms/layout_units.h"
#include "forms/window_printer.h"
#include "salary_fixture.h"

namespace salary_tests {
namespace {

// Renders and prints the salary window and the grid on the shop's example,
// into the folder named by TALLOWBROOK_SNAPSHOT_DIR when it is set, so
// anyone can look at them the same way.
class SalaryRenderTest : public SalaryTest {
protected:
    void SetUp() override {
        SalaryTest::SetUp();
        forms::setScreenDpiForTesting(96);
        forms::setForcePdfForTesting(true);
        forms::setPdfFallbackFolder(folder());
        addExampleMonth();
        addStaff("Chen Ya-ting", 82, 105, "A002");
        addWage({"2002/12/3", "Chen Ya-ting", 4, 0, 0, 0}, "A002");
        addWage({"2002/11/28", "Tovena", 5, 0, 0, 0});
    }
    void TearDown() override {
        forms::setForcePdfForTesting(false);
        forms::setPdfFallbackFolder({});
        forms::setScreenDpiForTesting(0);
        SalaryTest::TearDown();
    }

    QString folder() const {
        const QString snapshots = qEnvironmentVariable("TALLOWBROOK_SNAPSHOT_DIR");
        if (snapshots.isEmpty()) return pages.path();
        QDir().mkpath(snapshots);
        return snapshots;
    }

    void savePicture(QWidget* window, const QString& name) {
        const QImage image = window->grab().toImage();
        ASSERT_FALSE(image.isNull());
        EXPECT_EQ(image.size(), window->size());
        if (!qEnvironmentVariableIsEmpty("TALLOWBROOK_SNAPSHOT_DIR")) {
            EXPECT_TRUE(image.save(folder() + "/" + name + ".png"));
        }
    }

    // Presses Print and checks that one page was written and announced.
    void expectPrinted(QWidget* window, const char* printButton) {
        const QString pattern =
            window->windowTitle() + " " + QDate::currentDate().toString("yyyy-MM-dd") + "*.pdf";
        const QStringList before = QDir(folder()).entryList({pattern});
        prompts.told.clear();
        button(window, printButton)->click();
        const QStringList after = QDir(folder()).entryList({pattern});
        ASSERT_EQ(after.size(), before.size() + 1);
        ASSERT_EQ(prompts.told.size(), 1);
        EXPECT_TRUE(prompts.toldTexts[0].contains("PDF"));
        for (const QString& name : after) {
            if (!before.contains(name)) {
                EXPECT_GT(QFileInfo(QDir(folder()).filePath(name)).size(), 1000);
            }
        }
    }

    QTemporaryDir pages;
};

TEST_F(SalaryRenderTest, TheSalaryWindowRendersAndPrints) {
    auto* window = openSalaryWindow();
    prompts.inputAnswers.push_back("Tovena");
    button(window, "Command2")->click();
    pressBar(window, "Next");
    ASSERT_EQ(shownRow(window), "2002/12 Tovena");
    savePicture(window, "Form7");
    expectPrinted(window, "Command4");
    // Printing leaves the month as it was.
    EXPECT_EQ(shownRow(window), "2002/12 Tovena");
}

TEST_F(SalaryRenderTest, TheGridRendersAndPrints) {
    auto* window = openSalaryWindow();
    pressDetail(window, "2002/1", "");
    salary::Form9* grid = gridWindow();
    ASSERT_NE(grid, nullptr);
    button(grid, "Command1")->click();
    savePicture(grid, "Form9");
    expectPrinted(grid, "Command2");
}

}  // namespace
}  // namespace salary_tests
