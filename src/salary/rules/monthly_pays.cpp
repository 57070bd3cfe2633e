// SPDX-License-Identifier: GPL-3.0-or-later
#include "salary/rules/monthly_pays.h"

#include <vector>

#include "ledger/amount/amount.h"
#include "ledger/amount/checked_figure.h"
#include "ledger/calendar/calendar_day.h"
#include "ledger/records/row_set.h"
#include "ledger/schema/schema.h"
#include "ledger/store/store.h"

namespace salary {

namespace {

// A value as a part of the key: an empty value never equals an empty text.
QString keyPart(const QVariant& value) {
    return value.isNull() ? QStringLiteral("\u0001")
                          : QStringLiteral("=") + ledger::fieldText(value);
}

QString keyOf(const QVariant& month, const QVariant& name, const QVariant& serial) {
    return keyPart(month) + QChar(0x1F) + keyPart(name) + QChar(0x1F) + keyPart(serial);
}

}  // namespace

MonthlyPays MonthlyPays::read(ledger::Store& store) {
    namespace schema = ledger::schema;
    MonthlyPays pays;
    if (store.describe(schema::kWages).indexOf(schema::kWageMonthlyPay) < 0) return pays;
    // Only the wage rows that record a pay: most are paid by the hour, and
    // a real shop's tens of thousands of them are not read one by one.
    store.scanHolding(schema::kWages, schema::kWageMonthlyPay,
                      {schema::kWageMonthlyPay, QStringLiteral("Date"), QStringLiteral("Name"),
                       QStringLiteral("Serial numbers")},
                      [&](ledger::Store::RowKey, const std::vector<QVariant>& row) {
                          const QString pay = ledger::fieldText(row[0]);
                          if (pay.isEmpty()) return true;
                          // The month as the month wage totals name it ("2002/12",
                          // "Undated").
                          const QString month =
                              ledger::calendar::wageMonthText(ledger::calendar::monthNumberOfDay(
                                  ledger::calendar::dayNumberOf(ledger::fieldText(row[1]))));
                          double& total = pays.byMonth_[keyOf(month, row[2], row[3])];
                          total = ledger::checkedFigure(total + ledger::parseAmount(pay),
                                                        QStringLiteral("the month's monthly pay"));
                          return true;
                      });
    return pays;
}

double MonthlyPays::of(const QVariant& month, const QVariant& name, const QVariant& serial) const {
    return byMonth_.value(keyOf(month, name, serial), 0.0);
}

}  // namespace salary
