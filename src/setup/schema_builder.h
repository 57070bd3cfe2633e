// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>
#include <functional>

#include "ledger/schema/schema.h"

namespace ledger {
namespace statements {
class Connection;  // a database file open (ledger/store/sqlite)
}
class SqlEngine;  // the books open, file or server (ledger/store/sql_engine.h)
}  // namespace ledger

namespace setup {

// Creates the complete schema in an empty database: the three tables, the
// lookup row set Select with its rows, and the three saved queries (views).
// Throws LedgerError on failure.
void createSchema(ledger::statements::Connection& file);

// The kept month totals (schema.h, KeptTotals): made afresh, with what
// keeps them, and filled from the rows, in one savepoint; or removed, so
// that many rows can be added without counting each month again at every
// row (keepTotals then counts them once).
void keepTotals(ledger::statements::Connection& file);
void dropKeptTotals(ledger::statements::Connection& file);

// The books' own history (schema.h, kHistory): its tables, made when they
// are not there, and the triggers that record every change of the shop's
// tables, made anew for the columns the tables have now. The triggers go
// while many rows are copied in, which are no change of the shop's.
// Returns what was there before. Throws LedgerError.
enum class HistoryFound { ThisVersions, AnEarlierVersions, None };
HistoryFound keepHistory(ledger::statements::Connection& file);
void dropHistoryTriggers(ledger::statements::Connection& file);

// A saved query that adds rows up per month, made anew as this version
// makes it (by the program's one rule of what a calendar day is).
void replaceMonthView(ledger::statements::Connection& file, const ledger::schema::KeptTotals& kept);

// Believable demo data: staff with rates (one monthly-paid), about two months
// of day rows with items, and wage rows for those days.
void fillDemoData(ledger::statements::Connection& file);
inline const QString kDemoLoginName = QStringLiteral("Tovena");
inline const QString kDemoLoginPassword = QStringLiteral("breakfast");

// What a database lacks for the program (problems): one line per missing or
// misnamed table, saved query or column, per column declared with a type
// that cannot hold what the program stores in it, and per choice list
// without "Yes" or "No"; and what is worth knowing about one that lacks
// nothing (notes): a file's table whose rows have no lasting keys (no "Row
// key" column, as in files made by earlier versions), which on a server is a
// problem. Read from the catalogue alike for a file and a server.
struct SchemaFindings {
    QStringList problems;
    QStringList notes;
};
SchemaFindings checkSchemaOf(ledger::SqlEngine& books);
// The same for a file open: its problems, and its notes.
QStringList checkSchema(ledger::statements::Connection& file);
QStringList schemaNotes(ledger::statements::Connection& file);

// Writes a new database file at `path` completely before it appears under that
// name (built in a temporary file beside it, then renamed). Refuses an
// existing file (or a link) unless `overwrite`; with it, replaces the file a
// link points to and keeps the link, and still refuses a file with an
// unfinished write, one a running program is writing to and one another
// running program has open; the file it replaces is kept as a backup of its
// own beside it (backup.h, keepAsBackup), whose path it returns (empty when
// nothing was replaced, or an empty file). `beforeNaming`, when given, runs
// on the complete new file (its temporary name) before it takes its name;
// what it adds is part of the new file, and when it throws no file appears.
// Throws LedgerError.
QString writeDatabaseFile(const QString& path, bool withDemoData, bool overwrite,
                          const std::function<void(const QString& newFile)>& beforeNaming = {});

}  // namespace setup
