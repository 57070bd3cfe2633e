// SPDX-License-Identifier: GPL-3.0-or-later
// What Save asks before it stores a day: a date that no month counts (or
// that is no calendar day in the shop's form), and a date another sheet
// already holds. The answers decide; nothing is lost by the default.

#include <functional>

#include "daily_fixture.h"
#include "support/other_till.h"

namespace {

struct DateCase {
    const char* date;
    const char* question;  // a phrase of the question, or nullptr: not asked
};

void PrintTo(const DateCase& c, std::ostream* os) { *os << '"' << c.date << '"'; }

const DateCase kDates[] = {
    {"2026/12/5", nullptr},
    {"2002/2/12", nullptr},
    {"2024/2/29", nullptr},
    {"2026-12-05", "will not be counted in any month. Save it anyway?"},
    {"5.12.2026", "will not be counted in any month. Save it anyway?"},
    {"2026/12", "will not be counted in any month. Save it anyway?"},
    {"", "This day has no date, so it will not be counted in any month"},
    {"2026/12/05", "not a calendar day written year/month/day without leading zeros"},
    {"2023/2/29", "is not a calendar day (like 2026/12/5), so this day will not be counted"},
    {"2026/13/1", "is not a calendar day (like 2026/12/5), so this day will not be counted"},
    {"2026/4/31", "is not a calendar day (like 2026/12/5), so this day will not be counted"},
    {" 2026/12/5", "not a calendar day"},
};

class DateBeforeSaving : public DailyWindowTest, public ::testing::WithParamInterface<DateCase> {
protected:
    void enterNewDay(const QString& date) {
        insertDay("2002/1/31", {{"Rent", 10}});
        openSheet();
        prompts.yesNoAnswers = {true};  // New
        button("Command4")->click();
        if (!date.isEmpty()) type("Text2", date);
        type("Text1", "77");
    }
};

TEST_P(DateBeforeSaving, IsAskedAboutWhenNoMonthWouldCountIt) {
    const DateCase& c = GetParam();
    enterNewDay(QString::fromUtf8(c.date));
    if (c.question) prompts.yesNoAnswers = {false};
    button("Command5")->click();
    if (!c.question) {
        EXPECT_TRUE(prompts.defaultNoAsked.empty());
        EXPECT_EQ(storedRows(), 2);
        return;
    }
    ASSERT_EQ(prompts.defaultNoAsked.size(), 1u);
    EXPECT_TRUE(prompts.defaultNoAsked[0].message.contains(QString::fromUtf8(c.question)))
        << prompts.defaultNoAsked[0].message.toStdString();
    // No, the default: nothing stored, the day stays as typed.
    EXPECT_EQ(storedRows(), 1);
    EXPECT_TRUE(days().isNewRow());
    EXPECT_EQ(field("Text2")->text(), QString::fromUtf8(c.date));
    EXPECT_EQ(field("Text1")->text(), "77");

    // Yes: stored as typed.
    prompts.yesNoAnswers = {true};
    button("Command5")->click();
    EXPECT_EQ(storedRows(), 2);
    EXPECT_FALSE(days().isNewRow());
}

INSTANTIATE_TEST_SUITE_P(Dates, DateBeforeSaving, ::testing::ValuesIn(kDates));

TEST_F(DailyWindowTest, ADateAlreadyStoredStaysAsItIsAndIsNotAskedAbout) {
    insertDay("2026-12-05", {{"Rent", 10}});
    openSheet();
    type("Text1", "12");
    button("Command5")->click();
    EXPECT_TRUE(prompts.defaultNoAsked.empty());
    EXPECT_EQ(stored("Rent", "2026-12-05").toDouble(), 12);
}

TEST_F(DailyWindowTest, ANewDayWithNothingTypedIsNotAskedAbout) {
    insertDay("2002/1/31", {{"Rent", 10}});
    openSheet();
    prompts.yesNoAnswers = {true};
    button("Command4")->click();
    button("Command5")->click();
    EXPECT_TRUE(prompts.defaultNoAsked.empty());
    EXPECT_EQ(storedRows(), 1);
}

// ------------------------------------------------ a second sheet of a day

struct SecondSheetCase {
    const char* answer;
    int rows;           // stored afterwards
    bool stillNew;      // the typed sheet still waits
    const char* shown;  // the Rent the window shows
};

void PrintTo(const SecondSheetCase& c, std::ostream* os) { *os << c.answer; }

class SecondSheet : public DailyWindowTest,
                    public ::testing::WithParamInterface<SecondSheetCase> {};

TEST_P(SecondSheet, IsMadeOnlyWhenTheUserSaysSo) {
    const SecondSheetCase& c = GetParam();
    insertDay("2002/11/30", {{"Rent", 10}});
    openSheet();
    prompts.yesNoAnswers = {true};
    button("Command4")->click();
    // Meanwhile another till saves the same day.
    insertDay("2002/12/1", {{"Rent", 55}});
    type("Text2", "2002/12/1");
    type("Text1", "77");
    prompts.choiceAnswers = {QString::fromUtf8(c.answer)};
    button("Command5")->click();
    ASSERT_EQ(prompts.choicesAsked.size(), 1u);
    const auto& asked = prompts.choicesAsked[0];
    EXPECT_TRUE(asked.message.contains("A day dated 2002/12/1 is already stored"));
    EXPECT_EQ(asked.defaultButton, "Stay");
    EXPECT_EQ(asked.escapeButton, "Stay");
    EXPECT_EQ(storedRows(), c.rows);
    EXPECT_EQ(days().isNewRow(), c.stillNew);
    EXPECT_EQ(field("Text1")->text(), QString::fromUtf8(c.shown));
    if (!c.stillNew) EXPECT_EQ(field("Text2")->text(), "2002/12/1");
}

INSTANTIATE_TEST_SUITE_P(Answers, SecondSheet,
                         ::testing::Values(SecondSheetCase{"Show the stored day", 2, false, "55"},
                                           SecondSheetCase{"Save a second sheet", 3, false, "55"},
                                           SecondSheetCase{"Stay", 2, true, "77"}));

// A stored day whose date is changed to that of another sheet: asked about,
// Stay first, so Enter never gives up what was typed.
struct MovedDateCase {
    const char* answer;
    const char* firstDate;  // the first day's date stored afterwards
    const char* firstRent;  // and its Rent
    const char* shownRent;  // the Rent the window shows
};

void PrintTo(const MovedDateCase& c, std::ostream* os) { *os << c.answer; }

class DateOfAnotherSheet : public DailyWindowTest,
                           public ::testing::WithParamInterface<MovedDateCase> {};

TEST_P(DateOfAnotherSheet, IsStoredOnlyWhenTheUserSaysSo) {
    const MovedDateCase& c = GetParam();
    insertDay("2002/11/30", {{"Rent", 10}});
    insertDay("2002/12/1", {{"Rent", 55}});
    openSheet();
    type("Text2", "2002/12/1");
    type("Text1", "77");
    prompts.choiceAnswers = {QString::fromUtf8(c.answer)};
    button("Command5")->click();
    ASSERT_EQ(prompts.choicesAsked.size(), 1u);
    const auto& asked = prompts.choicesAsked[0];
    EXPECT_TRUE(asked.message.contains("A day dated 2002/12/1 is already stored"))
        << asked.message.toStdString();
    EXPECT_EQ(asked.defaultButton, "Stay");
    EXPECT_EQ(asked.escapeButton, "Stay");
    EXPECT_EQ(storedRows(), 2);
    const auto first =
        db.query("SELECT Date, Rent FROM \"daily settlement of accounts\" ORDER BY rowid LIMIT 1");
    EXPECT_EQ(first.at(0).at(0).toString(), QString::fromUtf8(c.firstDate));
    EXPECT_EQ(first.at(0).at(1).toDouble(), QString::fromUtf8(c.firstRent).toDouble());
    EXPECT_EQ(field("Text1")->text(), QString::fromUtf8(c.shownRent));
}

INSTANTIATE_TEST_SUITE_P(
    Answers, DateOfAnotherSheet,
    ::testing::Values(MovedDateCase{"Show the stored day", "2002/11/30", "10", "55"},
                      MovedDateCase{"Save with this date", "2002/12/1", "77", "77"},
                      MovedDateCase{"Stay", "2002/11/30", "10", "77"}));

// Moving away from such a day stores nothing: it says why and that Save
// decides, and the day stays as typed.
TEST_F(DailyWindowTest, AStoredDayGivenAnotherSheetsDateIsNotFiledByAMove) {
    insertDay("2002/11/30", {{"Rent", 10}});
    insertDay("2002/12/1", {{"Rent", 55}});
    openSheet();
    type("Text2", "2002/12/1");
    type("Text1", "77");
    barButton("Next")->click();
    ASSERT_EQ(prompts.toldTexts.size(), 1);
    EXPECT_TRUE(prompts.toldTexts[0].contains(
        "A day whose Date is \"2002/12/1\" is already stored (by this till or another), so "
        "this day was not stored with that Date"))
        << prompts.toldTexts[0].toStdString();
    EXPECT_TRUE(prompts.toldTexts[0].contains("press Save"));
    EXPECT_EQ(stored("Rent", "2002/11/30").toDouble(), 10);
    EXPECT_EQ(days().currentIndex(), 0);
    EXPECT_EQ(field("Text2")->text(), "2002/12/1");
    EXPECT_EQ(field("Text1")->text(), "77");
}

// Another till, a program of its own, is storing the same new day when Save
// is pressed here: it has looked for the date, found none and added its
// sheet, and commits a moment later. Save waits for it, finds that sheet and
// asks, as for a day stored long ago; nothing is filed twice unasked.
class SecondSheetStoredMeanwhile : public DailyWindowTest,
                                   public ::testing::WithParamInterface<SecondSheetCase> {};

TEST_P(SecondSheetStoredMeanwhile, IsAskedAboutAndMadeOnlyWhenTheUserSaysSo) {
    const SecondSheetCase& c = GetParam();
    insertDay("2002/11/30", {{"Rent", 10}});
    openSheet();
    prompts.yesNoAnswers = {true};
    button("Command4")->click();
    type("Text2", "2002/12/1");
    type("Text1", "77");
    OtherTill other(QStringLiteral(DAY_PROBE_PATH), db.path());
    other.send("hold 2002/12/1 1500");  // its day, Rent 55, committed in 1.5 s
    ASSERT_EQ(other.answer(), "holding");
    prompts.choiceAnswers = {QString::fromUtf8(c.answer)};
    button("Command5")->click();
    EXPECT_EQ(other.answer(), "stored");
    ASSERT_EQ(prompts.choicesAsked.size(), 1u) << "a second sheet filed unasked";
    EXPECT_TRUE(
        prompts.choicesAsked[0].message.contains("A day dated 2002/12/1 is already stored"));
    EXPECT_TRUE(prompts.toldTexts.isEmpty()) << prompts.toldTexts.join("\n").toStdString();
    EXPECT_EQ(storedRows(), c.rows);
    EXPECT_EQ(days().isNewRow(), c.stillNew);
    EXPECT_EQ(field("Text1")->text(), QString::fromUtf8(c.shown));
    EXPECT_EQ(field("Text2")->text(), "2002/12/1");
}

INSTANTIATE_TEST_SUITE_P(Answers, SecondSheetStoredMeanwhile,
                         ::testing::Values(SecondSheetCase{"Show the stored day", 2, false, "55"},
                                           SecondSheetCase{"Save a second sheet", 3, false, "55"},
                                           SecondSheetCase{"Stay", 2, true, "77"}));

// Every other way a new day is stored refuses a date stored already,
// saying so and how to go on; the sheet stays as typed, nothing is stored.
struct OtherWayCase {
    const char* way;
    std::function<void(DailyWindowTest&, ScriptedPrompts&)> store;
};

void PrintTo(const OtherWayCase& c, std::ostream* os) { *os << c.way; }

class ASecondSheetByAnotherWay : public DailyWindowTest,
                                 public ::testing::WithParamInterface<OtherWayCase> {
public:
    using DailyWindowTest::barButton;
    using DailyWindowTest::button;
    using DailyWindowTest::sheet;
};

TEST_P(ASecondSheetByAnotherWay, IsRefusedSayingWhyAndTheSheetStaysAsTyped) {
    insertDay("2002/11/30", {{"Rent", 10}});
    openSheet();
    prompts.yesNoAnswers = {true};
    button("Command4")->click();
    insertDay("2002/12/1", {{"Rent", 55}});  // by another till meanwhile
    type("Text2", "2002/12/1");
    type("Text1", "77");
    GetParam().store(*this, prompts);
    const QStringList said =
        prompts.toldTexts + (prompts.defaultNoAsked.empty()
                                 ? QStringList()
                                 : QStringList{prompts.defaultNoAsked.back().message});
    ASSERT_EQ(said.size(), 1) << said.join("\n").toStdString();
    EXPECT_TRUE(
        said[0].contains("A day whose Date is \"2002/12/1\" is already stored (by this "
                         "till or another), so this new day was not stored"))
        << said[0].toStdString();
    EXPECT_TRUE(said[0].contains("press Save")) << said[0].toStdString();
    EXPECT_TRUE(prompts.choicesAsked.empty());
    EXPECT_EQ(storedRows(), 2);
    ASSERT_NE(sheet(), nullptr) << "the window stays open";
    EXPECT_TRUE(days().isNewRow());
    EXPECT_EQ(field("Text2")->text(), "2002/12/1");
    EXPECT_EQ(field("Text1")->text(), "77");
}

INSTANTIATE_TEST_SUITE_P(
    Ways, ASecondSheetByAnotherWay,
    ::testing::Values(
        OtherWayCase{"the bar's First",
                     [](DailyWindowTest& t, ScriptedPrompts&) {
                         static_cast<ASecondSheetByAnotherWay&>(t).barButton("First")->click();
                     }},
        OtherWayCase{"Inquiry",
                     [](DailyWindowTest& t, ScriptedPrompts& prompts) {
                         prompts.inputAnswers = {"2002/11/30"};
                         static_cast<ASecondSheetByAnotherWay&>(t).button("Command1")->click();
                     }},
        OtherWayCase{"New",
                     [](DailyWindowTest& t, ScriptedPrompts& prompts) {
                         prompts.yesNoAnswers = {true};
                         static_cast<ASecondSheetByAnotherWay&>(t).button("Command4")->click();
                     }},
        OtherWayCase{"closing the window, then keeping it",
                     [](DailyWindowTest& t, ScriptedPrompts& prompts) {
                         prompts.yesNoAnswers = {false};
                         static_cast<ASecondSheetByAnotherWay&>(t).sheet()->close();
                     }}));

// A date no month counts is asked about however the day is stored, as by
// Save, also after No at Save; No stores nothing and keeps the day as
// typed, and closing then asks whether to close without it.
TEST_F(DailyWindowTest, AnUndatedDayIsAskedAboutByTheBarAndTheCloseBoxToo) {
    insertDay("2002/11/30", {{"Rent", 10}});
    openSheet();
    prompts.yesNoAnswers = {true, false, false, false, false};  // New; then No to each
    button("Command4")->click();
    type("Text2", "2003-01-06");
    type("Text1", "77");
    button("Command5")->click();
    barButton("First")->click();
    sheet()->close();
    ASSERT_EQ(prompts.defaultNoAsked.size(), 4u);
    EXPECT_TRUE(prompts.defaultNoAsked[1].message.contains("The date \"2003-01-06\" is not a day"));
    EXPECT_TRUE(prompts.defaultNoAsked[3].message.startsWith(
        "What was typed in this window was not stored. Close the window without it?"));
    EXPECT_TRUE(prompts.toldTexts.isEmpty()) << prompts.toldTexts.join("\n").toStdString();
    EXPECT_EQ(storedRows(), 1);
    ASSERT_NE(sheet(), nullptr);
    EXPECT_EQ(field("Text2")->text(), "2003-01-06");
    EXPECT_EQ(field("Text1")->text(), "77");
}

TEST_F(DailyWindowTest, ADateNoMonthCountsThatIsStoredAlreadyIsAskedAboutTwice) {
    insertDay("2026-12-05", {{"Rent", 10}});
    openSheet();
    prompts.yesNoAnswers = {true, true};  // New; save it anyway
    button("Command4")->click();
    type("Text2", "2026-12-05");
    type("Text1", "5");
    prompts.choiceAnswers = {"Stay"};
    button("Command5")->click();
    EXPECT_EQ(prompts.defaultNoAsked.size(), 1u);
    EXPECT_EQ(prompts.choicesAsked.size(), 1u);
    EXPECT_EQ(storedRows(), 1);
}

}  // namespace
