// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QMap>
#include <QString>
#include <QStringList>
#include <QTextStream>
#include <vector>

// The commands of tallowbrook-db. Each lives in a file of its own and is
// listed once, in the table of commands; the program's help, its checks of
// the arguments and the dispatch all come from that table.
namespace tools {

struct CommandCall {
    QStringList arguments;  // after the command's name
    bool force = false;
    QTextStream& out;
    QTextStream& err;
    // The options given with a value (--from 2002/9/1), by name without the
    // dashes; only those the command takes.
    QMap<QString, QString> options = {};
    // The books were not named: `arguments` holds the books in use.
    bool booksInUse = false;
};

struct Command {
    QString name;
    QString arguments;  // as the help shows them, e.g. "PATH NAME"
    QString summary;    // the help's lines about it
    int argumentCount = 1;
    bool acceptsForce = false;
    // Returns the process's exit status: 0 done, 1 failed (why is on err).
    int (*run)(const CommandCall& call) = nullptr;
    int optionalArguments = 0;  // that may follow the required ones
    QStringList options = {};   // the --NAME VALUE options it takes
    // Which argument names the books and may be left out for the books in
    // use (tallowbrook --where); -1 when none may.
    int booksArgument = -1;
    // Draws pictures: runs with a GUI application on the offscreen
    // platform, needing no display. The others stay light.
    bool drawsPictures = false;
};

const std::vector<Command>& commands();

// The command's own failure on standard error: "tallowbrook-db: MESSAGE";
// returns the exit status 1. A usage error adds where to read how, and
// returns 2.
int failure(const CommandCall& call, const QString& message);
int usageError(const CommandCall& call, const QString& message);
const Command* findCommand(const QString& name);

// The commands, one file each.
int createCommand(const CommandCall& call);
int demoCommand(const CommandCall& call);
int checkCommand(const CommandCall& call);
int addStaffCommand(const CommandCall& call);
int backupCommand(const CommandCall& call);
int restoreCommand(const CommandCall& call);
int exportCommand(const CommandCall& call);
int copyCommand(const CommandCall& call);
int reportCommand(const CommandCall& call);
int historyCommand(const CommandCall& call);

}  // namespace tools
