// SPDX-License-Identifier: GPL-3.0-or-later
#include "accountant/exports.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>

#include "accountant/export_csv.h"
#include "accountant/export_layouts.h"
#include "ledger/base/ledger_error.h"
#include "ledger/base/whole_file.h"
#include "ledger/schema/schema.h"
#include "ledger/store/file_kind.h"
#include "ledger/store/server_address.h"
#include "ledger/store/store.h"

namespace accountant {

namespace {

QString counted(int count, const QString& one, const QString& many) {
    return QStringLiteral("%1 %2").arg(count).arg(count == 1 ? one : many);
}

// days-2026-12-08.csv, or days-2026-12-08-2.csv when that is taken.
QString freeName(const QDir& folder, const QString& what, const QDate& day) {
    const QString base = QStringLiteral("%1-%2").arg(what, day.toString(Qt::ISODate));
    QString name = base + QStringLiteral(".csv");
    for (int counter = 2;
         QFileInfo::exists(folder.filePath(name)) || QFileInfo(folder.filePath(name)).isSymLink();
         ++counter)
        name = QStringLiteral("%1-%2.csv").arg(base).arg(counter);
    return folder.filePath(name);
}

ExportCounts writeDays(ledger::Store& store, const DayRange& range, const RecordWriter& write) {
    return writeByCalendar(store, ledger::schema::kLedger, QStringLiteral("Date"), range, dayLayout,
                           write);
}
ExportCounts writeMonths(ledger::Store& store, const DayRange& range, const RecordWriter& write) {
    return writeTable(exportMonths(store, range), write);
}
ExportCounts writeWages(ledger::Store& store, const DayRange& range, const RecordWriter& write) {
    return writeByCalendar(store, ledger::schema::kWages, QStringLiteral("Date"), range, wageLayout,
                           write);
}
ExportCounts writeSalaries(ledger::Store& store, const DayRange& range, const RecordWriter& write) {
    return writeTable(exportSalaries(store, range), write);
}

}  // namespace

const std::vector<ExportKind>& exportKinds() {
    static const std::vector<ExportKind> kinds = {
        {QStringLiteral("days"), QStringLiteral("day"), QStringLiteral("days"),
         QStringLiteral("Date is not a calendar day"), writeDays,
         QStringLiteral("figures beyond the range of a number, left empty")},
        {QStringLiteral("months"), QStringLiteral("month"), QStringLiteral("months"),
         QStringLiteral("month is not a calendar month"), writeMonths},
        {QStringLiteral("wages"), QStringLiteral("wage row"), QStringLiteral("wage rows"),
         QStringLiteral("Date is not a calendar day"), writeWages},
        {QStringLiteral("salaries"), QStringLiteral("salary"), QStringLiteral("salaries"),
         QStringLiteral("month is not a calendar month"), writeSalaries},
    };
    return kinds;
}

const ExportKind* findExportKind(const QString& what) {
    const auto& kinds = exportKinds();
    const auto kind = std::find_if(kinds.begin(), kinds.end(),
                                   [&](const ExportKind& k) { return k.what == what; });
    return kind == kinds.end() ? nullptr : &*kind;
}

QString exportSummary(const ExportKind& kind, const ExportCounts& table, const QString& where) {
    QString line =
        QStringLiteral("Exported %1 to %2").arg(counted(table.rows, kind.one, kind.many), where);
    if (table.undated > 0)
        line += QStringLiteral("; %1 whose %2 at the end")
                    .arg(counted(table.undated, kind.one, kind.many), kind.undatedWhy);
    if (table.incomplete > 0)
        line += QStringLiteral("; %1 with %2")
                    .arg(counted(table.incomplete, kind.one, kind.many), kind.incompleteWhy);
    if (table.unpriced > 0)
        line += QStringLiteral(
                    "; %1 without rates, subtotal or salary: the staff register has no such "
                    "employee")
                    .arg(counted(table.unpriced, kind.one, kind.many));
    return line + QLatin1Char('.');
}

QString outputRefusal(const QString& output, const QString& database, const QString& what) {
    const QFileInfo target(output);
    const QString shown = QDir::toNativeSeparators(output);
    const bool isExport = what == QLatin1String("export");
    // A pipe would hold the writing up for ever, and a device would be
    // replaced by the file.
    if (const QString what = ledger::notAFile(output); !what.isEmpty())
        return QStringLiteral("%1 is %2, not a file; name a file to write.").arg(shown, what);
    if (!target.exists()) return {};
    if (target.canonicalFilePath() == QFileInfo(database).canonicalFilePath())
        return QStringLiteral("%1 is the database being %2; choose another file name.")
            .arg(shown, isExport ? QStringLiteral("exported") : QStringLiteral("reported on"));
    switch (ledger::fileKindOf(output)) {
        case ledger::FileKind::Sqlite:
        case ledger::FileKind::Access:
            return QStringLiteral(
                       "%1 is a database file; %2 does not replace it. Choose another file name.")
                .arg(shown, isExport ? QStringLiteral("an export") : QStringLiteral("a report"));
        default:
            return {};
    }
}

QString writeExportFile(const QString& output, const ExportKind& kind, ledger::Store& store,
                        const DayRange& range, ExportCounts& counts) {
    const QString why =
        ledger::writeWholeFileInPieces(output, [&](const ledger::PieceWriter& writePiece) {
            if (!writePiece(csv::kByteOrderMark)) return;
            counts = kind.write(store, range, writePiece);
        });
    if (why.isEmpty()) return {};
    return QStringLiteral("Cannot write %1: %2.").arg(QDir::toNativeSeparators(output), why);
}

QStringList exportAllInto(const QString& database, const QString& folder, const QDate& day) {
    const QFileInfo into(folder);
    if (!into.isDir())
        ledger::fail(ledger::ErrorCode::FileNotFound,
                     QStringLiteral("%1 is not a folder; nothing was exported.")
                         .arg(QDir::toNativeSeparators(folder)));
    const auto store = ledger::openStore({database});
    QStringList summaries;
    const QDir target(into.absoluteFilePath());
    for (const ExportKind& kind : exportKinds()) {
        const QString output = freeName(target, kind.what, day);
        ExportCounts counts;
        QString problem;
        try {
            problem = writeExportFile(output, kind, *store, {}, counts);
        } catch (const ledger::LedgerError& error) {
            problem = error.message();
        }
        if (!problem.isEmpty())
            ledger::fail(ledger::ErrorCode::StoreFailure,
                         summaries.isEmpty()
                             ? problem + QStringLiteral(" Nothing was exported.")
                             : problem +
                                   QStringLiteral(" Nothing more was exported; these files are "
                                                  "complete:\n") +
                                   summaries.join(QLatin1Char('\n')));
        summaries << exportSummary(kind, counts, QDir::toNativeSeparators(output));
    }
    return summaries;
}

}  // namespace accountant
