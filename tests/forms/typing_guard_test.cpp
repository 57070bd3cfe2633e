// SPDX-License-Identifier: GPL-3.0-or-later
// Typing where there is no row to store it is refused, by every way text can
// reach a field: keys, an input method's commit, paste (keys or the context
// menu), a drop, and for a list also the wheel and the arrow keys. What was
// refused leaves nothing pending and says why once.

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QInputMethodEvent>
#include <QMimeData>
#include <QRegularExpression>
#include <QTest>
#include <QTimer>
#include <QWheelEvent>

#include "forms/bound_combo.h"
#include "forms/bound_line_edit.h"
#include "forms/data_control.h"
#include "forms/form_window.h"
#include "ledger/location/program_folder.h"
#include "ledger/records/record_source.h"
#include "ledger/schema/schema.h"
#include "support/window_test.h"

using namespace forms;
namespace schema = ledger::schema;

namespace {

// A wage table with no row, a bound field and a bound list on it, and the
// staff register the list offers.
class EmptyWageWindow : public FormWindow {
public:
    EmptyWageWindow() : FormWindow(QStringLiteral("GuardForm")) {
        wages = new DataControl("Data1", schema::kWages, "Data1", this);
        staff = new DataControl("Data2", schema::kStaff, "", this);
        staff->hide();
        hours = new BoundLineEdit("Text7", wages->source(), "Main hour", this);
        names = new BoundCombo("DBCombo1", staff->source(), "Name", this);
        names->setTarget(wages->source(), "Name");
        hours->setGeometry(0, 40, 120, 30);
        names->setGeometry(0, 80, 120, 30);
    }
    void loadStep() override {
        for (DataControl* d : {wages, staff}) d->source().setDatabasePath(ledger::databasePath());
    }

    DataControl* wages;
    DataControl* staff;
    BoundLineEdit* hours;
    BoundCombo* names;
};

enum class Way { Keys, Backspace, PasteKeys, InputMethod, Drop, ContextMenu, Wheel, ArrowKey };

struct EntryCase {
    Way way;
    bool onList;  // the list's own text rather than the field
    const char* name;
};

void PrintTo(const EntryCase& c, std::ostream* os) { *os << c.name; }

// Puts text in by one way; a menu that opens (the guard failing) is closed
// again so the test ends instead of waiting for a click.
void enter(QWidget* target, Way way) {
    target->setFocus();
    QTimer::singleShot(200, [] {
        if (QWidget* popup = QApplication::activePopupWidget()) popup->close();
    });
    switch (way) {
        case Way::Keys:
            QTest::keyClicks(target, "8");
            break;
        case Way::Backspace:
            QTest::keyClick(target, Qt::Key_Backspace);
            break;
        case Way::PasteKeys:
            QApplication::clipboard()->setText("88");
            QTest::keyClick(target, Qt::Key_V, Qt::ControlModifier);
            break;
        case Way::InputMethod: {
            QInputMethodEvent commit;
            commit.setCommitString(QStringLiteral("八"));
            QApplication::sendEvent(target, &commit);
            break;
        }
        case Way::Drop: {
            QMimeData data;
            data.setText(QStringLiteral("88"));
            const QPoint at = target->rect().center();
            QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(target, &enter);
            QDropEvent drop(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(target, &drop);
            break;
        }
        case Way::ContextMenu: {
            QApplication::clipboard()->setText("88");
            QContextMenuEvent menu(QContextMenuEvent::Mouse, target->rect().center(),
                                   target->mapToGlobal(target->rect().center()));
            QApplication::sendEvent(target, &menu);
            break;
        }
        case Way::Wheel: {
            const QPointF at = target->rect().center();
            QWheelEvent wheel(at, target->mapToGlobal(at), QPoint(), QPoint(0, -120), Qt::NoButton,
                              Qt::NoModifier, Qt::NoScrollPhase, false);
            QApplication::sendEvent(target, &wheel);
            break;
        }
        case Way::ArrowKey:
            QTest::keyClick(target, Qt::Key_Down);
            break;
    }
    QApplication::processEvents();
}

class TypingWithNoRow : public WindowTest, public ::testing::WithParamInterface<EntryCase> {
protected:
    void SetUp() override {
        db.insert(schema::kStaff, {"Name"}, {"Tovena"});
        db.insert(schema::kStaff, {"Name"}, {"Lin"});
        window = new EmptyWageWindow;
        window->load();
        window->show();
        ASSERT_FALSE(window->wages->source().acceptsEdits()) << "an empty wage table";
        ASSERT_EQ(window->names->count(), 2);
    }

    EmptyWageWindow* window = nullptr;
};

TEST_P(TypingWithNoRow, IsRefusedWithOneWordWhyAndLeavesNothingPending) {
    const EntryCase& c = GetParam();
    QWidget* target =
        c.onList ? static_cast<QWidget*>(window->names) : static_cast<QWidget*>(window->hours);
    // A context menu offers Paste on the list's own text box.
    if (c.onList && c.way != Way::Wheel && c.way != Way::ArrowKey)
        target = window->names->lineEdit();
    enter(target, c.way);

    EXPECT_EQ(window->hours->text(), "");
    EXPECT_FALSE(window->hours->isChanged());
    EXPECT_EQ(window->names->currentText(), "");
    EXPECT_FALSE(window->names->isChanged());
    ASSERT_EQ(prompts.toldTexts.size(), 1) << prompts.toldTexts.join(" | ").toStdString();
    EXPECT_TRUE(prompts.toldTexts[0].contains("\"New\"")) << prompts.toldTexts[0].toStdString();
    // Nothing waits to be stored: the window closes without a question.
    EXPECT_TRUE(window->unload());
    EXPECT_EQ(db.scalar("SELECT count(*) FROM \"The staff calculate wages\"").toInt(), 0);
}

INSTANTIATE_TEST_SUITE_P(
    EveryWay, TypingWithNoRow,
    ::testing::Values(EntryCase{Way::Keys, false, "keys in a field"},
                      EntryCase{Way::Backspace, false, "Backspace in a field"},
                      EntryCase{Way::PasteKeys, false, "Ctrl+V in a field"},
                      EntryCase{Way::InputMethod, false, "an input method's text in a field"},
                      EntryCase{Way::Drop, false, "a drop on a field"},
                      EntryCase{Way::ContextMenu, false, "the context menu of a field"},
                      EntryCase{Way::Keys, true, "keys in a list"},
                      EntryCase{Way::PasteKeys, true, "Ctrl+V in a list"},
                      EntryCase{Way::InputMethod, true, "an input method's text in a list"},
                      EntryCase{Way::Drop, true, "a drop on a list"},
                      EntryCase{Way::ContextMenu, true, "the context menu of a list"},
                      EntryCase{Way::ArrowKey, true, "the arrow key on a list"}),
    [](const ::testing::TestParamInfo<EntryCase>& info) {
        QString name = QString::fromLatin1(info.param.name);
        name.replace(QRegularExpression(QStringLiteral("[^A-Za-z0-9]")), QStringLiteral("_"));
        return name.toStdString();
    });

// The wheel over a list scrolls nothing and says nothing: a user moving the
// page along does not mean to choose a name.
TEST_F(WindowTest, TheWheelOverAListWithNoRowChoosesNothing) {
    db.insert(schema::kStaff, {"Name"}, {"Tovena"});
    db.insert(schema::kStaff, {"Name"}, {"Lin"});
    auto* window = new EmptyWageWindow;
    window->load();
    window->show();
    enter(window->names, Way::Wheel);
    EXPECT_EQ(window->names->currentText(), "");
    EXPECT_FALSE(window->names->isChanged());
    EXPECT_TRUE(prompts.toldTexts.isEmpty());
    EXPECT_TRUE(window->unload());
}

}  // namespace
