// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// How a month's salary is worked out, free of any window: the salary window
// shows these figures on screen and the database tool exports them, so the
// two cannot disagree. Each step is tested: an overflow or invalid operation
// throws LedgerError before a result is used.
namespace salary {

// The subtotal: salary hour × the month's hours + the month's overtime hours ×
// overtime salary hour, + the monthly pay the month's wage rows record.
double salarySubtotal(double salaryHour, double workHours, double overtimeHours,
                      double overtimeRate, double monthlyPay = 0);
// What is taken off: insurance + absence deductions.
double salaryDeductions(double insurance, double absentDeduct);
// The salary actually due: subtotal − deductions.
double actualSalary(double subtotal, double deductions);

// The texts a month's salary is computed from, as the window's fields show
// them (empty text counts 0, a leading number is read, as on screen).
struct MonthSalaryFields {
    QString salaryHour;
    QString overtimeRate;
    QString workHours;
    QString overtimeHours;
    QString insurance;
    QString absentDeduct;
    QString monthlyPay;  // the month's monthly pay as the window writes it; empty: none
};

// The three figures as the window shows them. The salary is computed from
// the subtotal and the deductions as shown (read back from their text), as
// the window does, so both agree to the last digit.
struct MonthSalaryFigures {
    QString subtotal;
    QString deductions;
    QString actualSalary;
};

MonthSalaryFigures monthSalary(const MonthSalaryFields& shown);

// The criterion that finds an employee's rates in the staff register: the
// first row whose Name is the month row's name (without regard to case),
// whatever characters it holds.
QString staffLookupCriterion(const QString& name);

}  // namespace salary
