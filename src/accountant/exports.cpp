#include "accountant/exports.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>

#include "accountant/export_csv.h"
#include "ledger/base/ledger_error.h"
#include "ledger/base/whole_file.h"
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

}  // namespace

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

const ExportKind* findExportKind(const QString& what) {
    const auto& kinds = exportKinds();
    const auto kind = std::find_if(kinds.begin(), kinds.end(),
                                   [&](const ExportKind& k) { return k.what == what; });
    return kind == kinds.end() ? nullptr : &*kind;
}

QString csvText(const ExportTable& table) {
    std::vector<QStringList> rows;
    rows.reserve(table.rows.size());
    for (const ExportRow& row : table.rows) rows.push_back(row.cells);
    return csv::document(table.header, rows);
}

QString exportSummary(const ExportKind& kind, const ExportTable& table, const QString& where) {
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

QString outputRefusal(const QString& output, const QString& database, const QString& what) {
    const QFileInfo target(output);
    const QString shown = QDir::toNativeSeparators(output);
    const bool isExport = what == QLatin1String("export");
    if (target.isDir()) return QStringLiteral("%1 is a folder, not a file.").arg(shown);
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

QString writeExportFile(const QString& output, const QByteArray& bytes) {
    const QString why = ledger::writeWholeFile(output, bytes);
    if (why.isEmpty()) return {};
    return QStringLiteral("Cannot write %1: %2.").arg(QDir::toNativeSeparators(output), why);
}

QStringList exportAllInto(const QString& database, const QString& folder, const QDate& day) {
    const QFileInfo into(folder);
    if (!into.isDir())
        ledger::fail(ledger::ErrorCode::FileNotFound,
                     QStringLiteral("%1 is not a folder; nothing was exported.")
                         .arg(QDir::toNativeSeparators(folder)));
    // Read first: books that cannot be read leave no file behind.
    std::vector<ExportTable> tables;
    {
        const auto store = ledger::openStore({database});
        for (const ExportKind& kind : exportKinds()) tables.push_back(kind.read(*store, {}));
    }
    QStringList summaries;
    const QDir target(into.absoluteFilePath());
    for (size_t i = 0; i < tables.size(); ++i) {
        const ExportKind& kind = exportKinds().at(i);
        const QString output = freeName(target, kind.what, day);
        if (const QString problem =
                writeExportFile(output, csv::utf8WithByteOrderMark(csvText(tables[i])));
            !problem.isEmpty())
            ledger::fail(ledger::ErrorCode::StoreFailure,
                         summaries.isEmpty()
                             ? problem + QStringLiteral(" Nothing was exported.")
                             : problem +
                                   QStringLiteral(" Nothing more was exported; these files are "
                                                  "complete:\n") +
                                   summaries.join(QLatin1Char('\n')));
        summaries << exportSummary(kind, tables[i], QDir::toNativeSeparators(output));
    }
    return summaries;
}

}  // namespace accountant
