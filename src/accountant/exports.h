// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QDate>
#include <QString>
#include <QStringList>
#include <vector>

#include "accountant/export_stream.h"
#include "accountant/export_tables.h"

namespace ledger {
class Store;
}

// The four exports for the accountant (days, months, wages, salaries) as
// CSV files, with the summary that says what each holds: the database
// tool's export command and the program's Books window both use these.
namespace accountant {

struct ExportKind {
    QString what;        // days, months, wages, salaries
    QString one, many;   // what the summary counts
    QString undatedWhy;  // why rows stand at the end
    // Writes the export's records (its header first); a failure to read
    // throws LedgerError, a failure to write stops it.
    ExportCounts (*write)(ledger::Store& store, const DayRange& range, const RecordWriter& write);
    QString incompleteWhy = {};  // what a row lacks when its figures could not be computed
};

const std::vector<ExportKind>& exportKinds();
const ExportKind* findExportKind(const QString& what);

// "Exported 12 days to FILE; 1 day whose Date is not a calendar day at the
// end."
QString exportSummary(const ExportKind& kind, const ExportCounts& counts, const QString& where);

// Why a file made of the books (`what`: "export", "report") may not be
// written to `output`; empty when it may. It never takes the place of a
// folder or a database, least of all the one read.
QString outputRefusal(const QString& output, const QString& database,
                      const QString& what = QStringLiteral("export"));

// Writes the export of `kind` as the file `output`, which appears only when
// every byte is on the disk (an earlier file of that name stays as it was
// otherwise); a new file is for the owner alone. Returns "Cannot write FILE:
// why." when the file could not be written, empty when done; a failure to
// read the books throws LedgerError and leaves no file.
QString writeExportFile(const QString& output, const ExportKind& kind, ledger::Store& store,
                        const DayRange& range, ExportCounts& counts);

// All four exports of the books at `database` into `folder`, as new files
// named for the day (days-2026-12-08.csv, then -2, -3, ... beside one there:
// nothing is replaced), each written as its rows are read. Returns one
// summary line per file. Throws LedgerError; files already written are then
// named in the message.
QStringList exportAllInto(const QString& database, const QString& folder, const QDate& day);

}  // namespace accountant
