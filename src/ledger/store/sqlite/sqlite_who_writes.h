// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

struct sqlite3;

namespace ledger {

// Makes this connection name its till and the member of staff on duty
// (who_writes.h) in every row of the books' history it adds: two functions
// and a trigger of this connection alone (TEMP), which another program's
// connection never sees, so the books' own triggers stay free of them.
// Books without a history are left as they are. Throws LedgerError.
void signHistoryOfThisTill(sqlite3* db);

}  // namespace ledger
