// tallowbrook-db: creates breakfast.mdb, the database file the bookkeeping
// program needs but never makes itself, and checks an existing one.

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QTextStream>
#include <cstdio>

#include "database_commands.h"
#include "schema_builder.h"

namespace {

constexpr int kUsageError = 2;

int usageError(QTextStream& err, const QString& message) {
    err << "tallowbrook-db: " << message << Qt::endl
        << "Try 'tallowbrook-db --help' for more information." << Qt::endl;
    return kUsageError;
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("tallowbrook-db"));
    QCoreApplication::setApplicationVersion(QStringLiteral(TALLOWBROOK_VERSION));
    QTextStream out(stdout);
    QTextStream err(stderr);

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral(
            "Creates and checks the database file of the tallowbrook bookkeeping program.\n"
            "\n"
            "Commands:\n"
            "  create PATH   a new database with every table, choice list and saved query\n"
            "  demo PATH     the same, filled with demo staff, days and wages\n"
            "                (log in as %1, password %2)\n"
            "  check PATH    list what the file lacks for the program; exit status 0\n"
            "                only when nothing is missing\n"
            "  add-staff PATH NAME\n"
            "                add a member of staff who can log in; the password is\n"
            "                read from standard input (not shown on a terminal)\n"
            "\n"
            "A new file is written completely before it appears under its name.\n"
            "Exit status: 0 done, 1 failed or incomplete, 2 wrong usage.")
            .arg(ledger::kDemoLoginName, ledger::kDemoLoginPassword));
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption force(QStringLiteral("force"),
                                   QStringLiteral("Replace an existing file (create, demo)."));
    parser.addOption(force);
    parser.addPositionalArgument(QStringLiteral("command"),
                                 QStringLiteral("create, demo, check or add-staff"));
    parser.addPositionalArgument(QStringLiteral("path"),
                                 QStringLiteral("The database file, e.g. breakfast.mdb"));

    if (!parser.parse(QCoreApplication::arguments())) return usageError(err, parser.errorText());
    if (parser.isSet(QStringLiteral("help"))) parser.showHelp(0);
    if (parser.isSet(QStringLiteral("version"))) parser.showVersion();

    const QStringList args = parser.positionalArguments();
    if (args.isEmpty()) return usageError(err, QStringLiteral("No command given."));
    const QString& command = args[0];
    if (command != "create" && command != "demo" && command != "check" && command != "add-staff")
        return usageError(err, QStringLiteral("Unknown command '%1'.").arg(command));
    if (command == "add-staff") {
        if (args.size() != 3)
            return usageError(err, args.size() < 3
                                       ? QStringLiteral("add-staff needs PATH and NAME.")
                                       : QStringLiteral("Too many arguments."));
        if (parser.isSet(force))
            return usageError(err, QStringLiteral("--force applies to create and demo only."));
        return tools::addStaff(args[1], args[2], out, err);
    }
    if (args.size() != 2)
        return usageError(err, args.size() < 2 ? QStringLiteral("No PATH given.")
                                               : QStringLiteral("Too many arguments."));
    const QString& path = args[1];

    if (command == "check") {
        if (parser.isSet(force))
            return usageError(err, QStringLiteral("--force applies to create and demo only."));
        return tools::checkDatabase(path, out, err);
    }
    return tools::createDatabase(path, command == "demo", parser.isSet(force), out, err);
}
