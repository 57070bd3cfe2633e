// SPDX-License-Identifier: GPL-3.0-or-later
#include <QFontInfo>
#include <QHeaderView>
#include <QScrollBar>
#include <cmath>

#include "forms/layout_units.h"
#include "salary/column_autosize.h"
#include "salary_fixture.h"

namespace salary_tests {
namespace {

class DetailGridTest : public SalaryTest {
protected:
    void SetUp() override {
        SalaryTest::SetUp();
        forms::setScreenDpiForTesting(96);
    }
    void TearDown() override {
        SalaryTest::TearDown();
        forms::setScreenDpiForTesting(0);
    }

    // The grid over every wage row, as "Detail" with cancelled prompts opens it.
    salary::Form9* openGrid() {
        salary::setDetailQueryText(salary::composeDetailQuery("", ""));
        return qobject_cast<salary::Form9*>(FormWindow::loadWindow("Form9"));
    }

    // Liberation Mono draws every character 0.6 em wide: at 20 pixels that is
    // 12 pixels, at 96 dots per inch 180 twips. Worked by hand, a column
    // sized to a text of n characters is n x 180 twips wide, and 700 twips
    // more.
    static void useMonoFont(salary::Form9* grid) {
        QFont mono(QStringLiteral("Liberation Mono"));
        mono.setPixelSize(20);
        grid->setFont(mono);
        ASSERT_EQ(QFontInfo(grid->font()).family(), QStringLiteral("Liberation Mono"));
    }
    static int monoColumn(int characters) { return forms::twips(characters * 180 + 700); }

    // The width the grid gives a column sized to `text` in the window's
    // font: which text a column was sized to, whatever the font.
    static int sizedTo(salary::Form9* grid, const QString& text) {
        return forms::twips(salary::autosizedWidthTwips(text, grid->font(), grid));
    }

    static void autosize(salary::Form9* grid) { button(grid, "Command1")->click(); }
};

TEST_F(DetailGridTest, HasAHeadingRowOfColumnNamesAndAnEmptyFirstColumn) {
    addWage({"2002/12/2", "Tovena", 8, 1, 0, 0});
    addWage({"2002/12/1", "Joan", 3, 0, 50, 10});
    salary::Form9* grid = openGrid();
    ASSERT_NE(grid, nullptr);
    EXPECT_EQ(grid->windowTitle(), "Form9");
    EXPECT_EQ(text(grid, "Text1"), "The staff calculate wages(Detail)");
    EXPECT_EQ(heading(grid),
              QStringList({"", "Date", "Name", "Main hour", "Work overtime", "Absent",
                           "Ask for leave", "Daily settlement of accounts"}));
    EXPECT_EQ(gridLines(grid),
              QStringList({"2002/12/1|Joan|3|0|No|No|180", "2002/12/2|Tovena|8|1|No|No|740"}));
    for (int row = 0; row < grid->grid()->gridRows(); ++row)
        EXPECT_EQ(grid->grid()->cellText(row, 0), "") << row;
    // Read-only: no cell can be edited.
    EXPECT_EQ(grid->grid()->editTriggers(), QAbstractItemView::NoEditTriggers);
}

TEST_F(DetailGridTest, AutosizeFitsEachColumnToItsLongestTextAndTheEmptyColumnTo700Twips) {
    addWage({"2002/12/24", "Tovena", 8, 1, 0, 0});
    addWage({"2002/1/5", "Chen Ya-ting", 12.5, 0, 0, 0});
    salary::Form9* grid = openGrid();
    useMonoFont(grid);
    autosize(grid);
    // "", 2002/12/24, Chen Ya-ting, Main hour, Work overtime, Absent, Ask for
    // leave, Daily settlement of accounts: their characters.
    const int characters[] = {0, 10, 12, 9, 13, 6, 13, 28};
    for (int column = 0; column < 8; ++column)
        EXPECT_EQ(grid->grid()->gridColumnWidth(column), monoColumn(characters[column])) << column;
    EXPECT_EQ(grid->grid()->gridColumnWidth(0), forms::twips(700));
}

TEST_F(DetailGridTest, AutosizeTwiceGivesTheSameWidthsAsOnce) {
    addWage({"2002/12/24", "Tovena", 8, 1, 0, 0});
    addWage({"2002/1/5", "Chen Ya-ting", 12.5, 0, 0, 0});
    salary::Form9* grid = openGrid();
    autosize(grid);
    std::vector<int> once;
    for (int column = 0; column < grid->grid()->gridColumns(); ++column)
        once.push_back(grid->grid()->gridColumnWidth(column));
    autosize(grid);
    for (int column = 0; column < grid->grid()->gridColumns(); ++column)
        EXPECT_EQ(grid->grid()->gridColumnWidth(column), once[column]) << column;
}

TEST_F(DetailGridTest, AutosizeMeasuresInTheWindowsFontNotTheGrids) {
    addWage({"2002/12/24", "Tovena", 8, 1, 0, 0});
    salary::Form9* grid = openGrid();
    useMonoFont(grid);
    grid->grid()->setFont(forms::arialFont(20, true));
    autosize(grid);
    EXPECT_EQ(grid->grid()->gridColumnWidth(2), monoColumn(6)) << "Tovena";
}

// The Name column's texts top to bottom (the heading "Name" first), and the
// one the column is sized to: most characters, the uppermost on a tie.
struct NameColumn {
    QStringList names;  // one wage row each, dated in this order
    const char* chosen;
};

void PrintTo(const NameColumn& column, std::ostream* out) {
    *out << column.names.join(", ").toStdString();
}

class AutosizeChoiceTest : public DetailGridTest,
                           public ::testing::WithParamInterface<NameColumn> {};

TEST_P(AutosizeChoiceTest, TakesTheTextWithTheMostCharacters) {
    const NameColumn& column = GetParam();
    int day = 1;
    for (const QString& name : column.names)
        addWage({QStringLiteral("2002/12/%1").arg(day++), name, 1, 0, 0, 0});
    salary::Form9* grid = openGrid();
    ASSERT_EQ(gridNames(grid), column.names);
    autosize(grid);
    EXPECT_EQ(grid->grid()->gridColumnWidth(2), sizedTo(grid, column.chosen));
}

INSTANTIATE_TEST_SUITE_P(
    Vectors, AutosizeChoiceTest,
    ::testing::Values(
        // By count, not by drawn width: five narrow letters beat four wide ones.
        NameColumn{{"MMMM", "iiiii"}, "iiiii"},
        // On equal counts the uppermost wins, wide or narrow.
        NameColumn{{"WWWWW", "iiiii"}, "WWWWW"}, NameColumn{{"iiiii", "WWWWW"}, "iiiii"},
        // A heading longer than every value sizes its column.
        NameColumn{{"Jo", "Al"}, "Name"},
        // The heading is the uppermost text: a value of its length loses.
        NameColumn{{"WWWW"}, "Name"}));

TEST_F(DetailGridTest, RowHeightsOrderAndTextsStayWhenColumnsAreSized) {
    addWage({"2002/12/24", "Tovena", 8, 1, 0, 0});
    addWage({"2002/1/5", "Chen Ya-ting", 12.5, 0, 0, 0});
    salary::Form9* grid = openGrid();
    const QStringList lines = gridLines(grid);
    const int rowHeight = grid->grid()->rowHeight(1);
    autosize(grid);
    EXPECT_EQ(gridLines(grid), lines);
    EXPECT_EQ(grid->grid()->rowHeight(1), rowHeight);
}

TEST_F(DetailGridTest, TheGridFillsTheWindowsWidth) {
    salary::Form9* grid = openGrid();
    grid->show();
    grid->resize(900, 500);
    QCoreApplication::processEvents();
    EXPECT_EQ(grid->grid()->geometry().width(), 900);
    EXPECT_EQ(grid->grid()->geometry().bottom(), 499);
}

}  // namespace
}  // namespace salary_tests

namespace salary_tests {
namespace {

TEST_F(DetailGridTest, TheHeadingRowAndFirstColumnStayInViewWhenTheLinesScroll) {
    for (int day = 1; day <= 28; ++day)
        addWage({QStringLiteral("2002/2/%1").arg(day), "Tovena", 1, 0, 0, 0});
    salary::Form9* grid = openGrid();
    grid->show();
    forms::DataGrid* cells = grid->grid();
    ASSERT_GT(cells->gridRows(), 20);
    cells->scrollToBottom();
    cells->horizontalScrollBar()->setValue(cells->horizontalScrollBar()->maximum());
    QCoreApplication::processEvents();
    ASSERT_GT(cells->verticalScrollBar()->value(), 0) << "the lines did not scroll";
    // The heading row and the empty column are the grid's fixed headers:
    // shown above and beside whatever line is at the top.
    EXPECT_TRUE(cells->horizontalHeader()->isVisible());
    EXPECT_TRUE(cells->verticalHeader()->isVisible());
    EXPECT_EQ(cells->horizontalHeader()->geometry().bottom() + 1,
              cells->viewport()->geometry().top());
    EXPECT_EQ(cells->cellText(0, 1), "Date");
}

}  // namespace
}  // namespace salary_tests
