// SPDX-License-Identifier: GPL-3.0-or-later
#include "ledger/records/wage_posting.h"

#include <limits>
#include <optional>

#include "ledger/base/ledger_error.h"
#include "ledger/records/record_source.h"
#include "ledger/schema/schema.h"
#include "ledger/store/store.h"

namespace ledger {

namespace {

const QString kPersonnelRate = QStringLiteral("Personnel rate");
const QString kDate = QStringLiteral("Date");

// What the messages say was not done, for a wage stored or removed.
struct Undone {
    QString wage;   // "the wage was not stored", ...
    QString day;    // "nothing was added to the day", ...
    QString retry;  // "Save the wage again", ...
};

Store& sameBooks(RecordSource& wageRows, RecordSource& days, const Undone& undone) {
    Store& store = days.store();
    if (&store != &wageRows.store())
        fail(ErrorCode::InvalidOperation,
             QStringLiteral("The wage and the day are not in the same books, so %1 and %2.")
                 .arg(undone.wage, undone.day));
    return store;
}

// Adds `amount` to the day as it is stored now; the transaction around it
// undoes the wage row too when this throws.
void addToDay(Store& store, Store::RowKey day, const QString& date, double amount,
              const Undone& undone) {
    const std::optional<double> total =
        store.addToAmount(schema::kLedger, day, kPersonnelRate, amount, kDate, date);
    if (!total)
        fail(ErrorCode::ChangedElsewhere,
             QStringLiteral("The day %1 was changed or removed by another program after it was "
                            "shown here, so %2 and %3. Show the day again (Inquiry), then %4.")
                 .arg(date, undone.wage, undone.day, undone.retry));
    if (*total < std::numeric_limits<qint32>::min() || *total > std::numeric_limits<qint32>::max())
        fail(ErrorCode::Overflow,
             QStringLiteral("The day's Personnel rate with this wage would come to %1, beyond the "
                            "whole numbers the ledger takes. Nothing was stored. Check the day's "
                            "Personnel rate and the wage's figures, then %2.")
                 .arg(QString::number(*total, 'f', 0), undone.retry));
}

}  // namespace

void storeWageWithDay(RecordSource& wageRows, RecordSource& days, const QString& date,
                      qint32 wage) {
    const Undone undone{QStringLiteral("the wage was not stored"),
                        QStringLiteral("nothing was added to the day"),
                        QStringLiteral("Save the wage again")};
    Store& store = sameBooks(wageRows, days, undone);
    const Store::RowKey day = days.bookmark().key;
    wageRows.storeNewRowWith([&] { addToDay(store, day, date, wage, undone); });
    days.showStored(kPersonnelRate);
}

void removeWageFromDay(RecordSource& wageRows, RecordSource& days, const QString& date,
                       qint32 wage) {
    const Undone undone{QStringLiteral("the wage row was not removed"),
                        QStringLiteral("nothing was taken off the day"),
                        QStringLiteral("Delete the wage again")};
    Store& store = sameBooks(wageRows, days, undone);
    const Store::RowKey day = days.bookmark().key;
    // Minus the whole number Save added: the day comes back to what it
    // would be had the wage never been saved.
    wageRows.deleteCurrentWith(
        [&] { addToDay(store, day, date, -static_cast<double>(wage), undone); });
    days.showStored(kPersonnelRate);
}

}  // namespace ledger
