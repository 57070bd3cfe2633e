// SPDX-License-Identifier: GPL-3.0-or-later
#include "daily/daily_windows.h"
#include "daily/screen_density.h"
#include "month_fixture.h"

namespace month_tests {
namespace {

// The month sheet opened the way the shop opens it: from the daily window's
// "Settle account in the month" button.
class MonthFromDailyWindowTest : public MonthTest {
protected:
    void SetUp() override {
        MonthTest::SetUp();
        daily::registerWindows();
        daily::setScreenDensityForTesting(100);
    }
    void TearDown() override {
        delete FormWindow::find("Form1");
        MonthTest::TearDown();
        daily::setScreenDensityForTesting(0);
    }
};

TEST_F(MonthFromDailyWindowTest, TheButtonOpensTheSheetAndAgainBringsItForward) {
    addExampleMonth();
    addDay("2003/1/4", {{"Turnover", 11}});
    FormWindow* main = FormWindow::loadWindow("Form1");
    ASSERT_NE(main, nullptr);
    main->show();
    QPushButton* settle = button(main, "Command7");
    ASSERT_TRUE(settle->isEnabled());

    settle->click();
    auto* sheet = FormWindow::find("Form4");
    ASSERT_NE(sheet, nullptr);
    EXPECT_TRUE(sheet->isVisible());
    EXPECT_EQ(text(sheet, "Label43"), "500");

    pressBar(sheet, "Next");
    ASSERT_EQ(month(sheet), "1/ 2003");
    settle->click();
    EXPECT_EQ(FormWindow::find("Form4"), sheet);
    EXPECT_EQ(month(sheet), "1/ 2003");
    EXPECT_TRUE(prompts.told.isEmpty()) << prompts.told.join("\n").toStdString();
}

}  // namespace
}  // namespace month_tests
