// SPDX-License-Identifier: GPL-3.0-or-later
#include <QGuiApplication>
#include <QScreen>

#include "forms/layout_units.h"
#include "sheet_fixture.h"

namespace sheet_tests {
namespace {

class SheetLayoutTest : public SheetTest {};

TEST_F(SheetLayoutTest, TablewareSheetShowsItsCaptionsAsTheShopWritesThem) {
    addDay("2002/2/12");
    auto* sheet = FormWindow::loadWindow("Form2");
    ASSERT_NE(sheet, nullptr);
    EXPECT_EQ(sheet->windowTitle(), "Tableware detail");
    const QStringList captions = {"Soup cup",   "Beverage cup", "Coffee cup", "Soup spoon",
                                  "Chopsticks", "Toothpick",    "Meal box",   "Rubber band \r\n",
                                  "Meal paper", "Other"};
    for (int i = 0; i < 10; ++i)
        EXPECT_EQ(sheet->findChild<QLabel*>(QStringLiteral("Label%1").arg(i + 1))->text(),
                  captions[i]);
    EXPECT_EQ(sheet->findChild<QLabel*>("Label11")->text(), "Subtotal");
    EXPECT_NE(sheet->findChild<QLineEdit*>("Text12"), nullptr);
    EXPECT_EQ(sheet->findChild<QLineEdit*>("Text11"), nullptr);
    EXPECT_EQ(button(sheet, "Command1")->text(), "By here day");
    EXPECT_EQ(button(sheet, "Command2")->text(), "Confirm");
    EXPECT_EQ(sheet->findChild<forms::DataControl*>("Data1")->caption(), "");
}

TEST_F(SheetLayoutTest, ShopArticlesSheetHasItsOwnCaptionsAndDateField) {
    addDay("2002/2/12");
    auto* sheet = FormWindow::loadWindow("Form3");
    ASSERT_NE(sheet, nullptr);
    EXPECT_EQ(sheet->windowTitle(), "Articles in the shop");
    const QStringList captions = {"Cup",
                                  "Bowl",
                                  "Dish",
                                  "Tableware",
                                  "Oven",
                                  "Coffee machine",
                                  "Fruit juice mixer ",
                                  "Electric equipment",
                                  "Sanitizer",
                                  "Other"};
    for (int i = 0; i < 10; ++i)
        EXPECT_EQ(sheet->findChild<QLabel*>(QStringLiteral("Label%1").arg(i + 1))->text(),
                  captions[i]);
    EXPECT_EQ(sheet->findChild<QLabel*>("Label11")->text(), "Subtatal");
    EXPECT_NE(sheet->findChild<QLineEdit*>("Text11"), nullptr);
    EXPECT_EQ(sheet->findChild<QLineEdit*>("Text12"), nullptr);
}

TEST_F(SheetLayoutTest, EachItemFieldShowsItsOwnColumn) {
    // Distinct amounts per column, so a field bound to the wrong column shows.
    Items items;
    const QStringList& tableware = schema::tablewareItems();
    const QStringList& articles = schema::shopArticleItems();
    for (int i = 0; i < 10; ++i) {
        items[tableware[i]] = 1 + i;
        items[articles[i]] = 101 + i;
    }
    items["Tableware"] = 555;  // the daily figure, not the shop article "Tableware2"
    addDay("2002/2/12", items);

    auto* form2 = FormWindow::loadWindow("Form2");
    auto* form3 = FormWindow::loadWindow("Form3");
    for (int i = 0; i < 10; ++i) {
        EXPECT_EQ(item(form2, i + 1)->text(), QString::number(1 + i)) << i;
        EXPECT_EQ(item(form3, i + 1)->text(), QString::number(101 + i)) << i;
    }
    EXPECT_EQ(field(form2, "Text12")->text(), "2002/2/12");
    EXPECT_EQ(field(form3, "Text11")->text(), "2002/2/12");
}

TEST_F(SheetLayoutTest, WindowsOpenCentredAtTheirDesignSize) {
    forms::setScreenDpiForTesting(96);
    addDay("2002/2/12");
    struct Expected {
        const char* name;
        int width, height;
    };
    for (Expected e : {Expected{"Form2", 8910, 7695}, Expected{"Form3", 8760, 7560}}) {
        auto* sheet = FormWindow::loadWindow(e.name);
        EXPECT_EQ(sheet->width(), forms::twips(e.width)) << e.name;
        EXPECT_EQ(sheet->height(), forms::twips(e.height)) << e.name;
        const QPoint screenCentre = QGuiApplication::primaryScreen()->availableGeometry().center();
        EXPECT_LE((sheet->geometry().center() - screenCentre).manhattanLength(), 2) << e.name;
    }
    forms::setScreenDpiForTesting(0);
}

TEST_F(SheetLayoutTest, KeyboardFocusRunsDownTheItemsThenTheRightColumn) {
    addDay("2002/2/12");
    auto* sheet = FormWindow::loadWindow("Form2");
    QStringList order;
    QWidget* at = item(sheet, 1);
    for (int i = 0; i < 13; ++i) {
        order << at->objectName();
        at = at->nextInFocusChain();
        while (at->focusPolicy() == Qt::NoFocus || at->objectName().isEmpty())
            at = at->nextInFocusChain();
    }
    EXPECT_EQ(order.mid(0, 10), QStringList({"Text1", "Text2", "Text3", "Text4", "Text5", "Text6",
                                             "Text7", "Text8", "Text9", "Text10"}));
    EXPECT_EQ(order.mid(10, 2), QStringList({"Command1", "Text12"}));
}

TEST_F(SheetLayoutTest, OpeningAnOpenSheetAgainGivesTheSameWindow) {
    addDay("2002/2/12");
    auto* first = FormWindow::loadWindow("Form2");
    auto* again = FormWindow::loadWindow("Form2");
    EXPECT_EQ(first, again);
    EXPECT_NE(FormWindow::loadWindow("Form3"), first);
    EXPECT_TRUE(FormWindow::canCreate("Form2"));
    EXPECT_TRUE(FormWindow::canCreate("Form3"));
}

}  // namespace
}  // namespace sheet_tests
