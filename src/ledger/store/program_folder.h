#pragma once

#include <QString>

namespace ledger {

// The folder that holds the program (where breakfast.mdb lives). Tests point
// it at a temporary folder.
QString programFolder();
void setProgramFolder(const QString& folder);  // empty: back to the default

// The program's folder joined with "/breakfast.mdb".
QString databasePath();

}  // namespace ledger
