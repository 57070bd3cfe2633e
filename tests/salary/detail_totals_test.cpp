// SPDX-License-Identifier: GPL-3.0-or-later
// The closing line of the printed wage detail, worked out by hand.

#include "salary/rules/detail_totals.h"

#include <gtest/gtest.h>

namespace {

TEST(DetailTotals, SumsHoursAndWagesAndCountsRowsAndYesDays) {
    const struct {
        QList<QStringList> lines;
        QStringList totals;
    } cases[] = {
        {{}, {"Total", "0 rows", "0", "0", "0", "0", "0"}},
        {{{"2002/12/2", "Tovena", "8", "2", "No", "No", "810"}},
         {"Total", "1 row", "8", "2", "0", "0", "810"}},
        // Decimals sum as shown, Yes in either case counts, No and empty do
        // not, text and empty cells add nothing, negative wages subtract.
        {{{"2002/12/2", "Tovena", "7.5", "0.1", "Yes", "no", "600"},
          {"2002/12/3", "Chen", "0.5", "0.2", "yes", "", "-40.5"},
          {"2002/12/4", "Tovena", "", "x", "No", "YES", "24000"}},
         {"Total", "3 rows", "8", "0.3", "2", "1", "24559.5"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.lines.size());
        EXPECT_EQ(salary::detailTotals(c.lines), c.totals);
    }
    // Twelve rows: a count past ten and a sum past a thousand.
    QList<QStringList> twelve;
    for (int n = 1; n <= 12; ++n)
        twelve << QStringList{"2002/12/1", "Tovena", "8", "0", "No", "No", "640"};
    EXPECT_EQ(salary::detailTotals(twelve),
              (QStringList{"Total", "12 rows", "96", "0", "0", "0", "7680"}));
}

}  // namespace
