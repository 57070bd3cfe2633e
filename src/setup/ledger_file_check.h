// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

// What stands between a file and the program opening it as its books: the
// check of tallowbrook-db check, also run on a backup before it is restored.
namespace setup {

// Why the file cannot be checked as a database at all (an Access file,
// something else, unreadable); empty when it can. An empty file is one
// SQLite would open, so its check lists all it lacks.
QString notADatabaseReason(const QString& path);

// Everything that keeps the program from using the file as its books: why it
// is no database, damage SQLite's integrity check finds, and each table,
// saved query or column it lacks. Empty when the file is a sound ledger.
QStringList ledgerFileProblems(const QString& path);

// What the schema check of a database file finds, read without changing the
// file: what it lacks (checkSchema) and what is worth knowing about it
// (schemaNotes). Throws LedgerError when the file
// cannot be opened.
struct FileSchemaCheck {
    QStringList problems;
    QStringList notes;
};
FileSchemaCheck checkFileSchema(const QString& path);

}  // namespace setup
