// SPDX-License-Identifier: GPL-3.0-or-later
// The real message boxes, not the scripted ones: which answer Enter and
// Escape give. Enter in a question that gives something up must keep things
// as they are; scripted prompts cannot show this, since they never see a key.

#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>
#include <QTimer>
#include <functional>

#include "forms/prompts.h"

using forms::dialogPrompts;

namespace {

// Presses `key` in the dialog that opens next, once it is up.
void pressInNextDialog(Qt::Key key) {
    QTimer::singleShot(50, [key] {
        QWidget* dialog = QApplication::activeModalWidget();
        ASSERT_NE(dialog, nullptr) << "no dialog opened";
        QTest::keyClick(dialog, key);
    });
}

struct KeyCase {
    const char* question;
    Qt::Key key;
    int expected;  // the answer: 1 Yes / the caption's index, 0 No
    std::function<int()> ask;
};

void PrintTo(const KeyCase& c, std::ostream* os) {
    *os << c.question << (c.key == Qt::Key_Return ? " + Enter" : " + Escape");
}

class RealDialogKeys : public ::testing::TestWithParam<KeyCase> {};

TEST_P(RealDialogKeys, GiveTheAnswerTheQuestionIntends) {
    const KeyCase& c = GetParam();
    pressInNextDialog(c.key);
    EXPECT_EQ(c.ask(), c.expected);
}

int askYesNo() { return dialogPrompts().askYesNo(nullptr, "Begin a new day?", {}) ? 1 : 0; }
int askGiveUp() {
    return dialogPrompts().askYesNoDefaultNo(nullptr, "Close without storing it?", {}) ? 1 : 0;
}
// Save this wage / Give it up / Stay, Stay the default and the escape.
int askWage() {
    return dialogPrompts().choose(nullptr, "This wage is not saved.", {},
                                  {"Save this wage", "Give it up", "Stay"}, 2, 2);
}
// Show the stored day (default) / Save a second sheet / Stay (escape).
int askSecondSheet() {
    return dialogPrompts().choose(nullptr, "The day is stored already.", {},
                                  {"Show the stored day", "Save a second sheet", "Stay"}, 0, 2);
}

INSTANTIATE_TEST_SUITE_P(
    EnterAndEscape, RealDialogKeys,
    ::testing::Values(KeyCase{"a Yes/No question", Qt::Key_Return, 1, askYesNo},
                      KeyCase{"a Yes/No question", Qt::Key_Escape, 0, askYesNo},
                      KeyCase{"the give-up question", Qt::Key_Return, 0, askGiveUp},
                      KeyCase{"the give-up question", Qt::Key_Escape, 0, askGiveUp},
                      KeyCase{"the unsaved wage", Qt::Key_Return, 2, askWage},
                      KeyCase{"the unsaved wage", Qt::Key_Escape, 2, askWage},
                      KeyCase{"a second sheet", Qt::Key_Return, 0, askSecondSheet},
                      KeyCase{"a second sheet", Qt::Key_Escape, 2, askSecondSheet}));

}  // namespace
