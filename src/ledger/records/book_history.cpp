// SPDX-License-Identifier: GPL-3.0-or-later
#include "ledger/records/book_history.h"

#include <algorithm>

#include "ledger/base/ledger_error.h"
#include "ledger/schema/schema.h"
#include "ledger/store/store.h"

namespace ledger {

namespace {

bool keepsHistory(Store& books) {
    try {
        books.describe(schema::kHistory);
        books.describe(schema::kHistoryValues);
        return true;
    } catch (const LedgerError&) {
        return false;
    }
}

// A server keeps every value as its text: an amount of the shop's tables
// is read back as the figure it was, so both engines show and compare the
// same.
QVariant asKept(const QString& table, const QString& column, const QVariant& value) {
    if (value.isNull()) return {};
    const schema::Table* shop = schema::findTable(table);
    const schema::Column* kind = shop ? schema::findColumn(*shop, column) : nullptr;
    if (!kind || kind->kind != schema::Kind::Amount) return value.toString();
    bool number = false;
    const double figure = value.toDouble(&number);
    return number ? QVariant(figure) : value;
}

std::vector<RecordedValue> valuesOf(Store& books, const QString& table, qint64 change) {
    static const QStringList columns{QStringLiteral("Column"), QStringLiteral("Old"),
                                     QStringLiteral("New")};
    std::vector<RecordedValue> values;
    for (Store::RowKey key :
         books.rowKeysHoldingNumber(schema::kHistoryValues, QStringLiteral("Change"), change)) {
        const std::vector<QVariant> row = books.readRow(schema::kHistoryValues, key, columns);
        if (row.empty()) continue;
        const QString column = row[0].toString();
        values.push_back({column, asKept(table, column, row[1]), asKept(table, column, row[2])});
    }
    return values;
}

}  // namespace

QVariant RecordedChange::before(const QString& column) const {
    for (const RecordedValue& value : values)
        if (value.column.compare(column, Qt::CaseInsensitive) == 0) return value.before;
    return {};
}

std::vector<RecordedChange> historyOfDay(Store& books, const QString& date) {
    std::vector<RecordedChange> changes;
    if (!keepsHistory(books)) return changes;
    static const QStringList columns{
        QStringLiteral("When"),  QStringLiteral("Till"),  QStringLiteral("Program"),
        QStringLiteral("Staff"), QStringLiteral("Table"), QStringLiteral("Row"),
        QStringLiteral("Date"),  QStringLiteral("Name"),  QStringLiteral("Change")};
    const auto keys = books.rowKeysHoldingText(schema::kHistory, QStringLiteral("Date"), date);
    if (!keys) return changes;
    for (Store::RowKey key : *keys) {
        const std::vector<QVariant> v = books.readRow(schema::kHistory, key, columns);
        if (v.empty()) continue;
        RecordedChange change{key,
                              v[0].toString(),
                              v[1].toString(),
                              v[2].toString(),
                              v[3].toString(),
                              v[4].toString(),
                              v[5].toLongLong(),
                              v[6].toString(),
                              v[7].toString(),
                              v[8].toString(),
                              {}};
        change.values = valuesOf(books, change.table, key);
        changes.push_back(std::move(change));
    }
    // Newest first: the history's own keys grow with every change, also
    // within one second.
    std::sort(changes.begin(), changes.end(),
              [](const RecordedChange& a, const RecordedChange& b) { return a.key > b.key; });
    return changes;
}

}  // namespace ledger
