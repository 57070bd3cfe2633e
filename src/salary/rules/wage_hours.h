// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// Hours no day has, asked about before a wage is stored: whoever enters a
// wage (one at a time or a day's at once) asks the same question.
namespace salary {

// A wage's hours as typed: the amounts read from the fields, and whether
// the fields were left empty.
struct TypedHours {
    double mainHour = 0;
    double workOvertime = 0;
    bool mainHourEmpty = true;
    bool workOvertimeEmpty = true;
    // A monthly pay is the wage whatever the hours say: none is missing.
    bool byTheMonth = false;
};

// What is doubtful about the hours, as the question says it ("negative
// hours (Main hour -2, Work overtime 0)", "25 hours in one day (...)", "no
// hours at all (...)"); empty when nothing is.
QString hoursDoubt(const TypedHours& hours);

}  // namespace salary
