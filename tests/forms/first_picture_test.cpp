// SPDX-License-Identifier: GPL-3.0-or-later
#include "forms/first_picture.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QPointer>
#include <QTest>
#include <memory>

namespace {

// Work that waits for a window's first picture: not before it is drawn,
// once after, and never skipped.
TEST(AfterFirstPicture, RunsOnceTheWindowWasDrawnAndNotBefore) {
    auto window = std::make_unique<QLabel>(QStringLiteral("Form10"));
    int runs = 0;
    bool drawnFirst = false;
    bool painted = false;
    struct PaintSeen : QObject {
        bool* seen;
        explicit PaintSeen(bool* s) : seen(s) {}
        bool eventFilter(QObject*, QEvent* e) override {
            if (e->type() == QEvent::Paint) *seen = true;
            return false;
        }
    } paintSeen(&painted);
    window->installEventFilter(&paintSeen);
    forms::afterFirstPicture(window.get(), [&] {
        ++runs;
        drawnFirst = painted;
    });
    window->show();
    EXPECT_EQ(runs, 0) << "ran before the window was drawn";
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    QTRY_COMPARE(runs, 1);
    EXPECT_TRUE(drawnFirst);
    window->update();
    QTest::qWait(20);
    window->hide();
    window->show();
    QTest::qWait(20);
    EXPECT_EQ(runs, 1);
}

TEST(AfterFirstPicture, RunsWhenTheWindowGoesBeforeItWasEverDrawn) {
    struct Case {
        const char* how;
        std::function<void(std::unique_ptr<QLabel>&, QObject*)> end;
    };
    const std::vector<Case> cases = {
        {"hidden", [](auto& window, QObject*) { window->hide(); }},
        {"destroyed", [](auto& window, QObject*) { window.reset(); }},
        {"the watch deleted", [](auto&, QObject* watch) { delete watch; }},
    };
    for (const Case& c : cases) {
        auto window = std::make_unique<QLabel>(QStringLiteral("Form10"));
        window->setAttribute(Qt::WA_DontShowOnScreen);
        window->show();
        int runs = 0;
        QObject* watch = forms::afterFirstPicture(window.get(), [&] { ++runs; });
        EXPECT_EQ(runs, 0) << c.how;
        c.end(window, watch);
        EXPECT_EQ(runs, 1) << c.how;
        QCoreApplication::processEvents();
        EXPECT_EQ(runs, 1) << c.how;
    }
}

}  // namespace
