// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// Whether the wages a month's wage rows added to their days agree with the
// personnel cost booked in its days. Each wage row is priced as its Save
// added it (at the rates stored on the row, or the monthly pay it records,
// rounded to a whole number): a raise in the register since changes no
// earlier month. When the two differ a wage was stored and never added to
// its day, or the personnel cost was changed by hand.
namespace charts {

struct WagesCheck {
    double wages = 0;   // what the month's wage rows added to their days
    double booked = 0;  // the month's Personnel rate as the month sheet shows it
    int wageRows = 0;
    QString problem;  // a figure beyond the range of a number: nothing to compare

    // Marked on the picture: the two differ (by a cent or more: amounts
    // typed by hand may carry cents), or cannot be compared at all.
    bool differs() const;
    // Why, in the shop's words; empty when they agree.
    QString why() const;
};

}  // namespace charts
