// SPDX-License-Identifier: GPL-3.0-or-later
#include <QTest>

#include "sheet_fixture.h"

namespace sheet_tests {
namespace {

// The daily window may be closed while a sheet stays open. Then there is no
// day to find and no field to fill: the sheet says so and changes nothing,
// and no hidden daily window appears on some other day.
class DailyWindowClosedTest : public SheetTest {
protected:
    void SetUp() override {
        SheetTest::SetUp();
        day11 = addDay("2002/2/11", {{"Soup cup", 10}});
        day12 = addDay("2002/2/12", {{"Soup cup", 20}, {"Tableware", 40}});
    }

    // A sheet opened from the daily window, which the user then closed.
    supplies::SupplySheet* sheetLeftOpen(const QString& name) {
        auto* main = openDailyWindow();
        main->showDay("2002/2/12");
        auto* sheet = openLikeDetailButton(name);
        main->close();
        flushDeletes();
        EXPECT_EQ(FormWindow::find("Form1"), nullptr);
        return sheet;
    }

    qint64 day11 = 0, day12 = 0;
};

TEST_F(DailyWindowClosedTest, ByHereDayExplainsAndStaysOnTheRow) {
    for (const char* name : {"Form2", "Form3"}) {
        prompts.told.clear();
        auto* sheet = sheetLeftOpen(name);
        ASSERT_EQ(dateField(sheet)->text(), "2002/2/12");
        const int row = sheet->records().currentIndex();

        button(sheet, "Command1")->click();
        ASSERT_EQ(prompts.told.size(), 1) << name;
        EXPECT_TRUE(prompts.told[0].startsWith(forms::programTitle() + "|"));
        EXPECT_TRUE(prompts.toldTexts[0].contains("daily settlement window"));
        EXPECT_EQ(sheet->records().currentIndex(), row);
        EXPECT_EQ(dateField(sheet)->text(), "2002/2/12");
        EXPECT_EQ(FormWindow::find("Form1"), nullptr);
        delete sheet;
    }
}

TEST_F(DailyWindowClosedTest, ConfirmExplainsAndKeepsTheSheetAndItsItems) {
    auto* sheet = sheetLeftOpen("Form2");
    QTest::keyClicks(item(sheet, 2), "7");

    button(sheet, "Command2")->click();
    flushDeletes();
    ASSERT_EQ(prompts.told.size(), 1);
    EXPECT_TRUE(prompts.toldTexts[0].contains("Nothing was changed"));
    // Only the login opens the daily window: the way on is to close the
    // sheet, which keeps its items, not to open the daily window again.
    EXPECT_TRUE(prompts.toldTexts[0].contains("Closing this sheet still stores its items"))
        << prompts.toldTexts[0].toStdString();
    EXPECT_FALSE(prompts.toldTexts[0].contains("Open it")) << prompts.toldTexts[0].toStdString();
    EXPECT_EQ(FormWindow::find("Form2"), sheet);
    EXPECT_EQ(FormWindow::find("Form1"), nullptr);
    EXPECT_EQ(item(sheet, 2)->text(), "7");
    // Nothing reached the file: neither the items nor the daily figure.
    EXPECT_TRUE(stored(day12, "Beverage cup").isNull());
    EXPECT_EQ(stored(day12, "Tableware"), QVariant(40.0));
    EXPECT_EQ(stored(day11, "Tableware"), QVariant());

    // As the message says: closing the sheet stores its items, and still
    // brings up no daily window.
    sheet->close();
    flushDeletes();
    EXPECT_EQ(FormWindow::find("Form2"), nullptr);
    EXPECT_EQ(FormWindow::find("Form1"), nullptr);
    EXPECT_EQ(stored(day12, "Beverage cup"), QVariant(7.0));
    EXPECT_EQ(stored(day12, "Tableware"), QVariant(40.0));
    EXPECT_EQ(prompts.told.size(), 1);
}

TEST_F(DailyWindowClosedTest, ASheetOpenedWithoutTheDailyWindowNeverCreatesOne) {
    auto* sheet = FormWindow::loadWindow("Form3");
    ASSERT_NE(sheet, nullptr);
    button(sheet, "Command1")->click();
    button(sheet, "Command2")->click();
    EXPECT_EQ(prompts.told.size(), 2);
    EXPECT_EQ(FormWindow::find("Form1"), nullptr);
    EXPECT_EQ(FormWindow::find("Form3"), sheet);
}

}  // namespace
}  // namespace sheet_tests
