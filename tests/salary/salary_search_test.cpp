// SPDX-License-Identifier: GPL-3.0-or-later
#include "salary_fixture.h"

namespace salary_tests {
namespace {

// Two employees with several months each. The month query lists them by
// name, then month: Chen 2002/11, Chen 2002/12, Tovena 2002/10, 2002/11,
// 2002/12.
class SalarySearchTest : public SalaryTest {
protected:
    void SetUp() override {
        SalaryTest::SetUp();
        addStaff("Tovena", 80, 100);
        addStaff("Chen Ya-ting", 82, 105, "A002");
        for (const char* day : {"2002/12/3", "2002/10/8", "2002/11/5"})
            addWage({day, "Tovena", 8, 0, 0, 0});
        for (const char* day : {"2002/11/5", "2002/12/3"})
            addWage({day, "Chen Ya-ting", 4, 0, 0, 0}, "A002");
    }

    // Moves the window with the bar to the row shown as `row`.
    static void showRow(QWidget* window, const QString& row) {
        pressBar(window, "First");
        for (int i = 0; i < 12 && shownRow(window) != row; ++i) pressBar(window, "Next");
        ASSERT_EQ(shownRow(window), row);
    }
};

// The name inquiry: what was typed, where the window stood, where it ends.
struct NameInquiry {
    const char* typed;  // nullptr: the prompt is cancelled
    const char* from;
    const char* expected;
};

void PrintTo(const NameInquiry& inquiry, std::ostream* out) {
    *out << (inquiry.typed ? inquiry.typed : "(cancelled)") << " from " << inquiry.from;
}

class NameInquiryTest : public SalarySearchTest,
                        public ::testing::WithParamInterface<NameInquiry> {};

TEST_P(NameInquiryTest, ReachesTheEmployeesFirstMonthOrStaysPut) {
    const NameInquiry& inquiry = GetParam();
    auto* window = openSalaryWindow();
    showRow(window, inquiry.from);
    if (inquiry.typed) prompts.inputAnswers.push_back(inquiry.typed);
    button(window, "Command2")->click();
    EXPECT_EQ(shownRow(window), inquiry.expected);
    ASSERT_EQ(prompts.inputsAsked.size(), 1u);
    EXPECT_EQ(prompts.inputsAsked[0].message, "Please input name");
    EXPECT_EQ(prompts.inputsAsked[0].title, "Inquiry");
    // No message, whether a row matched or not.
    EXPECT_TRUE(prompts.told.isEmpty()) << prompts.told.join("\n").toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Vectors, NameInquiryTest,
    ::testing::Values(NameInquiry{"Tovena", "2002/12 Chen Ya-ting", "2002/10 Tovena"},
                      NameInquiry{"  Tovena  ", "2002/12 Chen Ya-ting", "2002/10 Tovena"},
                      NameInquiry{"TOVENA", "2002/12 Chen Ya-ting", "2002/10 Tovena"},
                      NameInquiry{"chen ya-ting", "2002/12 Tovena", "2002/11 Chen Ya-ting"},
                      // The user's pattern characters act as patterns.
                      NameInquiry{"T*", "2002/11 Chen Ya-ting", "2002/10 Tovena"},
                      // A part of a name is no match: LIKE compares the whole name.
                      NameInquiry{"Tove", "2002/11 Chen Ya-ting", "2002/11 Chen Ya-ting"},
                      NameInquiry{"Nobody", "2002/11 Tovena", "2002/11 Tovena"},
                      // Cancelled: an empty name, which no row has.
                      NameInquiry{nullptr, "2002/11 Tovena", "2002/11 Tovena"},
                      NameInquiry{"   ", "2002/11 Tovena", "2002/11 Tovena"},
                      // An apostrophe is a letter of the name: nobody here.
                      NameInquiry{"O'Brien", "2002/11 Tovena", "2002/11 Tovena"},
                      // A list that is never closed is no pattern: no match.
                      NameInquiry{"Tov[ena", "2002/11 Tovena", "2002/11 Tovena"}));

TEST_F(SalarySearchTest, TheNamePromptOffersTheNameShownAndAcceptingItGoesToTheFirstMonth) {
    auto* window = openSalaryWindow();
    showRow(window, "2002/12 Tovena");
    prompts.inputAnswers.push_back(text(window, "Text3"));
    button(window, "Command2")->click();
    ASSERT_EQ(prompts.inputsAsked.size(), 1u);
    EXPECT_EQ(prompts.inputsAsked[0].preset, "Tovena");
    EXPECT_EQ(shownRow(window), "2002/10 Tovena");
}

TEST_F(SalarySearchTest, ToLastMonthStepsBackThroughTheEmployeesMonthsAndStopsAtTheFirst) {
    auto* window = openSalaryWindow();
    showRow(window, "2002/12 Tovena");
    QStringList reached;
    for (int i = 0; i < 3; ++i) {
        button(window, "Command1")->click();
        reached << shownRow(window);
    }
    // Never onto the other employee's months before them.
    EXPECT_EQ(reached, QStringList({"2002/11 Tovena", "2002/10 Tovena", "2002/10 Tovena"}));
    EXPECT_EQ(rates(window), "80 100");
    EXPECT_TRUE(prompts.told.isEmpty()) << prompts.told.join("\n").toStdString();
}

TEST_F(SalarySearchTest, ToLastMonthOnTheFirstRowOfTheQueryStaysThere) {
    auto* window = openSalaryWindow();
    ASSERT_EQ(shownRow(window), "2002/11 Chen Ya-ting");
    button(window, "Command1")->click();
    EXPECT_EQ(shownRow(window), "2002/11 Chen Ya-ting");
    EXPECT_TRUE(prompts.told.isEmpty()) << prompts.told.join("\n").toStdString();
}

// Names that hold an apostrophe, brackets or pattern characters are found as
// themselves by the staff look-up and "To last month".
class OddNameSalaryTest : public SalarySearchTest,
                          public ::testing::WithParamInterface<const char*> {};

TEST_P(OddNameSalaryTest, IsFoundEverywhere) {
    const QString name = QString::fromUtf8(GetParam());
    addStaff(name, 70, 90, "A003");
    addWage({"2002/11/6", name, 2, 0, 0, 0}, "A003");
    addWage({"2002/12/6", name, 3, 0, 0, 0}, "A003");
    auto* window = openSalaryWindow();
    showRow(window, "2002/11 " + name);
    EXPECT_EQ(rates(window), "70 90");  // this employee's own rates
    EXPECT_EQ(figures(window), "140 0 140");
    showRow(window, "2002/12 " + name);
    button(window, "Command1")->click();
    EXPECT_EQ(shownRow(window), "2002/11 " + name);
    EXPECT_TRUE(prompts.told.isEmpty()) << prompts.told.join("\n").toStdString();
}

INSTANTIATE_TEST_SUITE_P(Names, OddNameSalaryTest,
                         ::testing::Values("O'Brien", "Li [Sr]", "Ann*", "#2 Wu", "100%_x"));

TEST_F(SalarySearchTest, ANameWithAnApostropheIsFoundByTheNameInquiry) {
    addStaff("O'Brien", 70, 90, "A003");
    addWage({"2002/11/6", "O'Brien", 2, 0, 0, 0}, "A003");
    addWage({"2002/12/6", "O'Brien", 3, 0, 0, 0}, "A003");
    auto* window = openSalaryWindow();
    showRow(window, "2002/12 Tovena");
    prompts.inputAnswers.push_back("o'brien");
    button(window, "Command2")->click();
    EXPECT_EQ(shownRow(window), "2002/11 O'Brien");
    EXPECT_TRUE(prompts.told.isEmpty()) << prompts.told.join("\n").toStdString();
}

TEST_F(SalarySearchTest, EachEmployeeIsPricedAtTheirOwnRates) {
    auto* window = openSalaryWindow();
    EXPECT_EQ(rates(window), "82 105");
    EXPECT_EQ(figures(window), "328 0 328");
    prompts.inputAnswers.push_back("Tovena");
    button(window, "Command2")->click();
    EXPECT_EQ(rates(window), "80 100");
    EXPECT_EQ(figures(window), "640 0 640");
}

// "Chen" is the start of "Chen Ya-ting", who stands first in the register: a
// look-up that matched the start of a name, or anywhere in it, would price
// Chen at Chen Ya-ting's rates. Worked by hand: Chen 70 x 10 h + 90 x 2 h =
// 880; Chen Ya-ting 82 x 4 h = 328.
TEST_F(SalarySearchTest, ANameThatStartsAnotherNameIsPricedAtItsOwnRates) {
    addStaff("Chen", 70, 90, "A003");
    addWage({"2002/12/9", "Chen", 10, 2, 0, 0}, "A003");
    auto* window = openSalaryWindow();
    prompts.inputAnswers.push_back("Chen");
    button(window, "Command2")->click();
    ASSERT_EQ(shownRow(window), "2002/12 Chen");
    EXPECT_EQ(rates(window), "70 90");
    EXPECT_EQ(figures(window), "880 0 880");
    prompts.inputAnswers.push_back("Chen Ya-ting");
    button(window, "Command2")->click();
    ASSERT_EQ(shownRow(window), "2002/11 Chen Ya-ting");
    EXPECT_EQ(rates(window), "82 105");
    EXPECT_EQ(figures(window), "328 0 328");
}

}  // namespace
}  // namespace salary_tests
