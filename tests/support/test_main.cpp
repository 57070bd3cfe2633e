// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QApplication>
#include <QEvent>
#include <QFile>
#include <QTemporaryDir>
#include <memory>

#include "forms/workspace.h"

namespace {

// Every test runs in a workspace of its own: no window, prompt, printer
// setting or screen density of one test is seen by the next.
class WorkspacePerTest : public ::testing::EmptyTestEventListener {
public:
    void OnTestStart(const ::testing::TestInfo&) override {
        workspace_ = std::make_unique<forms::Workspace>();
        // The offscreen screen is only 800 x 600: windows are tried on a
        // shop's usual screen unless a test pins a smaller one.
        workspace_->screen().available = QSize(1920, 1040);
    }
    void OnTestEnd(const ::testing::TestInfo&) override {
        workspace_.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

private:
    std::unique_ptr<forms::Workspace> workspace_;
};

}  // namespace

int main(int argc, char** argv) {
    // The user's data folder (the books of an installed program) is a
    // scratch folder of this run, for the tests and the programs they start.
    QTemporaryDir userData;
    qputenv("XDG_DATA_HOME", QFile::encodeName(userData.path()));
    // A Qt program without a display aborts; tests draw offscreen then.
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    ::testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    ::testing::UnitTest::GetInstance()->listeners().Append(new WorkspacePerTest);
    return RUN_ALL_TESTS();
}
