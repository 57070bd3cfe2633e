// SPDX-License-Identifier: GPL-3.0-or-later
#include "ledger/totals/month_totals.h"

#include "ledger/base/ledger_error.h"
#include "ledger/schema/schema.h"
#include "ledger/store/store.h"

namespace ledger {

std::vector<MonthTotals> readMonthTotals(Store& store) {
    const SourceInfo info = store.describe(schema::kMonthTotals);
    // Columns as the file spells them; a missing one is said by name.
    auto spelled = [&](const QString& column) {
        const int at = info.indexOf(column);
        if (at < 0)
            fail(ErrorCode::UnknownName,
                 QStringLiteral("The month totals '%1' have no column '%2'.")
                     .arg(info.name, column));
        return info.columns.at(at);
    };
    QStringList columns = {spelled(QStringLiteral("Date per month"))};
    for (const QString& amount : schema::ledgerDayAmounts())
        columns << spelled(schema::monthTotalOf(amount));

    std::vector<MonthTotals> months;
    store.scan(info.name, columns, [&](Store::RowKey, const std::vector<QVariant>& values) {
        MonthTotals month;
        month.month = values.front().isNull() ? QString() : values.front().toString();
        month.sums.assign(values.begin() + 1, values.end());
        months.push_back(std::move(month));
        return true;
    });
    return months;
}

}  // namespace ledger
