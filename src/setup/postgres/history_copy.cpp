// SPDX-License-Identifier: GPL-3.0-or-later
#include "setup/postgres/history_copy.h"

#include "ledger/base/ledger_error.h"
#include "ledger/schema/schema.h"
#include "setup/history_sql.h"

namespace setup {

namespace schema = ledger::schema;
using ledger::Store;

void HistoryCopy::noteRow(const QString& table, Store::RowKey key, qint64 number) {
    numbers_[table].insert(key, number);
}

qint64 HistoryCopy::send(Store& source, const Insert& insert) const {
    try {
        source.describe(schema::kHistory);
        source.describe(schema::kHistoryValues);
    } catch (const ledger::LedgerError& e) {
        if (e.code() != ledger::ErrorCode::UnknownName) throw;
        return 0;
    }
    const QStringList columns = history_sql::historyColumns().mid(1);
    const int table = static_cast<int>(columns.indexOf(QStringLiteral("Table")));
    const int row = static_cast<int>(columns.indexOf(QStringLiteral("Row")));
    QHash<Store::RowKey, qint64> changeNumbers;
    qint64 sent = 0;
    source.scan(schema::kHistory, columns, [&](Store::RowKey key, std::vector<QVariant> values) {
        const auto numbers = numbers_.constFind(values[table].toString());
        const Store::RowKey was = static_cast<Store::RowKey>(values[row].toDouble());
        values[row] = numbers != numbers_.constEnd() && numbers->contains(was)
                          ? QVariant(double(numbers->value(was)))
                          : QVariant();
        insert(schema::kHistory, columns, values);
        changeNumbers.insert(key, ++sent);
        return true;
    });
    const QStringList valueColumns{QStringLiteral("Change"), QStringLiteral("Column"),
                                   QStringLiteral("Old"), QStringLiteral("New")};
    source.scan(schema::kHistoryValues, valueColumns,
                [&](Store::RowKey, std::vector<QVariant> values) {
                    const Store::RowKey change = static_cast<Store::RowKey>(values[0].toDouble());
                    if (!changeNumbers.contains(change)) return true;
                    values[0] = double(changeNumbers.value(change));
                    insert(schema::kHistoryValues, valueColumns, values);
                    return true;
                });
    return sent;
}

}  // namespace setup
