// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace ledger {

// Where the books live. First, as ever, beside the program: a folder that
// holds breakfast.mdb or tallowbrook.ini is a shop's portable folder and
// wins. Otherwise the user's data folder (~/.local/share/tallowbrook), where
// an installed program keeps breakfast.mdb, tallowbrook.ini and backups/.

// The folder that holds the program. Tests point it at a temporary folder.
QString programFolder();
void setProgramFolder(const QString& folder);  // empty: back to the default

// The user's data folder for the shop's books (the same for the program and
// the database tool, whatever each is called). Tests point it elsewhere.
QString dataFolder();
void setDataFolder(const QString& folder);  // empty: back to the default

// The folder in use: the program's when it holds breakfast.mdb or
// tallowbrook.ini, the data folder otherwise.
QString booksFolder();

// Whether any books were set up: breakfast.mdb or tallowbrook.ini in the
// program's folder or in the data folder. False on a first start.
bool booksFound();

// The settings file of the folder in use: "tallowbrook.ini".
QString settingsPath();

// Why tallowbrook.ini cannot be used as it stands (see settings_file.h), as
// one message for the user; empty when it can or when there is none.
QString settingsProblem();

// The database every window opens: the key `database` of tallowbrook.ini in
// the folder in use, either a file (relative to that folder when relative)
// or a postgresql:// address; without the file or the key, that folder
// joined with "/breakfast.mdb". Throws LedgerError with the settings
// problem when the file cannot be used: never other books.
QString databasePath();

// The same as the user may see it: an address without its password.
QString databaseDisplayName();

// Makes `database` (a file path or a server address) the books in use from
// now on: the database= line of tallowbrook.ini in the folder in use (the
// data folder, made for the owner alone, unless the program's folder holds
// books). Throws LedgerError; the settings are then as they were.
void rememberBooks(const QString& database);

// Where the program and the tool look for the books and what they find, a
// few lines for --where and the help.
QString whereTheBooksAre();

}  // namespace ledger
