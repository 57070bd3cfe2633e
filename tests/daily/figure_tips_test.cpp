// SPDX-License-Identifier: GPL-3.0-or-later
// Each computed figure of the day sheet says in its tooltip how it is made
// from the boxes, so an owner can follow a total that differs from their own.

#include "daily_fixture.h"

namespace {

struct TipCase {
    const char* figure;
    const char* says;
};

void PrintTo(const TipCase& c, std::ostream* os) { *os << c.figure; }

class FigureTip : public DailyWindowTest, public ::testing::WithParamInterface<TipCase> {};

TEST_P(FigureTip, SaysHowTheFigureIsMade) {
    insertDay("2002/2/12", {{"Rent", 100}});
    openSheet();
    const QString tip = figure(GetParam().figure)->toolTip();
    EXPECT_TRUE(tip.contains(QString::fromUtf8(GetParam().says))) << tip.toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Figures, FigureTip,
    ::testing::Values(TipCase{"Label28",
                              "Rant + Partner + Electric rate + Telephone rate + Water rate + "
                              "Personnel rate + Income tax + Board expenses + Main payment + "
                              "Insurance"},
                      TipCase{"Label38",
                              "Bread trader + General materials + Noodles + Fruit + Egg + Gas + "
                              "Beverage + Miscellaneous + Tableware + Articles in the shop"},
                      TipCase{"Label41", "Turnover + Small incidental money"},
                      TipCase{"Label39", "the Subtotal of the expenditure again"},
                      TipCase{"Label40", "the Small incidental money again"},
                      TipCase{"Label42",
                              "Total net amount - Out-of-pocket expenses - Deduct the small "
                              "incidental money"},
                      TipCase{"Label43", "Accept cashes in fact - Subtotal of the cash"},
                      TipCase{"Label44",
                              "The day's total: Subtotal of the cash - Administration's "
                              "subtotal"}));

}  // namespace
