// SPDX-License-Identifier: GPL-3.0-or-later
// tallowbrook-db history: every change the books recorded, as CSV for the
// shop's accountant.

#include <QDir>

#include "accountant/export_history.h"
#include "books_and_output.h"
#include "command.h"
#include "ledger/base/ledger_error.h"
#include "ledger/base/whole_file.h"
#include "ledger/store/store.h"

namespace tools {

int historyCommand(const CommandCall& call) {
    const QString& path = call.arguments.at(0);
    ledger::DayRange range;
    for (const auto& [option, end] : {std::pair{QStringLiteral("from"), &range.from},
                                      std::pair{QStringLiteral("to"), &range.to}}) {
        if (!call.options.contains(option)) continue;
        *end = ledger::calendarDay(call.options.value(option));
        if (!*end)
            return usageError(call, QStringLiteral("--%1 '%2' is not a day: write it as "
                                                   "year/month/day, e.g. 2002/9/30.")
                                        .arg(option, call.options.value(option)));
    }
    if (range.from && range.to && *range.from > *range.to)
        return usageError(call, QStringLiteral("--from is after --to."));
    const QString output = call.options.value(QStringLiteral("output"));
    if (call.options.contains(QStringLiteral("output")) && output.isEmpty())
        return usageError(call, QStringLiteral("--output needs a file name."));
    if (QString problem = booksAndOutputProblem(path, output, QStringLiteral("history"));
        !problem.isEmpty())
        return failure(call, problem);
    try {
        const auto store = ledger::openStore({path});
        QByteArray csv;
        const qint64 changes = accountant::writeHistoryCsv(*store, range, [&](const QByteArray& r) {
            csv += r;
            return true;
        });
        const QString said = QStringLiteral("%1 recorded change%2 written to %3.")
                                 .arg(changes)
                                 .arg(changes == 1 ? QString() : QStringLiteral("s"));
        if (output.isEmpty()) {
            call.out << QString::fromUtf8(csv) << Qt::flush;
            if (call.out.status() != QTextStream::Ok)
                return failure(call, QStringLiteral("Cannot write to standard output."));
            call.err << said.arg(QStringLiteral("standard output")) << Qt::endl;
            return 0;
        }
        if (QString problem = ledger::writeWholeFile(output, csv); !problem.isEmpty())
            return failure(call, problem + QStringLiteral(" Nothing was written."));
        call.out << said.arg(QDir::toNativeSeparators(output)) << Qt::endl;
    } catch (const ledger::LedgerError& error) {
        return failure(call, error.message());
    }
    return 0;
}

}  // namespace tools
