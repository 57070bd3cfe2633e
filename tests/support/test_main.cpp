#include <gtest/gtest.h>

#include <QApplication>
#include <QLocale>
#include <clocale>

int main(int argc, char** argv) {
    // A Qt program without a display aborts; tests draw offscreen then.
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    ::testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
