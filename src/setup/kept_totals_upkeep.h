// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

namespace ledger {
class ServerConnection;
namespace statements {
class Connection;
}
}  // namespace ledger

namespace setup {

// What `tallowbrook-db check` does about the kept month totals (schema.h,
// KeptTotals) of a ledger that lacks nothing else:
// - kept and holding what the days add up to: nothing;
// - kept but holding something else (changed by hand, their triggers
//   dropped): counted again from the days;
// - not kept (a ledger made by an earlier version): made, with the two
//   saved queries that add up months made anew by this version's calendar,
//   when those saved queries are the program's own; a saved query or a
//   table of that name the shop made itself is left alone, and said.
// All of it in one transaction. Returns what it did or why not, one line
// each; throws LedgerError when it cannot write (nothing is changed then).
QStringList upkeepKeptTotals(ledger::statements::Connection& file);
QStringList upkeepKeptTotals(ledger::ServerConnection& server);
// The same for the books at `where`: a file's path or a server's address.
QStringList upkeepKeptTotalsAt(const QString& where);
// What upkeepKeptTotalsAt did, or a note of why it could not: never throws
// (such books keep working, the windows adding up the rows as before).
QStringList keptTotalsNotesAt(const QString& where);

}  // namespace setup
