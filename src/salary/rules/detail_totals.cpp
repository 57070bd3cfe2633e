// SPDX-License-Identifier: GPL-3.0-or-later
#include "salary/rules/detail_totals.h"

#include "ledger/amount/amount.h"
#include "salary/rules/detail_query_text.h"

namespace salary {

QStringList detailTotals(const QList<QStringList>& lines) {
    const QStringList& columns = detailColumns();
    QStringList totals;
    for (qsizetype column = 0; column < columns.size(); ++column) {
        const QString& name = columns[column];
        if (name == QLatin1String("Date")) {
            totals << QStringLiteral("Total");
        } else if (name == QLatin1String("Name")) {
            totals << (lines.size() == 1 ? QStringLiteral("1 row")
                                         : QStringLiteral("%1 rows").arg(lines.size()));
        } else if (name == QLatin1String("Absent") || name == QLatin1String("Ask for leave")) {
            qsizetype days = 0;
            for (const QStringList& line : lines)
                days += line.value(column).trimmed().compare(QLatin1String("Yes"),
                                                             Qt::CaseInsensitive) == 0;
            totals << QString::number(days);
        } else {
            // Hours and wages: each cell read as the grid shows it, the sum
            // shown as every figure is.
            double sum = 0;
            for (const QStringList& line : lines) {
                if (const auto amount = ledger::parseStoredAmount(line.value(column));
                    amount && !amount->isEmpty)
                    sum += amount->value;
            }
            totals << ledger::amountText(sum);
        }
    }
    return totals;
}

}  // namespace salary
