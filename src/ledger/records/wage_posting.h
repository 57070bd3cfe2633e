// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>
#include <QtGlobal>
#include <vector>

namespace ledger {

class RecordSource;

// A wage row and its day's Personnel rate change together: the day's
// personnel cost is the sum of the wages stored for it, so a wage row is
// stored with its wage added to the day and removed with its wage taken
// off, in one transaction, both or neither, on a file and on a server.
//
// The day is the current row of `days` (a record source on the ledger),
// and only while it is stored dated `date`: the amount goes to that day as
// it is stored now, never a figure read earlier and written back, so two
// tills adding to one day both count. Figures typed into the day and not
// stored yet are left as they are; the caller stores them, or refuses,
// first. Afterwards `days` shows the stored Personnel rate.
//
// Both throw, having stored nothing: ChangedElsewhere when the day was
// removed or dated otherwise by another program or till since it was shown,
// Overflow when the day's Personnel rate would leave the whole numbers the
// ledger takes, InvalidOperation when the wage rows and the day are not in
// the same books, and whatever the record sources throw. Should showing the
// day's Personnel rate fail once the work has landed, the message says it
// is done and need not be done again.

// Stores the new wage row being entered in `wageRows` and adds `wage` to
// its day. A try after a connection lost during the commit stores neither
// twice (RecordSource::storeNewRowWith).
void storeWageWithDay(RecordSource& wageRows, RecordSource& days, const QString& date, qint32 wage);

// Removes the stored wage row `wageRows` shows and takes `wage`, what that
// row added to its day, off the day. Only while the wage row still holds
// what it was shown with (RecordSource::deleteCurrentWith): a row changed
// or removed by another till is not removed, and nothing is taken off.
void removeWageFromDay(RecordSource& wageRows, RecordSource& days, const QString& date,
                       qint32 wage);

// One new wage row of a day's wages: its columns of the wage table with the
// text typed for each, and the whole number it adds to its day.
struct NewWage {
    QString name;  // the employee, as messages name the row
    QStringList columns;
    QStringList texts;
    qint32 wage = 0;
};

// Stores every new wage row of `wages` into the wage table `wageRows` is
// open on and adds the sum of their wages to the day, all in one
// transaction: every row and the sum, or nothing. Every text is converted
// for its column first; a figure that is not a number throws
// DataTypeConversion, naming the row and the column, before anything is
// stored. `attempt` names this Save for a try again: after a connection
// lost during the commit (OutcomeUnknown), the same name stores nothing
// twice. Afterwards `wageRows` has taken in the new rows and `days` shows
// the stored Personnel rate.
void storeWagesWithDay(RecordSource& wageRows, RecordSource& days, const QString& date,
                       const std::vector<NewWage>& wages, const QString& attempt);

}  // namespace ledger
