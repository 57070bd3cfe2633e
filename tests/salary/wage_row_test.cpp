// SPDX-License-Identifier: GPL-3.0-or-later
// What a stored wage row added to its day, read from the row alone, as the
// wage window shows it and Save adds it.

#include "salary/rules/wage_row.h"

#include <gtest/gtest.h>

#include "ledger/base/ledger_error.h"

namespace {

TEST(WageRow, TheDaysWageAndWhatSaveAddedAreReadFromTheRow) {
    const QVariant none;
    const struct {
        salary::WageRowAmounts row;
        double wage;
        double added;
    } cases[] = {
        {{80.0, 100.0, 8.0, 2.0, 30.0, 0.0, none}, 810, 810},
        {{none, none, none, none, none, none, none}, 0, 0},
        {{75.0, none, 4.0, none, 120.0, none, none}, 180, 180},
        {{81.0, 0.0, 0.5, 0.0, 0.0, 0.0, none}, 40.5, 40},  // ties to even
        {{203.0, 0.0, 0.5, 0.0, 0.0, 0.0, none}, 101.5, 102},
        // Each figure is what its label shows: 0.1 x 3 reads back as 0.3.
        {{0.1, 0.0, 3.0, 0.0, 0.0, 0.0, none}, 0.3, 0},
        {{0.1, 0.2, 1.0, 1.0, 0.1, 0.2, none}, 0, 0},
        // A file may hold text in an amount column: read as the field reads it.
        {{QStringLiteral("80"), QStringLiteral("1OO"), QStringLiteral("8 h"), 2.0, none, none,
          none},
         642,
         642},
        // The monthly pay in place of the hours, whatever they are.
        {{80.0, 100.0, 8.0, 2.0, 30.0, 0.0, 24000.0}, 24000, 24000},
        {{80.0, 100.0, 8.0, 2.0, 30.0, 0.0, 30000.4}, 30000.4, 30000},
        {{80.0, 100.0, 8.0, 2.0, 30.0, 0.0, 0.0}, 0, 0},
        {{80.0, 100.0, 8.0, 2.0, 30.0, 0.0, QString()}, 810, 810},
        {{-5.0, 0.0, 3.0, 0.0, 0.0, 0.0, none}, -15, -15},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.wage);
        EXPECT_EQ(salary::dayWageOf(c.row), c.wage);
        ASSERT_TRUE(salary::addedToDay(c.row).has_value());
        EXPECT_EQ(*salary::addedToDay(c.row), c.added);
    }
    // Sixteen digits are shown as fifteen, and read back so.
    EXPECT_EQ(salary::dayWageOf({1.0, none, 1234567890123456.0, none, none, none, none}),
              1234567890123460.0);
    // Beyond what a day can take, Save refused it: nothing was added.
    EXPECT_FALSE(salary::addedToDay({none, none, none, none, none, none, 3e9}).has_value());
    EXPECT_FALSE(salary::addedToDay({none, none, none, none, 1e10, none, none}).has_value());
    EXPECT_THROW(salary::dayWageOf({1e308, none, 1e308, none, none, none, none}),
                 ledger::LedgerError);
}

}  // namespace
