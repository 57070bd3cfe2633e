// SPDX-License-Identifier: GPL-3.0-or-later
#include "history/history_lines.h"

#include "ledger/amount/amount.h"
#include "ledger/schema/schema.h"

namespace history {

namespace {

using Remedy = HistoryLine::Remedy;

// "2026-12-09 09:12, till 1, Marta": to the minute, the till this program
// named, or the other program the books saw.
QString whoAndWhen(const ledger::RecordedChange& change) {
    QString text = change.when.left(16) + QStringLiteral(", ");
    text += change.program == QLatin1String("tallowbrook") ? QStringLiteral("till ") + change.till
                                                           : change.program;
    if (!change.staff.isEmpty()) text += QStringLiteral(", ") + change.staff;
    return text + QStringLiteral(": ");
}

// What the row is, for a line about it: nothing for the day itself, whose
// figures are named by their columns.
QString rowOf(const ledger::RecordedChange& change) {
    if (change.table.compare(ledger::schema::kWages, Qt::CaseInsensitive) == 0)
        return QStringLiteral("wage of %1").arg(change.name);
    if (change.table.compare(ledger::schema::kStaff, Qt::CaseInsensitive) == 0) return change.name;
    return QStringLiteral("day");
}

bool isDay(const ledger::RecordedChange& change) {
    return change.table.compare(ledger::schema::kLedger, Qt::CaseInsensitive) == 0;
}

}  // namespace

QString shownValue(const QVariant& value) {
    if (value.isNull() || value.toString().isEmpty()) return QStringLiteral("empty");
    if (value.typeId() == QMetaType::Double) return ledger::amountText(value.toDouble());
    return value.toString();
}

std::vector<HistoryLine> linesOf(const std::vector<ledger::RecordedChange>& changes) {
    std::vector<HistoryLine> lines;
    for (std::size_t i = 0; i < changes.size(); ++i) {
        const ledger::RecordedChange& change = changes[i];
        const QString who = whoAndWhen(change);
        if (change.isAddition() || change.isRemoval()) {
            Remedy remedy = Remedy::None;
            if (change.isRemoval())
                remedy = isDay(change) ? Remedy::BringBackDay : Remedy::BringBackWage;
            lines.push_back(
                {who + rowOf(change) + QLatin1Char(' ') + change.change, i, {}, remedy});
            continue;
        }
        const QString row = isDay(change) ? QString() : rowOf(change) + QStringLiteral(": ");
        for (const ledger::RecordedValue& value : change.values)
            lines.push_back({who + row + value.column + QLatin1Char(' ') +
                                 shownValue(value.before) + QStringLiteral(" → ") +
                                 shownValue(value.after),
                             i, value.column, Remedy::PutBackValue});
    }
    return lines;
}

}  // namespace history
