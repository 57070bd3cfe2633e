// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// Whether the wages a month's wage rows come to agree with the personnel
// cost booked in its days. The wage window books each day's wage rounded to
// a whole number, so the two may part by half a unit per wage row and still
// agree; beyond that a wage was stored and never added to its day (or the
// personnel cost was changed by hand, or the rates since).
namespace charts {

struct WagesCheck {
    double wages = 0;   // the month's wage rows, priced as the salary window prices them
    double booked = 0;  // the month's Personnel rate as the month sheet shows it
    int wageRows = 0;   // each booked wage was rounded to a whole number
    int unpriced = 0;   // employee months whose name the staff register lacks
    QString problem;    // a figure beyond the range of a number: nothing to compare

    // How far the two may part from rounding alone.
    double roundingAllowance() const { return 0.5 * wageRows; }
    // Marked on the picture: they part by more than rounding explains, or
    // they cannot be compared at all.
    bool differs() const;
    // Why, in the shop's words; empty when they agree.
    QString why() const;
};

}  // namespace charts
