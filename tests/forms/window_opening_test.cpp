// SPDX-License-Identifier: GPL-3.0-or-later
#include "forms/window_opening.h"

#include <gtest/gtest.h>

#include <functional>

#include "ledger/base/ledger_error.h"
#include "support/window_test.h"

using namespace forms;

namespace {

// What some window might offer another; the plain windows here do not.
class Offer {
public:
    virtual ~Offer() = default;
};

class WindowOpeningTest : public WindowTest {
protected:
    int made = 0;
    void SetUp() override {
        FormWindow::registerFactory("MadeForm", [this] {
            ++made;
            return new FormWindow("MadeForm");
        });
    }
};

TEST_F(WindowOpeningTest, OpeningByNameLoadsOnceAndBringsTheWindowForward) {
    FormWindow* window = openWindow("MadeForm");
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->isLoaded());
    EXPECT_TRUE(window->isVisible());
    window->hide();
    EXPECT_EQ(openWindow("MadeForm"), window);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(made, 1);
}

TEST_F(WindowOpeningTest, AWindowThisProgramCannotOpenIsOneClearMessage) {
    const struct {
        const char* what;
        std::function<void()> open;
        QString name;
    } cases[] = {
        {"no such window", [] { openWindow("NoSuchForm"); }, "NoSuchForm"},
        {"not the one asked for", [] { loadWindowAs<Offer>("MadeForm"); }, "MadeForm"},
        {"asked before a command", [] { requireWindow("NoSuchForm"); }, "NoSuchForm"},
    };
    for (const auto& c : cases) {
        try {
            c.open();
            ADD_FAILURE() << c.what << ": no message";
        } catch (const ledger::LedgerError& error) {
            EXPECT_EQ(error.message(),
                      QStringLiteral("The window %1 is not part of this program.").arg(c.name))
                << c.what;
        }
    }
    EXPECT_EQ(FormWindow::find("NoSuchForm"), nullptr);
}

}  // namespace
