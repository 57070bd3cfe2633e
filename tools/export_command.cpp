// tallowbrook-db export: the ledger's days, the month totals, the wage rows or
// the monthly salaries as a CSV file for the shop's accountant.

#include <QDir>
#include <QFileInfo>

#include "command.h"
#include "export_csv.h"
#include "export_tables.h"
#include "ledger/base/ledger_error.h"
#include "ledger/base/whole_file.h"
#include "ledger/store/server_address.h"
#include "ledger/store/store.h"
#include "output_file.h"

namespace tools {

namespace {

constexpr int kFailed = 1;
constexpr int kUsageError = 2;

struct ExportKind {
    QString what;        // as typed on the command line
    QString one, many;   // what the summary counts
    QString undatedWhy;  // why rows stand at the end
    ExportTable (*read)(ledger::Store& store, const DayRange& range);
};

const std::vector<ExportKind>& exportKinds() {
    static const std::vector<ExportKind> kinds = {
        {QStringLiteral("days"), QStringLiteral("day"), QStringLiteral("days"),
         QStringLiteral("Date is not a calendar day"), exportDays},
        {QStringLiteral("months"), QStringLiteral("month"), QStringLiteral("months"),
         QStringLiteral("month is not a calendar month"), exportMonths},
        {QStringLiteral("wages"), QStringLiteral("wage row"), QStringLiteral("wage rows"),
         QStringLiteral("Date is not a calendar day"), exportWages},
        {QStringLiteral("salaries"), QStringLiteral("salary"), QStringLiteral("salaries"),
         QStringLiteral("month is not a calendar month"), exportSalaries},
    };
    return kinds;
}

int usageError(const CommandCall& call, const QString& message) {
    call.err << "tallowbrook-db: " << message << Qt::endl
             << "Try 'tallowbrook-db --help' for more information." << Qt::endl;
    return kUsageError;
}

int failure(const CommandCall& call, const QString& message) {
    call.err << "tallowbrook-db: " << message << Qt::endl;
    return kFailed;
}

// The days --from and --to name, both included; why not, when they do not.
QString readRange(const QMap<QString, QString>& options, DayRange& range) {
    for (const auto& [option, end] : {std::pair{QStringLiteral("from"), &range.from},
                                      std::pair{QStringLiteral("to"), &range.to}}) {
        if (!options.contains(option)) continue;
        *end = calendarDay(options.value(option));
        if (!*end)
            return QStringLiteral(
                       "--%1 '%2' is not a day: write it as year/month/day, e.g. "
                       "2002/9/30.")
                .arg(option, options.value(option));
    }
    if (range.from && range.to && *range.from > *range.to)
        return QStringLiteral("--from %1 is after --to %2.")
            .arg(options.value(QStringLiteral("from")), options.value(QStringLiteral("to")));
    return {};
}

QString counted(int count, const QString& one, const QString& many) {
    return QStringLiteral("%1 %2").arg(count).arg(count == 1 ? one : many);
}

QString writeFile(const QString& output, const QByteArray& bytes) {
    const bool isNew = !QFileInfo::exists(output);
    const QString why = ledger::writeWholeFile(output, bytes);
    if (why.isEmpty()) return {};
    return QStringLiteral("Cannot write %1: %2. Nothing was exported%3.")
        .arg(QDir::toNativeSeparators(output), why,
             isNew ? QString() : QStringLiteral("; the earlier file is left as it was"));
}

QString summary(const ExportKind& kind, const ExportTable& table, const QString& where) {
    QString line =
        QStringLiteral("Exported %1 to %2")
            .arg(counted(static_cast<int>(table.rows.size()), kind.one, kind.many), where);
    if (table.undated > 0)
        line += QStringLiteral("; %1 whose %2 at the end")
                    .arg(counted(table.undated, kind.one, kind.many), kind.undatedWhy);
    if (table.unpriced > 0)
        line += QStringLiteral(
                    "; %1 without rates, subtotal or salary: the staff register has no such "
                    "employee")
                    .arg(counted(table.unpriced, kind.one, kind.many));
    return line + QLatin1Char('.');
}

}  // namespace

int exportCommand(const CommandCall& call) {
    const QString& path = call.arguments.at(0);
    const QString& what = call.arguments.at(1);
    const auto& kinds = exportKinds();
    const auto kind = std::find_if(kinds.begin(), kinds.end(),
                                   [&](const ExportKind& k) { return k.what == what; });
    if (kind == kinds.end())
        return usageError(call,
                          QStringLiteral("Cannot export '%1': WHAT is one of days, months, wages, "
                                         "salaries.")
                              .arg(what));

    DayRange range;
    if (QString problem = readRange(call.options, range); !problem.isEmpty())
        return usageError(call, problem);
    const QString output = call.options.value(QStringLiteral("output"));
    if (call.options.contains(QStringLiteral("output")) && output.isEmpty())
        return usageError(call, QStringLiteral("--output needs a file name."));

    // A server database is checked by opening it; a file first by its name.
    const QString shown = QDir::toNativeSeparators(path);
    const QFileInfo database(path);
    if (!ledger::isServerAddress(path) && !database.exists())
        return failure(call, QStringLiteral("%1 does not exist.").arg(shown));
    if (database.isDir())
        return failure(call, QStringLiteral("%1 is a folder, not a database file.").arg(shown));
    if (!output.isEmpty())
        if (QString refusal = outputRefusal(output, path, QStringLiteral("export"));
            !refusal.isEmpty())
            return failure(call, refusal);

    ExportTable table;
    try {
        table = kind->read(*ledger::openStore({path}), range);
    } catch (const ledger::LedgerError& error) {
        return failure(call, error.message());
    }
    const QString text = csv::document(table.header, [&] {
        std::vector<QStringList> rows;
        rows.reserve(table.rows.size());
        for (const ExportRow& row : table.rows) rows.push_back(row.cells);
        return rows;
    }());

    if (output.isEmpty()) {
        // The stream writes the byte-order mark itself, ahead of the text.
        call.out.setGenerateByteOrderMark(true);
        call.out << text << Qt::flush;
        if (call.out.status() != QTextStream::Ok)
            return failure(call, QStringLiteral("Cannot write to standard output."));
        call.err << summary(*kind, table, QStringLiteral("standard output")) << Qt::endl;
        return 0;
    }
    if (QString problem = writeFile(output, csv::utf8WithByteOrderMark(text)); !problem.isEmpty())
        return failure(call, problem);
    call.out << summary(*kind, table, QDir::toNativeSeparators(output)) << Qt::endl;
    return 0;
}

}  // namespace tools
