// SPDX-License-Identifier: GPL-3.0-or-later
// tallowbrook-db report: the year at a glance on A4 pages, as a PDF for the
// accountant or the bank.

#include <unistd.h>

#include <QDir>
#include <QFileInfo>
#include <cstdio>

#include "accountant/exports.h"
#include "books_and_output.h"
#include "charts/figures/books_at_a_glance.h"
#include "command.h"
#include "ledger/base/ledger_error.h"
#include "ledger/base/whole_file.h"
#include "ledger/store/server_address.h"
#include "ledger/store/store.h"
#include "year_report.h"

namespace tools {

namespace {

QString yearsHeld(const std::vector<int>& years) {
    if (years.size() == 1) return QString::number(years.front());
    return QStringLiteral("%1 to %2").arg(years.front()).arg(years.back());
}

// Standard output, all at once, only when the whole report is drawn.
bool writeToStandardOutput(const QByteArray& bytes) {
    if (std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), stdout) !=
        static_cast<size_t>(bytes.size()))
        return false;
    return std::fflush(stdout) == 0;
}

}  // namespace

int reportCommand(const CommandCall& call) {
    const QString& path = call.arguments.at(0);
    std::optional<int> year;
    if (call.options.contains(QStringLiteral("year"))) {
        bool isNumber = false;
        const int asked = call.options.value(QStringLiteral("year")).toInt(&isNumber);
        if (!isNumber || asked < 1 || asked > 9999)
            return usageError(call, QStringLiteral("--year '%1' is not a year: write it as 2002.")
                                        .arg(call.options.value(QStringLiteral("year"))));
        year = asked;
    }
    const QString output = call.options.value(QStringLiteral("output"));
    if (call.options.contains(QStringLiteral("output")) && output.isEmpty())
        return usageError(call, QStringLiteral("--output needs a file name."));
    if (output.isEmpty() && isatty(STDOUT_FILENO))
        return usageError(call, QStringLiteral("A PDF is not for the terminal: give --output "
                                               "FILE.pdf, or send standard output to a file."));

    if (QString problem = booksAndOutputProblem(path, output, QStringLiteral("report"));
        !problem.isEmpty())
        return failure(call, problem);

    YearReport report;
    try {
        const std::shared_ptr<ledger::Store> store = ledger::openStore({path});
        const charts::BooksAtAGlance books = charts::BooksAtAGlance::read(*store);
        const std::vector<int> years = books.years();
        if (years.empty())
            return failure(call, QStringLiteral("%1 holds no days and no wages: there is no year "
                                                "to report. Nothing was written.")
                                     .arg(ledger::displayName(path)));
        if (!year) year = years.back();
        if (std::find(years.begin(), years.end(), *year) == years.end())
            return failure(call,
                           QStringLiteral("%1 holds no days and no wages in %2 (it holds %3). "
                                          "Nothing was written.")
                               .arg(ledger::displayName(path))
                               .arg(*year)
                               .arg(yearsHeld(years)));
        report = drawYearReport(books, *store, *year, ledger::displayName(path));
    } catch (const ledger::LedgerError& error) {
        return failure(call, error.message() + QStringLiteral(" Nothing was written."));
    }
    if (report.pdf.isEmpty())
        return failure(call, QStringLiteral("The report could not be drawn. Nothing was written."));

    if (output.isEmpty()) {
        if (!writeToStandardOutput(report.pdf))
            return failure(call, QStringLiteral("Cannot write to standard output."));
        call.err << QStringLiteral("Reported %1 on %2 pages to standard output.")
                        .arg(*year)
                        .arg(report.pages)
                 << Qt::endl;
        return 0;
    }
    const bool isNew = !QFileInfo::exists(output);
    if (const QString why = ledger::writeWholeFile(output, report.pdf); !why.isEmpty())
        return failure(
            call,
            QStringLiteral("Cannot write %1: %2. Nothing was written%3.")
                .arg(QDir::toNativeSeparators(output), why,
                     isNew ? QString() : QStringLiteral("; the earlier file is left as it was")));
    call.out << QStringLiteral("Reported %1 on %2 pages to %3.")
                    .arg(*year)
                    .arg(report.pages)
                    .arg(QDir::toNativeSeparators(output))
             << Qt::endl;
    return 0;
}

}  // namespace tools
