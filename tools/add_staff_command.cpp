// SPDX-License-Identifier: GPL-3.0-or-later
// tallowbrook-db add-staff: puts a member of staff into the register, so that
// a shop whose file was made with `create` has somebody who can log in.

#include <termios.h>
#include <unistd.h>

#include <QDir>
#include <QFileInfo>
#include <cstdio>
#include <string>

#include "command.h"
#include "ledger/base/ledger_error.h"
#include "ledger/schema/schema.h"
#include "ledger/store/server_address.h"
#include "ledger/store/store.h"
#include "setup/database_target.h"
#include "setup/staff_member.h"

namespace tools {

namespace {

// One line from standard input; on a terminal the typed characters are not
// shown, as with any password prompt.
bool readSecretLine(QString& line) {
    const bool terminal = isatty(STDIN_FILENO);
    termios saved{};
    if (terminal && tcgetattr(STDIN_FILENO, &saved) == 0) {
        termios quiet = saved;
        quiet.c_lflag &= ~static_cast<tcflag_t>(ECHO);
        tcsetattr(STDIN_FILENO, TCSAFLUSH, &quiet);
    }
    std::string bytes;
    int c = 0;
    while ((c = std::getchar()) != EOF && c != '\n') bytes += static_cast<char>(c);
    if (terminal) {
        tcsetattr(STDIN_FILENO, TCSAFLUSH, &saved);
        std::fputc('\n', stderr);
    }
    if (!bytes.empty() && bytes.back() == '\r') bytes.pop_back();
    line = QString::fromUtf8(bytes);
    return c != EOF || !bytes.empty();
}

}  // namespace

int addStaffCommand(const CommandCall& call) {
    const QString& path = call.arguments.at(0);
    const QString& name = call.arguments.at(1);
    QTextStream& out = call.out;
    QTextStream& err = call.err;
    const bool onServer = ledger::isServerAddress(path);
    const QString shown = onServer ? ledger::displayName(path) : QDir::toNativeSeparators(path);
    if (name.trimmed().isEmpty()) {
        err << "tallowbrook-db: the name must not be empty." << Qt::endl;
        return 1;
    }
    if (!onServer && !QFileInfo(path).isFile()) {
        err << "tallowbrook-db: " << shown << " does not exist; create it first with "
            << "'tallowbrook-db create " << shown << "'." << Qt::endl;
        return 1;
    }
    try {
        // Before the password is asked for in vain.
        if (onServer)
            ledger::openStore(ledger::Connection{path})->describe(ledger::schema::kStaff);
        else
            setup::ensureOpenablePath(path);
    } catch (const ledger::LedgerError& e) {
        err << "tallowbrook-db: " << e.message() << Qt::endl;
        return 1;
    }
    const bool terminal = isatty(STDIN_FILENO);
    if (terminal) {
        err << "Password for " << name << ": " << Qt::flush;
    }
    QString password;
    if (!readSecretLine(password)) {
        err << "tallowbrook-db: no password given (it is read from standard input)." << Qt::endl;
        return 1;
    }
    if (terminal) {
        err << "The same password again: " << Qt::flush;
        QString again;
        if (!readSecretLine(again) || again != password) {
            err << "tallowbrook-db: the two passwords differ; nothing was added." << Qt::endl;
            return 1;
        }
    }
    try {
        setup::addStaffMember(path, name, password);
    } catch (const ledger::LedgerError& e) {
        err << "tallowbrook-db: " << e.message() << Qt::endl;
        return 1;
    }
    out << "Added " << name << " to the staff register of " << shown
        << "; log in with that name and password." << Qt::endl;
    return 0;
}

}  // namespace tools
