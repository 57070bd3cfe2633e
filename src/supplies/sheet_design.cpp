// SPDX-License-Identifier: GPL-3.0-or-later
#include "supplies/sheet_design.h"

#include "interfaces/window_names.h"
#include "ledger/schema/schema.h"

namespace supplies {

const SheetDesign& tablewareSheet() {
    static const SheetDesign design{
        windows::kTablewareSheet,
        QStringLiteral("Tableware detail"),
        // "Rubber band" carries a blank and a line break, as the shop's sheet has it.
        {QStringLiteral("Soup cup"), QStringLiteral("Beverage cup"), QStringLiteral("Coffee cup"),
         QStringLiteral("Soup spoon"), QStringLiteral("Chopsticks"), QStringLiteral("Toothpick"),
         QStringLiteral("Meal box"), QStringLiteral("Rubber band \r\n"),
         QStringLiteral("Meal paper"), QStringLiteral("Other")},
        ledger::schema::tablewareItems(),
        QStringLiteral("Text12"),
        QStringLiteral("Subtotal"),
        daily::DailyWindowFace::Purchase::Tableware,
        8910,
        7695,
    };
    return design;
}

const SheetDesign& shopArticlesSheet() {
    static const SheetDesign design{
        windows::kShopArticlesSheet,
        QStringLiteral("Articles in the shop"),
        {QStringLiteral("Cup"), QStringLiteral("Bowl"), QStringLiteral("Dish"),
         QStringLiteral("Tableware"), QStringLiteral("Oven"), QStringLiteral("Coffee machine"),
         QStringLiteral("Fruit juice mixer "), QStringLiteral("Electric equipment"),
         QStringLiteral("Sanitizer"), QStringLiteral("Other")},
        ledger::schema::shopArticleItems(),
        QStringLiteral("Text11"),
        QStringLiteral("Subtatal"),
        daily::DailyWindowFace::Purchase::ShopArticles,
        8760,
        7560,
    };
    return design;
}

}  // namespace supplies
