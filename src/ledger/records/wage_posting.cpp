// SPDX-License-Identifier: GPL-3.0-or-later
#include "ledger/records/wage_posting.h"

#include <limits>
#include <optional>

#include "ledger/amount/amount.h"
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

// The values a new wage row stores, each text converted for its column as
// a field's text is: an amount column takes a number or nothing.
std::vector<QVariant> valuesOf(const SourceInfo& table, const NewWage& row) {
    std::vector<QVariant> values;
    for (qsizetype i = 0; i < row.columns.size(); ++i) {
        const int at = table.indexOf(row.columns[i]);
        const QString& text = row.texts[i];
        if (at < 0 || !table.isAmount[static_cast<size_t>(at)]) {
            values.emplace_back(text);
            continue;
        }
        const std::optional<StoredAmount> amount = parseStoredAmount(text);
        if (!amount)
            fail(ErrorCode::DataTypeConversion,
                 QStringLiteral("The %1 of %2, \"%3\", is not a number, so no wage of the day "
                                "was stored and nothing was added to the day. Correct it, then "
                                "Save again.")
                     .arg(row.columns[i], row.name, text));
        values.push_back(amount->isEmpty ? QVariant() : QVariant(amount->value));
    }
    return values;
}

// The day's Personnel rate as stored now, read once the wages are stored
// or the wage row removed: a failure to read it says that is done, or the
// user would do it again (and be told another till removed the row).
void showStoredRate(RecordSource& days, bool removed = false) {
    try {
        days.showStored(kPersonnelRate);
    } catch (const LedgerError& e) {
        if (!removed) failStoredButUnread(e);
        fail(e.code(),
             QStringLiteral("The wage row is removed and its wage taken off the day, but reading "
                            "the day's Personnel rate back afterwards failed: %1 Show the day "
                            "again (Inquiry) to see it as stored; there is no need to delete the "
                            "wage again.")
                 .arg(e.message()));
    }
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
    showStoredRate(days);
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
    showStoredRate(days, true);
}

void storeWagesWithDay(RecordSource& wageRows, RecordSource& days, const QString& date,
                       const std::vector<NewWage>& wages, const QString& attempt) {
    const Undone undone{QStringLiteral("no wage of the day was stored"),
                        QStringLiteral("nothing was added to the day"),
                        QStringLiteral("Save the wages again")};
    Store& store = sameBooks(wageRows, days, undone);
    const Store::RowKey day = days.bookmark().key;
    const SourceInfo table = store.describe(wageRows.source());
    // Every row converted before the first is stored: a figure that is not
    // a number stores none of them.
    std::vector<std::vector<QVariant>> values;
    double sum = 0;
    for (const NewWage& row : wages) {
        values.push_back(valuesOf(table, row));
        sum += row.wage;
    }
    store.inTransaction(
        [&] {
            for (size_t i = 0; i < wages.size(); ++i)
                store.insertRow(table.name, wages[i].columns, values[i]);
            addToDay(store, day, date, sum, undone);
        },
        attempt);
    try {
        wageRows.takeInNewRows();
    } catch (const LedgerError& e) {
        failStoredButUnread(e);
    }
    showStoredRate(days);
}

}  // namespace ledger
