// SPDX-License-Identifier: GPL-3.0-or-later
#include "daily/rules/sheet_balance.h"

#include "ledger/amount/amount.h"
#include "ledger/amount/checked_figure.h"
#include "ledger/base/ledger_error.h"
#include "ledger/records/row_set.h"

namespace daily {

namespace {

using ledger::checkedFigure;

const QString kAdministrationSubtotal = QStringLiteral("the administration's subtotal");
const QString kExpenditureSubtotal = QStringLiteral("the subtotal of the expenditure");
const QString kNetAmount = QStringLiteral("the total net amount");
const QString kCashSubtotal = QStringLiteral("the subtotal of the cash");
const QString kDifference = QStringLiteral("the difference");
const QString kSettlementTotal = QStringLiteral("the settlement total");

double sumOf(std::span<const double> amounts, const QString& figureName) {
    double total = 0.0;
    for (double amount : amounts) total = checkedFigure(total + amount, figureName);
    return total;
}

std::vector<double> parsed(const QStringList& texts) {
    std::vector<double> amounts;
    amounts.reserve(static_cast<size_t>(texts.size()));
    for (const QString& text : texts) amounts.push_back(ledger::parseAmount(text));
    return amounts;
}

}  // namespace

double administrationSubtotal(std::span<const double> amounts) {
    return sumOf(amounts, kAdministrationSubtotal);
}

double expenditureSubtotal(std::span<const double> amounts) {
    return sumOf(amounts, kExpenditureSubtotal);
}

double totalNetAmount(double turnover, double smallIncidentalMoney) {
    return checkedFigure(turnover + smallIncidentalMoney, kNetAmount);
}

double cashSubtotal(double totalNetAmount, double outOfPocket, double smallMoneyDeducted) {
    const double cash = checkedFigure(totalNetAmount - outOfPocket, kCashSubtotal);
    return checkedFigure(cash - smallMoneyDeducted, kCashSubtotal);
}

double cashDifference(double acceptedCash, double cashSubtotal) {
    return checkedFigure(acceptedCash - cashSubtotal, kDifference);
}

double settlementTotal(double cashSubtotal, double administrationSubtotal) {
    return checkedFigure(cashSubtotal - administrationSubtotal, kSettlementTotal);
}

SheetAmounts SheetAmounts::fromStored(const std::vector<QVariant>& values) {
    QStringList texts;
    texts.reserve(static_cast<qsizetype>(values.size()));
    for (const QVariant& value : values) texts << ledger::fieldText(value);
    return fromShown(texts);
}

SheetAmounts SheetAmounts::fromShown(const QStringList& texts) {
    if (texts.size() != 23)
        ledger::fail(
            ledger::ErrorCode::InvalidOperation,
            QStringLiteral("A settlement sheet has 23 amounts, not %1.").arg(texts.size()));
    SheetAmounts shown;
    shown.administration = texts.mid(0, 10);
    shown.expenditure = texts.mid(10, 10);
    shown.turnover = texts[20];
    shown.smallIncidentalMoney = texts[21];
    shown.acceptedCash = texts[22];
    return shown;
}

SheetFigures balanceSheet(const SheetAmounts& shown) {
    using ledger::amountText;
    using ledger::parseAmount;
    SheetFigures f;
    f.administrationSubtotal = amountText(administrationSubtotal(parsed(shown.administration)));
    f.expenditureSubtotal = amountText(expenditureSubtotal(parsed(shown.expenditure)));
    f.outOfPocket = f.expenditureSubtotal;
    f.smallMoneyDeducted = amountText(parseAmount(shown.smallIncidentalMoney));
    f.totalNetAmount = amountText(
        totalNetAmount(parseAmount(shown.turnover), parseAmount(shown.smallIncidentalMoney)));
    f.cashSubtotal =
        amountText(cashSubtotal(parseAmount(f.totalNetAmount), parseAmount(f.outOfPocket),
                                parseAmount(f.smallMoneyDeducted)));
    f.difference =
        amountText(cashDifference(parseAmount(shown.acceptedCash), parseAmount(f.cashSubtotal)));
    f.settlementTotal = amountText(
        settlementTotal(parseAmount(f.cashSubtotal), parseAmount(f.administrationSubtotal)));
    return f;
}

}  // namespace daily
