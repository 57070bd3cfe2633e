// SPDX-License-Identifier: GPL-3.0-or-later
#include <QPointer>

#include "salary_fixture.h"

namespace salary_tests {
namespace {

// Wage rows across 2002 and 2003 for names with and without "an".
class DetailQueryTest : public SalaryTest {
protected:
    void SetUp() override {
        SalaryTest::SetUp();
        addStaff("Tovena", 80, 100);
        addWage({"2002/12/24", "Tovena", 8, 1, 0, 0});
        addWage({"2002/1/5", "Tovena", 5, 0, 0, 0});
        addWage({"2002/10/3", "ANDERS", 6, 0, 0, 0}, "A002");
        addWage({"2002/2/1", "Tovena", 4, 0, 0, 0});
        addWage({"2002/11/7", "Joan", 3, 0, 0, 0}, "A003");
        addWage({"2003/1/4", "Chen Ya-ting", 7, 0, 0, 0}, "A004");
    }

    // "Detail" from the salary window, then the grid it opened.
    salary::Form9* detail(const QString& month, const QString& name) {
        pressDetail(salaryWindow(), month, name);
        salary::Form9* grid = gridWindow();
        EXPECT_NE(grid, nullptr);
        return grid;
    }
    salary::Form7* salaryWindow() {
        if (!window) window = openSalaryWindow();
        return window;
    }
    QPointer<salary::Form7> window;
};

TEST_F(DetailQueryTest, AsksForAMonthAndANameOfferingTheSalaryWindowsOwn) {
    auto* salaryRow = salaryWindow();
    ASSERT_EQ(shownRow(salaryRow), "2002/10 ANDERS");
    detail("2002/1", "Tovena");
    ASSERT_EQ(prompts.inputsAsked.size(), 2u);
    EXPECT_EQ(prompts.inputsAsked[0].message,
              QString::fromUtf8("Please Input Date--Like\xEF\xBC\x9A"
                                "2002/1"));
    EXPECT_EQ(prompts.inputsAsked[0].title, "Inquiry----Month");
    EXPECT_EQ(prompts.inputsAsked[0].preset, "2002/10");
    EXPECT_EQ(prompts.inputsAsked[1].message,
              QString::fromUtf8("Please Input Name--Like\xEF\xBC\x9A"
                                "Tovena"));
    EXPECT_EQ(prompts.inputsAsked[1].title, "Inquiry----Name");
    EXPECT_EQ(prompts.inputsAsked[1].preset, "ANDERS");
    EXPECT_EQ(salary::detailQueryText(),
              "SELECT Date,Name,[Main hour],[Work overtime],Absent,[Ask for leave],[Daily "
              "settlement of accounts] FROM [Inquiry Detail] WHERE Date LIKE "
              "'*2002/1*'AND Name LIKE'*Tovena*'order by Date");
    EXPECT_TRUE(prompts.told.isEmpty()) << prompts.told.join("\n").toStdString();
}

TEST_F(DetailQueryTest, TheGridListsTheMatchingRowsByCalendarDate) {
    salary::Form9* grid = detail("2002/1", "Tovena");
    ASSERT_NE(grid, nullptr);
    EXPECT_TRUE(grid->isVisible());
    // 2002/1 is found inside 2002/1/5 and 2002/12/24, not in 2002/2/1.
    EXPECT_EQ(gridLines(grid),
              QStringList({"2002/1/5|Tovena|5|0|No|No|400", "2002/12/24|Tovena|8|1|No|No|740"}));
}

// Patterns as typed, and the rows they list (dates, in order).
struct Patterns {
    const char* month;
    const char* name;
    QStringList dates;
};

void PrintTo(const Patterns& patterns, std::ostream* out) {
    *out << "month '" << patterns.month << "' name '" << patterns.name << "'";
}

class DetailPatternTest : public DetailQueryTest, public ::testing::WithParamInterface<Patterns> {};

TEST_P(DetailPatternTest, ListTheRowsWhoseDateAndNameContainThem) {
    const Patterns& patterns = GetParam();
    salary::Form9* grid = detail(patterns.month, patterns.name);
    ASSERT_NE(grid, nullptr);
    EXPECT_EQ(gridDates(grid), patterns.dates);
    EXPECT_TRUE(prompts.told.isEmpty()) << prompts.told.join("\n").toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Vectors, DetailPatternTest,
    ::testing::Values(
        // 2002/1 also matches October to December.
        Patterns{"2002/1", "", {"2002/1/5", "2002/10/3", "2002/11/7", "2002/12/24"}},
        // "an" in any case, anywhere in the name: ANDERS and Joan, not Tovena.
        Patterns{"", "an", {"2002/10/3", "2002/11/7"}},
        Patterns{"", "AN", {"2002/10/3", "2002/11/7"}},
        // Blanks around a pattern are removed ...
        Patterns{"  2002/12  ", "  tovena ", {"2002/12/24"}},
        // ... blanks inside it stay part of it.
        Patterns{"", "Chen Ya", {"2003/1/4"}}, Patterns{"", "ChenYa", {}},
        // Cancelled prompts: every row.
        Patterns{
            "", "", {"2002/1/5", "2002/2/1", "2002/10/3", "2002/11/7", "2002/12/24", "2003/1/4"}},
        // The user's own pattern characters act as patterns.
        Patterns{"200?/1/#", "", {"2002/1/5", "2003/1/4"}},
        Patterns{"2002/1[01]", "", {"2002/10/3", "2002/11/7"}}, Patterns{"1999", "", {}}));

TEST_F(DetailQueryTest, ARowWithoutANameIsNotListedByEmptyPatterns) {
    db.exec("UPDATE \"The staff calculate wages\" SET Name = NULL WHERE Name = 'Joan'");
    salary::Form9* grid = detail("", "");
    ASSERT_NE(grid, nullptr);
    EXPECT_FALSE(gridNames(grid).contains(""));
    EXPECT_EQ(gridLines(grid).size(), 5);
}

// Hostile patterns, typed into either prompt: an apostrophe is a letter of
// the pattern, so none of them is read as query text; nothing but the wage
// rows is read, nothing is changed, and no row matches.
class DetailInjectionTest : public DetailQueryTest,
                            public ::testing::WithParamInterface<const char*> {};

TEST_P(DetailInjectionTest, IsAPatternLikeAnyOtherAndListsNoRow) {
    const QString hostile = QString::fromUtf8(GetParam());
    const auto staffBefore = db.query("SELECT * FROM \"Materials forms of staff\"");
    const auto wagesBefore = db.query("SELECT * FROM \"The staff calculate wages\"");
    for (const bool asMonth : {true, false}) {
        SCOPED_TRACE(asMonth ? "month" : "name");
        salary::Form9* grid = asMonth ? detail(hostile, "") : detail("", hostile);
        ASSERT_NE(grid, nullptr);
        EXPECT_TRUE(prompts.told.isEmpty()) << prompts.told.join("\n").toStdString();
        EXPECT_EQ(heading(grid),
                  QStringList({"", "Date", "Name", "Main hour", "Work overtime", "Absent",
                               "Ask for leave", "Daily settlement of accounts"}));
        EXPECT_EQ(grid->grid()->gridRows(), 1);
    }
    EXPECT_EQ(db.query("SELECT * FROM \"Materials forms of staff\""), staffBefore);
    EXPECT_EQ(db.query("SELECT * FROM \"The staff calculate wages\""), wagesBefore);
}

INSTANTIATE_TEST_SUITE_P(
    Vectors, DetailInjectionTest,
    ::testing::Values("*'AND Name LIKE'*", "x*'AND Date LIKE'*", "' OR Name LIKE '*",
                      "' UNION SELECT Password FROM [Materials forms of staff] --",
                      "2002*'order by Date; DROP TABLE [The staff calculate wages]; --",
                      "*'; DELETE FROM [Materials forms of staff]; --"));

TEST_F(DetailQueryTest, ANameWithAnApostropheListsItsRows) {
    addWage({"2002/12/3", "O'Brien", 2, 0, 0, 0}, "A005");
    salary::Form9* grid = detail("2002/12", "O'Brien");
    ASSERT_NE(grid, nullptr);
    EXPECT_TRUE(prompts.told.isEmpty()) << prompts.told.join("\n").toStdString();
    EXPECT_EQ(gridNames(grid), QStringList({"O'Brien"}));
}

// Patterns that are no patterns: one message naming the pattern, and an
// open grid left as it was.
struct Refused {
    const char* month;
    const char* name;
    const char* named;
};

void PrintTo(const Refused& attempt, std::ostream* out) {
    *out << "month '" << attempt.month << "' name '" << attempt.name << "'";
}

class RefusedPatternTest : public DetailQueryTest, public ::testing::WithParamInterface<Refused> {};

TEST_P(RefusedPatternTest, IsSaidOnceAndListsNoRow) {
    const Refused& attempt = GetParam();
    salary::Form9* grid = detail(attempt.month, attempt.name);
    ASSERT_NE(grid, nullptr);
    ASSERT_EQ(prompts.told.size(), 1) << prompts.told.join("\n").toStdString();
    EXPECT_TRUE(prompts.toldTexts[0].startsWith(
        QStringLiteral("The %1 pattern \"").arg(QString::fromLatin1(attempt.named))))
        << prompts.toldTexts[0].toStdString();
    EXPECT_EQ(grid->grid()->gridRows(), 1);
}

INSTANTIATE_TEST_SUITE_P(Vectors, RefusedPatternTest,
                         ::testing::Values(Refused{"2002/[1", "", "month"},
                                           Refused{"", "[z-a]", "name"}));

TEST_F(DetailQueryTest, ARefusedPatternLeavesAnOpenGridAsItWas) {
    QPointer<salary::Form9> grid = detail("2002/12", "Tovena");
    ASSERT_EQ(gridDates(grid), QStringList({"2002/12/24"}));
    detail("", "[z-a]");
    ASSERT_EQ(prompts.told.size(), 1);
    EXPECT_EQ(gridWindow(), grid.data());
    EXPECT_EQ(gridDates(grid), QStringList({"2002/12/24"}));
    // Opened afresh, the refused query lists nothing.
    grid->close();
    flushDeletes();
    ASSERT_TRUE(grid.isNull());
    ASSERT_NE(FormWindow::loadWindow("Form9"), nullptr);
    EXPECT_EQ(gridWindow()->grid()->gridRows(), 1);
}

TEST_F(DetailQueryTest, DetailWhileTheGridIsOpenShowsWhatWasJustAskedFor) {
    QPointer<salary::Form9> grid = detail("2002/12", "Tovena");
    ASSERT_EQ(gridDates(grid), QStringList({"2002/12/24"}));
    detail("2002/1", "Joan");
    EXPECT_EQ(gridWindow(), grid.data());  // the same window, brought forward
    EXPECT_EQ(gridDates(grid), QStringList({"2002/11/7"}));
    EXPECT_EQ(gridNames(grid), QStringList({"Joan"}));
    EXPECT_TRUE(prompts.told.isEmpty()) << prompts.told.join("\n").toStdString();
}

TEST_F(DetailQueryTest, AQueryTextTheGridCannotOpenIsReportedOnceAndShowsTheHeading) {
    salary::setDetailQueryText("SELECT Date,Name FROM [Inquiry Detail] WHERE Date LIKE 'x'y'");
    auto* grid = qobject_cast<salary::Form9*>(FormWindow::loadWindow("Form9"));
    ASSERT_NE(grid, nullptr);
    ASSERT_EQ(prompts.told.size(), 1) << prompts.told.join("\n").toStdString();
    EXPECT_EQ(grid->grid()->gridRows(), 1);
    EXPECT_EQ(heading(grid).value(1), "Date");
}

}  // namespace
}  // namespace salary_tests
