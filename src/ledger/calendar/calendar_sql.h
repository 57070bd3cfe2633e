// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// The calendar rule of calendar_day.h written in SQL, for the engines'
// dialects: the saved queries, the kept month totals and their index, and
// the store's calendar order all compute a day's number with these
// expressions, so a file, a server and the program's own code agree on
// every Date text. Plain deterministic functions only, so the expressions
// may stand in an index and in a trigger that any program writing the
// ledger runs.
namespace ledger::calendar {

enum class SqlDialect { Sqlite, Postgres };

// Where an expression is read: for one row at a time (an index, a
// trigger: short text, since every connection reads the triggers when it
// opens a file), or for every row of a table (a saved query: quicker per
// row, longer text). The same numbers either way.
enum class Reading { OneRow, EveryRow };

// The day number (dayNumberOf) of the Date text an SQL expression gives
// (a quoted column, NEW."Date"): an integer, never empty.
QString dayNumberSql(SqlDialect dialect, const QString& dateText,
                     Reading reading = Reading::OneRow);

// The month number of a day number, and the month's names as the month
// sheet ("12/ 2002") and the wage totals ("2002/12") write them.
QString monthNumberSql(SqlDialect dialect, const QString& dayNumber);
QString sheetMonthTextSql(SqlDialect dialect, const QString& monthNumber);
QString wageMonthTextSql(SqlDialect dialect, const QString& monthNumber);

}  // namespace ledger::calendar
