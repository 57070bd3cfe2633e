// SPDX-License-Identifier: GPL-3.0-or-later
// A window grows to its controls where the screen has room and scrolls them
// where it has not.

#include "forms/screen_fit.h"

#include <gtest/gtest.h>

#include <QPushButton>
#include <QScrollArea>

#include "forms/form_window.h"
#include "forms/workspace.h"

namespace {

TEST(ScreenFit, TheGivenSizeGrowsToTheControlsWithinTheRoom) {
    const struct {
        QSize given;
        QRect controls;
        QSize room;
        QSize fitted;
    } cases[] = {
        {{640, 480}, {0, 0, 800, 600}, {1920, 1040}, {800, 600}},   // grows to the controls
        {{800, 600}, {10, 10, 100, 30}, {1920, 1040}, {800, 600}},  // never shrinks to them
        {{640, 480}, {0, 0, 800, 600}, {799, 600}, {799, 600}},     // one pixel short: bounded
        {{640, 480}, {0, 0, 800, 600}, {800, 600}, {800, 600}},     // exactly room
        {{900, 700}, {0, 0, 800, 600}, {960, 500}, {900, 500}},     // the design past the room
        {{640, 480}, {}, {1920, 1040}, {640, 480}},                 // no controls
        {{640, 480}, {0, 0, 800, 600}, {}, {800, 600}},             // room unknown
    };
    for (const auto& c : cases)
        EXPECT_EQ(forms::fittedSize(c.given, c.controls, c.room), c.fitted)
            << c.room.width() << "x" << c.room.height();
}

TEST(ScreenFit, AWindowScrollsItsControlsOnlyWhenTheScreenIsTooSmall) {
    for (const QSize room : {QSize(1920, 1040), QSize(500, 400)}) {
        forms::workspace().screen().available = room;
        auto* window = new forms::FormWindow("Fitted");
        window->resize(640, 480);
        auto* far = new QPushButton("Save", window);
        far->setGeometry(700, 550, 100, 30);
        auto* hidden = new QPushButton("Hidden", window);
        hidden->setGeometry(2000, 2000, 10, 10);
        hidden->hide();
        window->show();
        auto* scroll = window->findChild<QScrollArea*>("ScreenFitScroll");
        if (room.width() > 800) {
            // The hidden control does not count.
            EXPECT_EQ(window->size(), QSize(800, 580));
            EXPECT_EQ(scroll, nullptr);
            EXPECT_EQ(far->parentWidget(), window);
        } else {
            EXPECT_EQ(window->size(), room);
            ASSERT_NE(scroll, nullptr);
            EXPECT_EQ(far->parentWidget(), scroll->widget());
            EXPECT_EQ(scroll->widget()->size(), QSize(800, 580));
            EXPECT_EQ(far->geometry(), QRect(700, 550, 100, 30));
            EXPECT_TRUE(hidden->isHidden());
            window->resize(450, 300);
            EXPECT_EQ(scroll->geometry(), window->rect());
        }
        delete window;
    }
}

}  // namespace
