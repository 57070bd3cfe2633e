// SPDX-License-Identifier: GPL-3.0-or-later
// The month sheet's figures say how they are made, as the day sheet's do.

#include "month_fixture.h"

namespace month_tests {
namespace {

TEST_F(MonthTest, EachFigureSaysHowItIsMade) {
    monthly::Form4* sheet = openMonthSheet();
    ASSERT_NE(sheet, nullptr);
    const std::pair<const char*, const char*> tips[] = {
        {"Label36", "Administration's subtotal: Rant + Partner"},
        {"Label37", "Subtotal of the expenditure: Bread trader"},
        {"Label38", "Turnover + Small incidental money"},
        {"Label39", "the Subtotal of the expenditure again"},
        {"Label40", "the Small incidental money again"},
        {"Label41", "Turnover - Subtotal of the expenditure"},
        {"Label42", "Accept cashes in fact - Subtotal of the cash"},
        {"Label43", "The month's total: Subtotal of the cash - Administration's subtotal"},
    };
    for (const auto& [name, says] : tips) {
        const QString tip = sheet->findChild<QLabel*>(name)->toolTip();
        EXPECT_TRUE(tip.contains(QString::fromUtf8(says))) << name << ": " << tip.toStdString();
    }
}

}  // namespace
}  // namespace month_tests
