#pragma once

#include <QString>

namespace ledger {

// The folder that holds the program (where breakfast.mdb lives). Tests point
// it at a temporary folder.
QString programFolder();
void setProgramFolder(const QString& folder);  // empty: back to the default

// The settings file beside the program: "tallowbrook.ini".
QString settingsPath();

// Why tallowbrook.ini cannot be used as it stands (see settings_file.h), as
// one message for the user; empty when it can or when there is none.
QString settingsProblem();

// The database every window opens: the key `database` of tallowbrook.ini
// beside the program, either a file (relative to the program's folder when
// relative) or a postgresql:// address; without the file or the key, the
// program's folder joined with "/breakfast.mdb". Throws LedgerError with
// the settings problem when the file cannot be used: never other books.
QString databasePath();

// The same as the user may see it: an address without its password.
QString databaseDisplayName();

}  // namespace ledger
