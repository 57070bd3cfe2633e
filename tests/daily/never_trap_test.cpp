// SPDX-License-Identifier: GPL-3.0-or-later
// The daily window can always be left, and what it stores is what it shows:
// typing with no day to type into, write-backs the store refuses, and Save of
// a date that cannot be searched for.

#include <QApplication>
#include <QClipboard>
#include <QPointer>

#include "daily_fixture.h"

namespace {

using forms::FormWindow;

// A new shop: the ledger has no day yet.
class EmptyLedger : public DailyWindowTest {
protected:
    void SetUp() override {
        DailyWindowTest::SetUp();
        openSheet();
    }
};

// How a user may try to put text into a field.
enum class Entry { Keys, Backspace, Paste };

void enter(QLineEdit* edit, Entry how) {
    edit->setFocus();
    switch (how) {
        case Entry::Keys:
            QTest::keyClicks(edit, "5");
            break;
        case Entry::Backspace:
            QTest::keyClick(edit, Qt::Key_Backspace);
            break;
        case Entry::Paste:
            QApplication::clipboard()->setText("55");
            QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
            break;
    }
}

class TypingOnAnEmptyLedger : public EmptyLedger, public ::testing::WithParamInterface<Entry> {};

TEST_P(TypingOnAnEmptyLedger, IsRefusedWithAWordWhyAndLeavesNothingPending) {
    enter(field("Text1"), GetParam());
    ASSERT_EQ(prompts.toldTexts.size(), 1);
    EXPECT_TRUE(prompts.toldTexts[0].contains("\"New\"")) << prompts.toldTexts[0].toStdString();
    EXPECT_EQ(field("Text1")->text(), "");
    EXPECT_FALSE(dynamic_cast<forms::BoundLineEdit*>(field("Text1"))->isChanged());
}

INSTANTIATE_TEST_SUITE_P(Entries, TypingOnAnEmptyLedger,
                         ::testing::Values(Entry::Keys, Entry::Backspace, Entry::Paste));

// After the refused typing, every way on works without an error.
enum class WayOn { New, Save, CloseBox };

class AfterTypingOnAnEmptyLedger : public EmptyLedger,
                                   public ::testing::WithParamInterface<WayOn> {};

TEST_P(AfterTypingOnAnEmptyLedger, NewSaveAndCloseWork) {
    type("Text1", "55");
    prompts.told.clear();
    prompts.toldTexts.clear();
    switch (GetParam()) {
        case WayOn::New:
            prompts.yesNoAnswers = {true};
            button("Command4")->click();
            EXPECT_TRUE(days().isNewRow());
            type("Text2", "2002/4/1");
            type("Text1", "55");
            button("Command5")->click();
            EXPECT_EQ(stored("Rent", "2002/4/1").toDouble(), 55);
            break;
        case WayOn::Save:
            button("Command5")->click();
            EXPECT_EQ(storedRows(), 0);
            break;
        case WayOn::CloseBox: {
            QPointer<FormWindow> window = sheet();
            window->close();
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            EXPECT_TRUE(window.isNull());
            break;
        }
    }
    EXPECT_TRUE(prompts.toldTexts.isEmpty()) << prompts.toldTexts.join("\n").toStdString();
    EXPECT_TRUE(prompts.defaultNoAsked.empty());
}

INSTANTIATE_TEST_SUITE_P(Ways, AfterTypingOnAnEmptyLedger,
                         ::testing::Values(WayOn::New, WayOn::Save, WayOn::CloseBox));

// The store refuses every change of the ledger from now on (as a read-only,
// replaced or full file would): a trigger stands in for the file.
class StoreRefusesWrites : public DailyWindowTest {
protected:
    void SetUp() override {
        DailyWindowTest::SetUp();
        insertDay("2002/2/12", {{"Rent", 30}});
        openSheet();
        if (db.onServer())
            db.exec(
                "CREATE FUNCTION refuse() RETURNS trigger LANGUAGE plpgsql AS $$ BEGIN RAISE "
                "EXCEPTION 'attempt to write a readonly database'; END $$; CREATE TRIGGER refuse "
                "BEFORE UPDATE ON \"daily settlement of accounts\" FOR EACH ROW EXECUTE "
                "FUNCTION refuse()");
        else
            db.exec(
                "CREATE TRIGGER refuse BEFORE UPDATE ON \"daily settlement of accounts\" "
                "BEGIN SELECT RAISE(ABORT, 'attempt to write a readonly database'); END");
        type("Text1", "44");
    }
};

TEST_F(StoreRefusesWrites, CloseSaysWhyAndKeepsTheWindowUnlessTheUserGivesTheEditUp) {
    QPointer<FormWindow> window = sheet();
    prompts.yesNoAnswers = {false, true};
    window->close();
    ASSERT_EQ(prompts.defaultNoAsked.size(), 1);
    EXPECT_TRUE(prompts.defaultNoAsked[0].message.contains("readonly"))
        << prompts.defaultNoAsked[0].message.toStdString();
    EXPECT_TRUE(prompts.defaultNoAsked[0].message.contains("Close the window without it?"));
    EXPECT_FALSE(window.isNull());
    EXPECT_EQ(field("Text1")->text(), "44");

    window->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(window.isNull());
    EXPECT_EQ(stored("Rent", "2002/2/12").toDouble(), 30) << "what was stored stays";
}

TEST_F(StoreRefusesWrites, NewAndSaveReportTheErrorAndKeepTheTypedText) {
    prompts.yesNoAnswers = {true};
    button("Command4")->click();
    button("Command5")->click();
    EXPECT_EQ(prompts.toldTexts.size(), 2);
    EXPECT_EQ(field("Text1")->text(), "44");
    EXPECT_FALSE(days().isNewRow());
    EXPECT_EQ(stored("Rent", "2002/2/12").toDouble(), 30);
}

// Dates that no criterion can search for are still stored and shown.
class SaveOfAnUnsearchableDate : public DailyWindowTest,
                                 public ::testing::WithParamInterface<const char*> {};

TEST_P(SaveOfAnUnsearchableDate, ShowsTheStoredDayWithoutAnError) {
    insertDay("2002/1/31", {{"Rent", 10}});
    insertDay("2002/2/1", {{"Rent", 20}});
    openSheet();
    // New, then Save it anyway: such a date is counted in no month.
    prompts.yesNoAnswers = {true, true};
    button("Command4")->click();
    const QString date = QString::fromUtf8(GetParam());
    type("Text2", date);
    type("Text1", "77");
    button("Command5")->click();
    EXPECT_TRUE(prompts.toldTexts.isEmpty()) << prompts.toldTexts.join("\n").toStdString();
    EXPECT_EQ(stored("Rent", QString(date).replace("'", "''")).toDouble(), 77);
    EXPECT_EQ(field("Text2")->text(), date);
    EXPECT_EQ(field("Text1")->text(), "77");
    EXPECT_FALSE(days().isNewRow());
    EXPECT_EQ(storedRows(), 3);
}

INSTANTIATE_TEST_SUITE_P(Dates, SaveOfAnUnsearchableDate,
                         ::testing::Values("2002/2/2'", "2002/[2/3", "O'2002/2/4"));

}  // namespace
