// SPDX-License-Identifier: GPL-3.0-or-later
#include "accountant/export_layouts.h"

#include "accountant/export_tables.h"
#include "daily/rules/sheet_balance.h"
#include "ledger/base/ledger_error.h"
#include "ledger/records/row_set.h"
#include "ledger/schema/schema.h"

namespace accountant {

namespace {

namespace schema = ledger::schema;

qsizetype columnAt(const QStringList& columns, const QString& name) {
    for (qsizetype at = 0; at < columns.size(); ++at)
        if (columns[at].compare(name, Qt::CaseInsensitive) == 0) return at;
    return -1;
}

// The item columns whose names alone would not say which sheet they are on:
// the tableware sheet's Other, and the shop-article sheet's Tableware2 and
// Other2 (the ledger's Tableware is the day's tableware purchase).
QString dayHeader(const QString& column) {
    static const std::pair<const char*, const char*> told[] = {
        {"Other", "Other tableware"},
        {"Tableware2", "Tableware (shop article)"},
        {"Other2", "Other shop article"}};
    for (const auto& [name, plain] : told)
        if (column.compare(QLatin1String(name), Qt::CaseInsensitive) == 0)
            return QString::fromLatin1(plain);
    return column;
}

// The day sheet's captions of the figures the export adds.
const QStringList kDayFigures = {
    QStringLiteral("Administration's subtotal"), QStringLiteral("Subtotal of the expenditure"),
    QStringLiteral("Subtotal of the cash"), QStringLiteral("Difference"),
    QStringLiteral("Settlement total of every day")};

}  // namespace

RecordLayout dayLayout(const QStringList& columns) {
    RecordLayout layout;
    for (const QString& column : columns) layout.header << dayHeader(column);
    layout.header << kDayFigures;

    // Where the 23 amounts of the sheet are (a column the file lacks counts
    // as an empty box).
    std::vector<qsizetype> amountsAt;
    for (const QString& amount : schema::ledgerDayAmounts())
        amountsAt.push_back(columnAt(columns, amount));

    layout.record = [amountsAt](const std::vector<QVariant>& values) {
        StreamedRecord record;
        for (const QVariant& value : values) record.cells << cellOf(value);
        // A figure's cell is already its text as the sheet shows it: not
        // written a second time for the balance.
        QStringList amounts;
        for (qsizetype at : amountsAt) {
            const QVariant none;
            const QVariant& value = at >= 0 ? values.at(static_cast<size_t>(at)) : none;
            amounts << (value.typeId() == QMetaType::Double ? record.cells[at]
                                                            : ledger::fieldText(value));
        }
        try {
            const daily::SheetFigures f =
                daily::balanceSheet(daily::SheetAmounts::fromShown(amounts));
            record.cells << f.administrationSubtotal << f.expenditureSubtotal << f.cashSubtotal
                         << f.difference << f.settlementTotal;
        } catch (const ledger::LedgerError&) {
            for (qsizetype i = 0; i < kDayFigures.size(); ++i) record.cells << QString();
            record.complete = false;
        }
        return record;
    };
    return layout;
}

RecordLayout wageLayout(const QStringList& columns) {
    RecordLayout layout;
    layout.header = columns;
    const qsizetype serialAt = columnAt(columns, QStringLiteral("Serial numbers"));
    layout.record = [serialAt](const std::vector<QVariant>& values) {
        StreamedRecord record;
        for (size_t at = 0; at < values.size(); ++at)
            record.cells << (static_cast<qsizetype>(at) == serialAt ? serialCell(values[at])
                                                                    : cellOf(values[at]));
        return record;
    };
    return layout;
}

}  // namespace accountant
