// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class TempDatabase;

// Books as versions before wage rows recorded the monthly pay made them:
// the wage table without its "Monthly pay" column and the wage detail
// adding up the day's wage by the hour alone. On a file or a server.
void makeWageRowsAsEarlierVersions(const TempDatabase& db);

// Books as versions before the books kept their history had them: no
// trigger records a change (what was recorded stays). A file refuses to
// drop a column the history's triggers name, so a test that drops one, as
// another program might, drops these first.
void dropHistoryTriggers(const TempDatabase& db);
