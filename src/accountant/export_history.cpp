// SPDX-License-Identifier: GPL-3.0-or-later
#include "accountant/export_history.h"

#include <QHash>
#include <vector>

#include "accountant/export_csv.h"
#include "ledger/amount/amount.h"
#include "ledger/base/ledger_error.h"
#include "ledger/schema/schema.h"
#include "ledger/store/store.h"

namespace accountant {

namespace {

struct ValueChange {
    QString column;
    QVariant before;
    QVariant after;
};

// A figure as the windows show it; a text as text a spreadsheet keeps.
QString valueCell(const QVariant& value) {
    if (value.isNull()) return {};
    if (value.typeId() == QMetaType::Double) return ledger::amountText(value.toDouble());
    return csv::textCell(value.toString());
}

bool hasHistory(ledger::Store& books) {
    try {
        books.describe(ledger::schema::kHistoryValues);
        books.describe(ledger::schema::kHistory);
        return true;
    } catch (const ledger::LedgerError& e) {
        if (e.code() != ledger::ErrorCode::UnknownName) throw;
        return false;
    }
}

}  // namespace

qint64 writeHistoryCsv(ledger::Store& books, const ledger::DayRange& range,
                       const std::function<bool(const QByteArray&)>& write) {
    if (!hasHistory(books))
        ledger::fail(ledger::ErrorCode::UnknownName,
                     QStringLiteral("%1 keeps no history yet: tallowbrook-db check makes it, and "
                                    "from then on every change is recorded.")
                         .arg(books.path()));
    QHash<qint64, std::vector<ValueChange>> values;
    books.scan(ledger::schema::kHistoryValues,
               {QStringLiteral("Change"), QStringLiteral("Column"), QStringLiteral("Old"),
                QStringLiteral("New")},
               [&](ledger::Store::RowKey, const std::vector<QVariant>& row) {
                   values[static_cast<qint64>(row[0].toDouble())].push_back(
                       {row[1].toString(), row[2], row[3]});
                   return true;
               });
    if (!write(
            csv::kByteOrderMark +
            csv::record({QStringLiteral("When"), QStringLiteral("Till"), QStringLiteral("Program"),
                         QStringLiteral("Staff"), QStringLiteral("Table"), QStringLiteral("Date"),
                         QStringLiteral("Name"), QStringLiteral("Change"), QStringLiteral("Column"),
                         QStringLiteral("Old"), QStringLiteral("New")})
                .toUtf8()))
        return 0;
    qint64 written = 0;
    const QStringList columns{QStringLiteral("When"),    QStringLiteral("Till"),
                              QStringLiteral("Program"), QStringLiteral("Staff"),
                              QStringLiteral("Table"),   QStringLiteral("Date"),
                              QStringLiteral("Name"),    QStringLiteral("Change")};
    books.scan(ledger::schema::kHistory, columns,
               [&](ledger::Store::RowKey key, const std::vector<QVariant>& row) {
                   const QDate day = QDate::fromString(row[0].toString().left(10), Qt::ISODate);
                   if ((range.from && day < *range.from) || (range.to && day > *range.to))
                       return true;
                   QStringList change;
                   for (const QVariant& value : row) change << csv::textCell(value.toString());
                   const auto found = values.constFind(key);
                   bool going = true;
                   if (found == values.constEnd() || found->empty()) {
                       going = write(csv::record(change + QStringList{{}, {}, {}}).toUtf8());
                   } else {
                       for (const ValueChange& value : *found)
                           going =
                               going &&
                               write(csv::record(change + QStringList{csv::textCell(value.column),
                                                                      valueCell(value.before),
                                                                      valueCell(value.after)})
                                         .toUtf8());
                   }
                   ++written;
                   return going;
               });
    return written;
}

}  // namespace accountant
