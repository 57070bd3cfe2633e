#pragma once

#include <QString>

namespace ledger {

// A database name is either a file path or a PostgreSQL connection URI
// (libpq's own form, postgresql://user@host:port/database?options). These
// helpers tell the two apart and turn a URI into what the user may see.

// True for "postgresql://..." and "postgres://..." (any letter case).
bool isServerAddress(const QString& name);

// The name as messages and windows show it: a URI without its password (in
// the user part or as a password= option); anything else unchanged.
QString displayName(const QString& name);

}  // namespace ledger
