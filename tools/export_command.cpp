// SPDX-License-Identifier: GPL-3.0-or-later
// tallowbrook-db export: the ledger's days, the month totals, the wage rows or
// the monthly salaries as a CSV file for the shop's accountant.

#include <QDir>
#include <QFileInfo>

#include "accountant/exports.h"
#include "books_and_output.h"
#include "command.h"
#include "ledger/base/ledger_error.h"
#include "ledger/store/store.h"

namespace tools {

namespace {

// The days --from and --to name, both included; why not, when they do not.
QString readRange(const QMap<QString, QString>& options, accountant::DayRange& range) {
    for (const auto& [option, end] : {std::pair{QStringLiteral("from"), &range.from},
                                      std::pair{QStringLiteral("to"), &range.to}}) {
        if (!options.contains(option)) continue;
        *end = accountant::calendarDay(options.value(option));
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

}  // namespace

int exportCommand(const CommandCall& call) {
    const QString& path = call.arguments.at(0);
    const QString& what = call.arguments.at(1);
    const accountant::ExportKind* kind = accountant::findExportKind(what);
    if (!kind)
        return usageError(call,
                          QStringLiteral("Cannot export '%1': WHAT is one of days, months, wages, "
                                         "salaries.")
                              .arg(what));

    accountant::DayRange range;
    if (QString problem = readRange(call.options, range); !problem.isEmpty())
        return usageError(call, problem);
    const QString output = call.options.value(QStringLiteral("output"));
    if (call.options.contains(QStringLiteral("output")) && output.isEmpty())
        return usageError(call, QStringLiteral("--output needs a file name."));

    if (QString problem = booksAndOutputProblem(path, output, QStringLiteral("export"));
        !problem.isEmpty())
        return failure(call, problem);

    accountant::ExportCounts counts;
    try {
        const auto store = ledger::openStore({path});
        if (output.isEmpty()) {
            // The stream writes the byte-order mark itself, ahead of the text.
            call.out.setGenerateByteOrderMark(true);
            counts = kind->write(*store, range, [&](const QByteArray& record) {
                call.out << QString::fromUtf8(record);
                return call.out.status() == QTextStream::Ok;
            });
            call.out << Qt::flush;
            if (call.out.status() != QTextStream::Ok)
                return failure(call, QStringLiteral("Cannot write to standard output."));
            call.err << accountant::exportSummary(*kind, counts, QStringLiteral("standard output"))
                     << Qt::endl;
            return 0;
        }
        const bool isNew = !QFileInfo::exists(output);
        if (QString problem = accountant::writeExportFile(output, *kind, *store, range, counts);
            !problem.isEmpty())
            return failure(call, problem + QStringLiteral(" Nothing was exported%1.")
                                               .arg(isNew ? QString()
                                                          : QStringLiteral("; the earlier file "
                                                                           "is left as it was")));
    } catch (const ledger::LedgerError& error) {
        return failure(call, error.message());
    }
    call.out << accountant::exportSummary(*kind, counts, QDir::toNativeSeparators(output))
             << Qt::endl;
    return 0;
}

}  // namespace tools
