// SPDX-License-Identifier: GPL-3.0-or-later
// How a sheet is balanced, on days and a month worked out by hand: the
// purchases are taken off once, inside the cash subtotal.

#include "daily/rules/sheet_balance.h"

#include <gtest/gtest.h>

#include <cmath>
#include <utility>

#include "ledger/base/ledger_error.h"

namespace {

struct Balanced {
    const char* what;
    // The boxes as typed; an amount missing from a list is an empty box.
    QStringList administration, expenditure;
    const char *turnover, *smallMoney, *acceptedCash;
    // Administration's subtotal, expenditure subtotal, deduction, total net
    // amount, cash subtotal, difference, settlement total.
    QStringList figures;
};

QStringList tenBoxes(QStringList typed) {
    while (typed.size() < 10) typed << QString();
    return typed;
}

const Balanced kBalanced[] = {
    {"an empty day", {}, {}, "", "", "", {"0", "0", "0", "0", "0", "0", "0"}},
    {"rent 100 and partner 50",
     {"100", "50"},
     {},
     "",
     "",
     "",
     {"150", "0", "0", "0", "0", "0", "-150"}},
    {"bread trader 30, turnover 200, small money 20, cash 175",
     {},
     {"30"},
     "200",
     "20",
     "175",
     {"0", "30", "20", "220", "170", "5", "170"}},
    // Takings 620; purchases 40 + 29 + 50 = 119; costs 300 + 200 = 500.
    {"a good day",
     {"300", "", "", "", "", "200"},
     {"40", "", "", "50", "29"},
     "620",
     "",
     "615",
     {"500", "119", "0", "620", "501", "114", "1"}},
    // Costs 1200 + 300 + 85.5 + 32 + 18 + 640 + 45 + 60 + 25 + 90 = 2495.5;
    // purchases 130 + 75.25 + 42 + 66 + 38 + 55 + 91 + 12.75 + 27 + 19 = 556;
    // cash 4120 + 150 - 556 - 150 = 3564; total 3564 - 2495.5 = 1068.5.
    {"a day with every box filled",
     {"1200", "300", "85.5", "32", "18", "640", "45", "60", "25", "90"},
     {"130", "75.25", "42", "66", "38", "55", "91", "12.75", "27", "19"},
     "4120",
     "150",
     "3560",
     {"2495.5", "556", "150", "4270", "3564", "-4", "1068.5"}},
    // Purchases and costs with no takings: the cash subtotal below zero.
    {"a day of costs only",
     {"20"},
     {"", "80"},
     "",
     "",
     "",
     {"20", "80", "0", "0", "-80", "80", "-100"}},
    {"texts with and without a leading number",
     {"0.1", "0.2"},
     {"12abc", "abc"},
     "100",
     "x",
     "",
     {"0.3", "12", "0", "100", "88", "-88", "87.7"}},
    // A month's totals: turnover 1000, small money 100, purchases 300, costs
    // 200, cash counted 650.
    {"a month",
     {"150", "", "", "", "", "", "", "", "", "50"},
     {"100", "", "", "", "100", "", "", "", "50", "50"},
     "1000",
     "100",
     "650",
     {"200", "300", "100", "1100", "700", "-50", "500"}},
};

TEST(SheetBalance, TakesThePurchasesOffOnceAndTheCostsFromTheCash) {
    for (const Balanced& day : kBalanced) {
        daily::SheetAmounts shown;
        shown.administration = tenBoxes(day.administration);
        shown.expenditure = tenBoxes(day.expenditure);
        shown.turnover = QString::fromUtf8(day.turnover);
        shown.smallIncidentalMoney = QString::fromUtf8(day.smallMoney);
        shown.acceptedCash = QString::fromUtf8(day.acceptedCash);
        const daily::SheetFigures f = daily::balanceSheet(shown);
        EXPECT_EQ(
            QStringList({f.administrationSubtotal, f.expenditureSubtotal, f.smallMoneyDeducted,
                         f.totalNetAmount, f.cashSubtotal, f.difference, f.settlementTotal}),
            day.figures)
            << day.what;
        EXPECT_EQ(f.outOfPocket, f.expenditureSubtotal) << day.what;
    }
}

TEST(SheetBalance, ASettlementTotalBeyondTheRangeOfANumberIsRefused) {
    // Powers of two, so every difference below is exact.
    const double half = std::ldexp(1.0, 1023);  // about half the largest number
    EXPECT_EQ(daily::settlementTotal(half, half), 0);
    EXPECT_EQ(daily::settlementTotal(half, -half / 2), std::ldexp(3.0, 1022));
    for (const auto& [cash, costs] : {std::pair{half, -half}, std::pair{-half, half}}) {
        try {
            daily::settlementTotal(cash, costs);
            ADD_FAILURE() << cash << " - " << costs << " gave a number";
        } catch (const ledger::LedgerError& error) {
            EXPECT_TRUE(error.message().startsWith("The settlement total would be beyond"))
                << error.message().toStdString();
        }
    }
}

}  // namespace
