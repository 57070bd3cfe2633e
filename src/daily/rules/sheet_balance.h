// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>
#include <QVariant>
#include <span>
#include <vector>

// How a settlement sheet is balanced, free of any window. The daily window
// balances a day this way, the month sheet the month's totals, and the
// pictures and the year report draw the same figures, so none of them can
// disagree. Every sum and difference is tested after each step: an overflow
// or an invalid operation throws LedgerError, naming the figure, before a
// result is used.
namespace daily {

// The ten administration amounts (rent ... insurance) or the ten expenditure
// amounts (bread trader ... articles in the shop), added left to right.
double administrationSubtotal(std::span<const double> amounts);
double expenditureSubtotal(std::span<const double> amounts);
// Turnover + small incidental money.
double totalNetAmount(double turnover, double smallIncidentalMoney);
// Total net amount − out-of-pocket expenses − the small incidental money
// deducted: numerically the turnover less the expenditure.
double cashSubtotal(double totalNetAmount, double outOfPocket, double smallMoneyDeducted);
// The cash counted against the cash subtotal: below 0 a shortfall, above an
// overage.
double cashDifference(double acceptedCash, double cashSubtotal);
// Cash subtotal − administration subtotal: the turnover less the
// expenditure and the administration. The purchases count once, inside the
// cash subtotal.
double settlementTotal(double cashSubtotal, double administrationSubtotal);

// A sheet's amounts as its fields show them (empty text counts 0, a leading
// number is read).
struct SheetAmounts {
    QStringList administration;  // 10
    QStringList expenditure;     // 10
    QString turnover;
    QString smallIncidentalMoney;
    QString acceptedCash;

    // From the 23 stored values in the daily window's field order (the
    // ledger's day amounts, or a month's sums of them), shown as fields show
    // them.
    static SheetAmounts fromStored(const std::vector<QVariant>& values);
    // From the 23 amounts' texts as fields show them, in the same order.
    static SheetAmounts fromShown(const QStringList& texts);
};

// The eight figures as the sheet shows them once every field is filled:
// each figure that feeds another is read back from its text, as on screen,
// so the result agrees with the window to the last digit.
struct SheetFigures {
    QString administrationSubtotal;
    QString expenditureSubtotal;
    QString outOfPocket;  // the expenditure subtotal's text again
    QString smallMoneyDeducted;
    QString totalNetAmount;
    QString cashSubtotal;
    QString difference;
    QString settlementTotal;
};

SheetFigures balanceSheet(const SheetAmounts& shown);

}  // namespace daily
