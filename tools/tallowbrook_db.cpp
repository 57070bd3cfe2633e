// tallowbrook-db: creates breakfast.mdb, the database file the bookkeeping
// program needs but never makes itself, checks an existing one and adds the
// first member of staff. The commands come from the table in command.h.

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QTextStream>

#include "command.h"

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

QStringList commandNames() {
    QStringList names;
    for (const tools::Command& command : tools::commands()) names << command.name;
    return names;
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
        QStringLiteral("Creates and checks the database file of the tallowbrook bookkeeping "
                       "program.\n\n") +
        describeCommands() +
        QStringLiteral("\nA new file is written completely before it appears under its name.\n"
                       "Exit status: 0 done, 1 failed or incomplete, 2 wrong usage."));
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption force(QStringLiteral("force"),
                                   QStringLiteral("Replace an existing file (create, demo)."));
    parser.addOption(force);
    parser.addPositionalArgument(QStringLiteral("command"),
                                 commandNames().join(QStringLiteral(", ")));
    parser.addPositionalArgument(QStringLiteral("path"),
                                 QStringLiteral("The database file, e.g. breakfast.mdb"));

    if (!parser.parse(QCoreApplication::arguments())) return usageError(err, parser.errorText());
    if (parser.isSet(QStringLiteral("help"))) parser.showHelp(0);
    if (parser.isSet(QStringLiteral("version"))) parser.showVersion();

    QStringList args = parser.positionalArguments();
    if (args.isEmpty()) return usageError(err, QStringLiteral("No command given."));
    const tools::Command* command = tools::findCommand(args.takeFirst());
    if (!command)
        return usageError(
            err, QStringLiteral("Unknown command '%1'.").arg(parser.positionalArguments().first()));
    if (args.size() < command->argumentCount ||
        args.size() > command->argumentCount + command->optionalArguments)
        return usageError(
            err, args.size() < command->argumentCount
                     ? QStringLiteral("%1 needs %2.").arg(command->name, command->arguments)
                     : QStringLiteral("Too many arguments."));
    if (parser.isSet(force) && !command->acceptsForce)
        return usageError(err, QStringLiteral("--force applies to create and demo only."));
    return command->run({args, parser.isSet(force), out, err});
}
