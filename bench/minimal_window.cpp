// SPDX-License-Identifier: GPL-3.0-or-later
// The baseline of the program's start: a minimal Qt window (one label)
// titled as asked, shown until the process is ended. With --memory it prints
// its peak memory (VmHWM, KiB) once the window is up, and ends.
//
//   minimal_window TITLE [--memory]
#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QTimer>
#include <cstdio>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    QWidget window;
    window.setWindowTitle(args.value(1, QStringLiteral("Form10")));
    QLabel label(QStringLiteral("The administrative staff login"), &window);
    window.resize(400, 290);
    window.show();
    if (args.contains(QStringLiteral("--memory"))) {
        QTimer::singleShot(200, [] {
            QFile status(QStringLiteral("/proc/self/status"));
            status.open(QIODevice::ReadOnly);
            for (const QByteArray& line : status.readAll().split('\n'))
                if (line.startsWith("VmHWM:")) std::printf("%s\n", line.constData());
            QCoreApplication::quit();
        });
    }
    return app.exec();
}
