// SPDX-License-Identifier: GPL-3.0-or-later
// tallowbrook-db: creates breakfast.mdb, the database file the bookkeeping
// program needs but never makes itself, checks an existing one and adds the
// first member of staff. The commands come from the table in command.h.

#include <QApplication>
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QTextStream>
#include <cstring>
#include <memory>
#include <vector>

#include "command.h"
#include "hidden_secrets.h"
#include "ledger/base/ledger_error.h"
#include "ledger/location/program_folder.h"
#include "ledger/store/server_address.h"

namespace {

constexpr int kUsageError = 2;

int usageError(QTextStream& err, const QString& message) {
    err << "tallowbrook-db: " << message << Qt::endl
        << "Try 'tallowbrook-db --help' for more information." << Qt::endl;
    return kUsageError;
}

// The help's list of commands, from the table.
QString describeCommands() {
    QString text = QStringLiteral("Commands:\n");
    for (const tools::Command& command : tools::commands()) {
        const QString head = QStringLiteral("  %1 %2").arg(command.name, command.arguments);
        const QStringList lines = command.summary.split(QLatin1Char('\n'));
        if (head.size() < 16) {
            text += head.leftJustified(16) + lines.first() + QLatin1Char('\n');
        } else {
            text += head + QLatin1Char('\n') + QString(16, QLatin1Char(' ')) + lines.first() +
                    QLatin1Char('\n');
        }
        for (qsizetype i = 1; i < lines.size(); ++i)
            text += QString(16, QLatin1Char(' ')) + lines[i] + QLatin1Char('\n');
    }
    return text;
}

// The commands that take an option, for its help and its refusal: "export",
// "create and demo".
QString commandsTaking(bool (*takes)(const tools::Command&, const QString&),
                       const QString& option) {
    QStringList names;
    for (const tools::Command& command : tools::commands())
        if (takes(command, option)) names << command.name;
    if (names.size() < 2) return names.join(QString());
    const QString last = names.takeLast();
    return names.join(QStringLiteral(", ")) + QStringLiteral(" and ") + last;
}

bool takesValueOption(const tools::Command& command, const QString& option) {
    return command.options.contains(option);
}

bool takesForce(const tools::Command& command, const QString&) { return command.acceptsForce; }

// The options that carry a value; each command's table entry says which it
// takes.
struct ValueOption {
    QString name;
    QString valueName;
    QString description;
};

const std::vector<ValueOption>& valueOptions() {
    static const std::vector<ValueOption> all = {
        {QStringLiteral("from"), QStringLiteral("YYYY/M/D"),
         QStringLiteral("First day to include")},
        {QStringLiteral("to"), QStringLiteral("YYYY/M/D"), QStringLiteral("Last day to include")},
        {QStringLiteral("output"), QStringLiteral("FILE"),
         QStringLiteral("Write to FILE instead of standard output")},
        {QStringLiteral("year"), QStringLiteral("YYYY"), QStringLiteral("The year to report")},
    };
    return all;
}

// The command named on the command line, found before any application
// object exists: the first argument that is neither an option nor an
// option's value.
const tools::Command* commandIn(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        const char* argument = argv[i];
        if (argument[0] != '-') return tools::findCommand(QString::fromLocal8Bit(argument));
        if (std::strchr(argument, '=')) continue;
        for (const ValueOption& option : valueOptions())
            if (QString::fromLocal8Bit(argument) == QStringLiteral("--") + option.name) ++i;
    }
    return nullptr;
}

// Pictures need a GUI application, on the offscreen platform so no display
// is needed or touched; every other command keeps the light core one.
std::unique_ptr<QCoreApplication> applicationFor(int& argc, char** argv) {
    const tools::Command* command = commandIn(argc, argv);
    if (command && command->drawsPictures) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        return std::make_unique<QApplication>(argc, argv);
    }
    return std::make_unique<QCoreApplication>(argc, argv);
}

// A lone argument that names books where a name or a word is wanted
// (add-staff breakfast.mdb, the NAME forgotten) is a mistake, never a member
// of staff called "breakfast.mdb" in the books in use.
QString refuseBooksLeftOut(const tools::Command& command, const QStringList& args) {
    if (command.booksArgument != 0 || args.isEmpty()) return {};
    const QString& given = args.first();
    const QString suffix = QFileInfo(given).suffix().toLower();
    if (ledger::isServerAddress(given) || given.contains(QLatin1Char('/')) ||
        suffix == QLatin1String("mdb") || suffix == QLatin1String("db") ||
        suffix == QLatin1String("sqlite"))
        return QStringLiteral(
                   "%1 needs %2: '%3' looks like books, and what follows them is "
                   "missing.")
            .arg(command.name, command.arguments, given);
    return {};
}

QStringList commandNames() {
    QStringList names;
    for (const tools::Command& command : tools::commands()) names << command.name;
    return names;
}

}  // namespace

int main(int argc, char** argv) {
    const std::unique_ptr<QCoreApplication> app = applicationFor(argc, argv);
    // Read before the passwords in them are wiped from the process list.
    const QStringList arguments = QCoreApplication::arguments();
    tools::hideSecretsInArguments(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("tallowbrook-db"));
    QCoreApplication::setApplicationVersion(QStringLiteral(TALLOWBROOK_VERSION));
    QTextStream out(stdout);
    QTextStream err(stderr);

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Creates and checks the database file of the tallowbrook bookkeeping "
                       "program.\n\n") +
        describeCommands() +
        QStringLiteral("\nPATH left out: the books in use, as the program finds them (see "
                       "--where).\nA new file is written completely before it appears under its "
                       "name.\nExit status: 0 done, 1 failed or incomplete, 2 wrong usage.\n\n") +
        ledger::whereTheBooksAre());
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption where(
        QStringLiteral("where"),
        QStringLiteral("Show where the books are (the folder in use) and exit."));
    parser.addOption(where);
    const QCommandLineOption force(QStringLiteral("force"),
                                   QStringLiteral("Replace an existing file (create, demo)."));
    parser.addOption(force);
    std::vector<QCommandLineOption> withValues;
    for (const ValueOption& option : valueOptions()) {
        withValues.emplace_back(
            option.name,
            QStringLiteral("%1 (%2).")
                .arg(option.description, commandsTaking(takesValueOption, option.name)),
            option.valueName);
        parser.addOption(withValues.back());
    }
    parser.addPositionalArgument(QStringLiteral("command"),
                                 commandNames().join(QStringLiteral(", ")));
    parser.addPositionalArgument(QStringLiteral("path"),
                                 QStringLiteral("The database file, e.g. breakfast.mdb"));

    if (!parser.parse(arguments)) return usageError(err, parser.errorText());
    if (parser.isSet(QStringLiteral("help"))) parser.showHelp(0);
    if (parser.isSet(QStringLiteral("version"))) parser.showVersion();

    if (parser.isSet(where)) {
        out << ledger::whereTheBooksAre() << Qt::flush;
        return 0;
    }

    QStringList args = parser.positionalArguments();
    if (args.isEmpty()) return usageError(err, QStringLiteral("No command given."));
    const tools::Command* command = tools::findCommand(args.takeFirst());
    if (!command)
        return usageError(
            err, QStringLiteral("Unknown command '%1'.").arg(parser.positionalArguments().first()));
    // The books left out: those the program would open.
    bool booksInUse = false;
    if (command->booksArgument >= 0 && args.size() == command->argumentCount - 1) {
        if (QString refusal = refuseBooksLeftOut(*command, args); !refusal.isEmpty())
            return usageError(err, refusal);
        try {
            args.insert(command->booksArgument, ledger::databasePath());
        } catch (const ledger::LedgerError& e) {
            err << "tallowbrook-db: " << e.message() << Qt::endl;
            return 1;
        }
        booksInUse = true;
        err << "tallowbrook-db: the books in use are "
            << QDir::toNativeSeparators(ledger::displayName(args.at(command->booksArgument))) << "."
            << Qt::endl;
    }
    if (args.size() < command->argumentCount ||
        args.size() > command->argumentCount + command->optionalArguments)
        return usageError(
            err, args.size() < command->argumentCount
                     ? QStringLiteral("%1 needs %2.").arg(command->name, command->arguments)
                     : QStringLiteral("Too many arguments."));
    if (parser.isSet(force) && !command->acceptsForce)
        return usageError(err, QStringLiteral("--force applies to %1 only.")
                                   .arg(commandsTaking(takesForce, QString())));
    QMap<QString, QString> options;
    for (const QCommandLineOption& option : withValues) {
        const QString name = option.names().first();
        if (!parser.isSet(option)) continue;
        if (!command->options.contains(name))
            return usageError(err, QStringLiteral("--%1 applies to %2 only.")
                                       .arg(name, commandsTaking(takesValueOption, name)));
        if (parser.values(option).size() > 1)
            return usageError(err, QStringLiteral("--%1 is given more than once.").arg(name));
        options.insert(name, parser.value(option));
    }
    return command->run({args, parser.isSet(force), out, err, options, booksInUse});
}
