// SPDX-License-Identifier: GPL-3.0-or-later
#include "salary/rules/wages_of_day.h"

#include "ledger/records/row_set.h"
#include "ledger/schema/schema.h"
#include "ledger/store/store.h"

namespace salary {

std::vector<qint64> wageRowsOfDay(ledger::Store& books, const QString& day) {
    const QString date = QStringLiteral("Date");
    if (std::optional<std::vector<qint64>> keys =
            books.rowKeysHoldingText(ledger::schema::kWages, date, day))
        return *keys;
    std::vector<qint64> keys;
    books.scan(ledger::schema::kWages, {date},
               [&](ledger::Store::RowKey key, const std::vector<QVariant>& values) {
                   if (!values.empty() && !values.front().isNull() &&
                       ledger::fieldText(values.front()) == day)
                       keys.push_back(key);
                   return true;
               });
    return keys;
}

}  // namespace salary
