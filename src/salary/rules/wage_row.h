// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>
#include <QVariant>
#include <optional>

// What a stored wage row added to its day's Personnel rate, read from the
// row alone: its rates, hours and deductions as the wage window computed
// the day's wage from them, or the monthly pay its Save added in their
// place. The year at a glance prices every wage row so, and the wage
// window shows a stored row's wage so.
namespace salary {

// A wage row's amounts as stored (empty, a number, or text a file holds).
struct WageRowAmounts {
    QVariant salaryHour;
    QVariant overtimeRate;
    QVariant mainHour;
    QVariant workOvertime;
    QVariant insurance;
    QVariant absentDeduct;
    QVariant monthlyPay;  // empty for a wage by the hour (and in books without the column)
};

// The wage table's columns behind those amounts, in their order, the
// monthly pay last.
const QStringList& wageRowColumns();

// The day's wage of the row as the wage window shows it (its "Daily
// settlement of accounts"): the monthly pay when the row records one, or
// Salary hour × Main hour + Overtime salary hour × Work overtime −
// (Insurance + Absent-Deduct), each step read back from its shown text as
// the window's figures are. Throws LedgerError on an overflow.
double dayWageOf(const WageRowAmounts& row);

// The nearest whole number, ties to the even one, whatever rounding mode a
// library left behind: how Save turns the day's wage into what it adds.
double nearestEven(double value);

// What the row's Save added to its day: the day's wage rounded as Save
// rounds it; nullopt when Save could not have added it (beyond the whole
// numbers the ledger takes).
std::optional<double> addedToDay(const WageRowAmounts& row);

}  // namespace salary
