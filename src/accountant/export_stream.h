// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <functional>
#include <vector>

#include "accountant/export_tables.h"

namespace ledger {
class Store;
}

// The exports written as they are read: the days and the wage rows of a
// shop of many years never stand whole in memory.
namespace accountant {

// What an export wrote, for its summary.
struct ExportCounts {
    int rows = 0;
    int undated = 0;     // rows at the end: their day or month is no calendar date
    int unpriced = 0;    // salaries of employees the staff register does not know
    int incomplete = 0;  // rows some of whose figures could not be computed
};

// Writes one CSV record (UTF-8, CRLF at its end); false once a write failed,
// after which the export stops.
using RecordWriter = std::function<bool(const QByteArray& record)>;

// What a streamed export writes of its source: the header, and each row's
// record made from its values (every column of the source, in its order).
// A record is not complete when a figure of it could not be computed (it
// is then left empty), which the summary says.
struct StreamedRecord {
    QStringList cells;
    bool complete = true;
};
struct RecordLayout {
    QStringList header;
    std::function<StreamedRecord(const std::vector<QVariant>& values)> record;
};
// The layout for a source of these columns (in the file's spelling).
using LayoutOf = std::function<RecordLayout(const QStringList& columns)>;

// A table read whole (the month totals, the salaries: a few rows a month).
ExportCounts writeTable(const ExportTable& table, const RecordWriter& write);

// Every row of `source`, as `layoutOf` lays it out, in calendar order of
// its `dateColumn` (rows without a calendar day after them, in the order they
// were added); with a range, only the rows with a day in it. The dates are
// read first; then the rows, once, each written as it comes when the rows
// were added in calendar order, else through a scratch file in the system's
// temporary folder that is read back in calendar order. Memory does not grow
// with the rows' width. Throws LedgerError.
ExportCounts writeByCalendar(ledger::Store& store, const QString& source, const QString& dateColumn,
                             const DayRange& range, const LayoutOf& layoutOf,
                             const RecordWriter& write);

}  // namespace accountant
