// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

namespace ledger {

// A database name is either a file path or a PostgreSQL connection URI
// (libpq's own form, postgresql://user@host:port/database?options). These
// helpers tell the two apart and turn a URI into what the user may see.
// libpq's own parser reads the address, so whatever characters a password
// holds (raw or percent-encoded, in the user part or as password=), what
// libpq takes for a password is what is left out.

// True for "postgresql://..." and "postgres://..." (any letter case).
bool isServerAddress(const QString& name);

// The address as libpq reads it: the scheme in small letters (libpq knows no
// other spelling and would quote the whole address in its complaint).
QString libpqAddress(const QString& name);

// Whether libpq reads a whole address in it: false when it cannot parse it,
// and when what it reads shows that a user part held a raw '@' or '/' (an
// '@' in the host or database name, a port that is not a number): the rest
// of that user part may be a password, so nothing of such an address is
// shown.
bool isReadableAddress(const QString& name);

// The name as messages and windows show it: for a URI, the address rebuilt
// from what libpq reads in it, less every secret (password, sslpassword);
// the same text however often it is shown, and for an address that cannot be
// read, a fixed text that holds nothing of it. Anything else unchanged.
QString displayName(const QString& name);

// The secrets libpq reads in an address (the decoded password, ...), for
// keeping them out of any text shown; empty for a file or an address without
// any.
QStringList secretsOf(const QString& name);

}  // namespace ledger
