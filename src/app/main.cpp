// SPDX-License-Identifier: GPL-3.0-or-later
// tallowbrook: the breakfast shop's bookkeeping. The program starts with the
// staff login; a matching password opens the daily settlement window, from
// which every other window is opened. It ends when its last window closes.

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <QApplication>
#include <QCommandLineParser>
#include <QFont>
#include <QTimer>
#include <cstdio>
#include <cstring>

#include "app/folder_name_check.h"
#include "app/startup_backup.h"
#include "charts/charts_windows.h"
#include "daily/daily_windows.h"
#include "forms/error_boundary.h"
#include "forms/form_window.h"
#include "forms/prompts.h"
#include "forms/workspace.h"
#include "history/history_windows.h"
#include "interfaces/window_names.h"
#include "ledger/base/ledger_error.h"
#include "ledger/location/program_folder.h"
#include "ledger/store/store.h"
#include "monthly/monthly_windows.h"
#include "salary/salary_windows.h"
#include "shell/books_upkeep.h"
#include "shell/first_start_dialog.h"
#include "shell/login_window.h"
#include "shell/shell_windows.h"
#include "staff/staff_windows.h"
#include "supplies/supplies_windows.h"

namespace {

void describeProgram(QCommandLineParser& parser) {
    parser.setApplicationDescription(QStringLiteral(
        "Bookkeeping for a breakfast shop: daily settlement, supplies, monthly settlement and "
        "staff wages.\nThe books are breakfast.mdb (or what tallowbrook.ini names) beside the "
        "program when\neither is there, else in the user's data folder "
        "(~/.local/share/tallowbrook).\nWithout books the program offers to create them, to "
        "open existing ones or to\nconnect to a database server; tallowbrook-db does the same "
        "from a terminal."));
    // Our own help option: Qt's adds --help-all for toolkit options that this
    // parse, made before any application object exists, does not handle.
    parser.addOption({{QStringLiteral("h"), QStringLiteral("help")},
                      QStringLiteral("Displays this help and exits.")});
    parser.addVersionOption();
    parser.addOption({QStringLiteral("where"),
                      QStringLiteral("Shows where the books are (the folder in use) and exits.")});
}

// A Qt program without a display aborts with a toolkit message; say plainly
// what is missing and how to get a display instead.
bool hasDisplay() {
    return !qEnvironmentVariableIsEmpty("DISPLAY") ||
           !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") ||
           !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM");
}

// Whether an X display on this machine (":0", ":99.0") answers; the toolkit
// would otherwise abort with its own message. Displays on other hosts and
// other windowing systems are left to the toolkit.
bool localDisplayAnswers() {
    if (!qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") ||
        !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        return true;
    const QByteArray display = qgetenv("DISPLAY");
    if (!display.startsWith(':')) return true;
    const QByteArray number = display.mid(1).split('.').first();
    bool isNumber = false;
    number.toInt(&isNumber);
    if (!isNumber) return true;
    const QByteArray socketPath = "/tmp/.X11-unix/X" + number;
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (static_cast<size_t>(socketPath.size()) >= sizeof(address.sun_path)) return true;
    std::memcpy(address.sun_path, socketPath.constData(), static_cast<size_t>(socketPath.size()));
    const int probe = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (probe < 0) return true;
    const bool answers =
        ::connect(probe, reinterpret_cast<const sockaddr*>(&address), sizeof(address)) == 0;
    ::close(probe);
    return answers;
}

void registerAllWindows() {
    shell::registerWindows();
    daily::registerWindows();
    supplies::registerWindows();
    monthly::registerWindows();
    staff::registerWindows();
    salary::registerWindows();
    charts::registerWindows();
    history::registerWindows();
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication::setApplicationName(QStringLiteral("tallowbrook"));
    QCoreApplication::setApplicationVersion(QStringLiteral(TALLOWBROOK_VERSION));

    // Options first, before any display is needed: --help and --version work
    // anywhere.
    QStringList arguments;
    for (int i = 0; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);
    QCommandLineParser parser;
    describeProgram(parser);
    if (!parser.parse(arguments)) {
        std::fprintf(stderr, "tallowbrook: %s\nTry 'tallowbrook --help'.\n",
                     qPrintable(parser.errorText()));
        return 2;
    }
    if (parser.isSet(QStringLiteral("help")) || parser.isSet(QStringLiteral("where"))) {
        // The program's own folder is known once an application object is.
        QCoreApplication core(argc, argv);
        QString text = parser.isSet(QStringLiteral("help")) ? parser.helpText() + QLatin1Char('\n')
                                                            : QString();
        // Without a named application Qt cannot name the program itself.
        text.replace(QStringLiteral("<executable_name>"), QStringLiteral("tallowbrook"));
        std::fputs(qPrintable(text + ledger::whereTheBooksAre()), stdout);
        return 0;
    }
    if (parser.isSet(QStringLiteral("version"))) {
        std::printf("tallowbrook %s\n", TALLOWBROOK_VERSION);
        return 0;
    }
    if (!parser.positionalArguments().isEmpty()) {
        std::fprintf(stderr, "tallowbrook: unexpected argument '%s'\nTry 'tallowbrook --help'.\n",
                     qPrintable(parser.positionalArguments().first()));
        return 2;
    }

    if (!hasDisplay()) {
        std::fputs(
            "tallowbrook: no display found (DISPLAY and WAYLAND_DISPLAY are not set).\n"
            "tallowbrook is a desktop program: start it from a graphical session, or run it\n"
            "on a virtual X display, for example:\n"
            "  xvfb-run -a ./tallowbrook\n",
            stderr);
        return 1;
    }
    if (!localDisplayAnswers()) {
        std::fprintf(stderr,
                     "tallowbrook: the display %s does not answer (no X server runs there).\n"
                     "tallowbrook is a desktop program: start it from a graphical session, or run "
                     "it\non a virtual X display, for example:\n"
                     "  xvfb-run -a ./tallowbrook\n",
                     qgetenv("DISPLAY").constData());
        return 1;
    }

    QApplication app(argc, argv);
    // The shop's forms are drawn in Arial; Liberation Sans has its metrics.
    QFont::insertSubstitution(QStringLiteral("Arial"), QStringLiteral("Liberation Sans"));

    // The program's windows, prompts and settings, for as long as it runs.
    forms::Workspace workspace;
    if (const QString problem = app::unreadableFolderMessage(); !problem.isEmpty()) {
        std::fprintf(stderr, "tallowbrook: %s\n", qPrintable(problem));
        std::fflush(stderr);
        forms::tell(nullptr, problem);
        return 1;
    }
    // A settings file that cannot be read as written opens no books at all,
    // rather than the file beside the program in place of those it names.
    if (const QString problem = ledger::settingsProblem(); !problem.isEmpty()) {
        std::fprintf(stderr, "tallowbrook: %s\n", qPrintable(problem));
        std::fflush(stderr);
        forms::tell(nullptr, problem);
        return 1;
    }
    // No books anywhere: a first start, which sets them up or ends here.
    if (!ledger::booksFound() && !shell::firstStart()) return 0;
    // Where the books are is found once; every window opens these.
    workspace.setBooks(ledger::databasePath());
    // Books an earlier version made get the history and the kept totals
    // now, before anything holds them open; books this version has been at
    // are only looked at.
    forms::runGuarded(nullptr, [] { shell::upkeepBooksInUse(nullptr); });
    // The books are opened while the login window is built; its first read
    // goes on with them.
    ledger::openStoreAhead(ledger::Connection{workspace.books()});
    registerAllWindows();
    auto* login = static_cast<shell::Form10*>(forms::FormWindow::loadWindow(windows::kLoginWindow));
    // The books are backed up in the background once the login window is
    // on the screen.
    app::BackupAtStart backup(workspace.books(), login);
    login->show();
    // Books without staff: nobody could log in; the first member is asked for.
    QTimer::singleShot(0, login, [login] {
        forms::runGuarded(login, [login] { login->offerFirstStaffMember(); });
    });
    return app.exec();
}
