// SPDX-License-Identifier: GPL-3.0-or-later
#include <QPointer>

#include "daily/daily_windows.h"
#include "daily/screen_density.h"
#include "salary_fixture.h"

namespace salary_tests {
namespace {

// The salary window opened the way the shop opens it: from the daily
// window's "The detailed statement of the salary" button, and on from its
// "Detail" to a grid of one employee's month.
class SalaryFromDailyWindowTest : public SalaryTest {
protected:
    void SetUp() override {
        SalaryTest::SetUp();
        daily::registerWindows();
        daily::setScreenDensityForTesting(100);
    }
    void TearDown() override {
        SalaryTest::TearDown();
        delete FormWindow::find("Form1");
        flushDeletes();
        daily::setScreenDensityForTesting(0);
    }
};

TEST_F(SalaryFromDailyWindowTest, TheButtonOpensTheSalaryWindowAndDetailItsGrid) {
    addExampleMonth();
    addWage({"2002/11/28", "Tovena", 5, 0, 0, 0});
    FormWindow* main = FormWindow::loadWindow("Form1");
    ASSERT_NE(main, nullptr);
    main->show();
    QPushButton* statement = button(main, "Command10");
    ASSERT_EQ(statement->text(), "The detailed statement of the salary");
    ASSERT_TRUE(statement->isEnabled());

    statement->click();
    QPointer<FormWindow> window = FormWindow::find("Form7");
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->windowTitle(), "Staff's salary settlement of  every month");
    ASSERT_EQ(shownRow(window), "2002/11 Tovena");
    pressBar(window, "Next");
    ASSERT_EQ(figures(window), "13800 800 13000");

    // Pressed again: the same window, still on its month.
    statement->click();
    EXPECT_EQ(FormWindow::find("Form7"), window.data());
    EXPECT_EQ(shownRow(window), "2002/12 Tovena");

    // "Detail" with the offered month and name: that employee's month.
    prompts.inputAnswers = {"2002/12", "Tovena"};
    button(window, "Command3")->click();
    salary::Form9* grid = gridWindow();
    ASSERT_NE(grid, nullptr);
    EXPECT_TRUE(grid->isVisible());
    EXPECT_EQ(gridDates(grid), QStringList({"2002/12/2", "2002/12/9"}));
    EXPECT_TRUE(prompts.told.isEmpty()) << prompts.told.join("\n").toStdString();
}

}  // namespace
}  // namespace salary_tests
