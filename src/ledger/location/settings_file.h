// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// tallowbrook.ini, written by hand (or by the program) in the folder in use,
// read exactly as a person writes it. One setting, `database=`, naming the
// books: the rest of its line, blanks at either end left out, taken as it
// stands (backslashes, semicolons, commas, @ and quotes inside included); a
// value wholly in double quotes is what stands between them. Blank lines,
// lines beginning with ; or # and a [General] line are passed over. Anything
// else (another key, a second database= line, an empty value, a quote left
// open, a Windows drive path, a section, text that is not UTF-8) is refused
// with a message naming the file, the line and what to write instead: a file
// that is misread would open other books than the ones it names.
namespace ledger {

struct DatabaseSetting {
    QString database;  // as written; empty when there is no file or no database= line
    QString problem;   // why the file cannot be used; empty when it can
};

DatabaseSetting readDatabaseSetting(const QString& iniPath);

}  // namespace ledger

namespace ledger {

// Writes `database` as the one database= line of the settings file at
// `iniPath`, in the form readDatabaseSetting reads back exactly (in quotes
// when its ends would otherwise be lost). The whole file is replaced in one
// step; a new one is for the owner alone, an existing one keeps its
// permissions. Throws LedgerError naming the file; the file is then as it was.
void writeDatabaseSetting(const QString& iniPath, const QString& database);

}  // namespace ledger
