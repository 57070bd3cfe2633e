// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QStringList>
#include <optional>
#include <vector>

#include "ledger/calendar/ledger_calendar.h"

namespace ledger {
class Store;
}

// What the accountant gets: the ledger's days, the month totals, the wage
// rows and the monthly salaries, each cell written as the windows show it.
namespace accountant {

using ledger::calendarDay;
using ledger::DayRange;
using ledger::daySpan;
using ledger::DaySpan;
using ledger::sheetMonth;
using ledger::wageMonth;

struct ExportRow {
    std::optional<DaySpan> span;  // none: the row's day or month is no calendar date
    QStringList cells;
    bool priced = true;  // salaries: the employee's rates were found
};

struct ExportTable {
    QStringList header;
    std::vector<ExportRow> rows;
    int undated = 0;   // rows kept at the end: their day or month is no calendar date
    int unpriced = 0;  // salaries of employees the staff register does not know
};

// A stored value as the export writes it: a number as the windows show it,
// a text as a text cell (see csv::textCell), nothing as an empty cell.
QString cellOf(const QVariant& value);

// A serial number as a text cell the spreadsheet keeps exactly (002 stays
// 002; see csv::exactTextCell).
QString serialCell(const QVariant& value);

// A calendar month as a spreadsheet reads it: 2002-12. (A month that is
// none, "Undated", keeps its text.)
QString monthCell(const DaySpan& month);

// A column's name in plain words for the accountant's header: a saved
// query's total without its suffix ("Rent 之 總計" is "Rent", the month's
// total of the days' Rent), its month "Month"; any other name as it is.
QString plainHeader(const QString& column);

// The columns the program names in a saved query, in their order.
const QStringList& savedQueryColumns(const QString& name);

// Rows in calendar order, those without a calendar date after them in the
// order they came; with a range, only the rows with a day in it.
void arrangeByCalendar(ExportTable& table, const DayRange& range);

// Each reads the whole source and arranges it; a failure throws LedgerError.
// (The days and the wage rows, which grow with the years, are written as
// they are read instead: export_stream.h.)
ExportTable exportMonths(ledger::Store& store, const DayRange& range);
ExportTable exportSalaries(ledger::Store& store, const DayRange& range);

}  // namespace accountant
