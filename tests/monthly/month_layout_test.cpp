// SPDX-License-Identifier: GPL-3.0-or-later
#include <QGuiApplication>
#include <QScreen>

#include "forms/layout_units.h"
#include "month_fixture.h"

namespace month_tests {
namespace {

class MonthLayoutTest : public MonthTest {};

TEST_F(MonthLayoutTest, CaptionsAndHeadingsReadAsTheShopsSheet) {
    auto* sheet = openMonthSheet();
    EXPECT_EQ(sheet->windowTitle(), "Settle account in the month");
    const std::map<QString, QString> captions = {
        {"Label1", "Date"},
        {"Label2", "Administration"},
        {"Label3", "Rant"},
        {"Label4", "Partner"},
        {"Label5", "Electric rate"},
        {"Label6", "Telephone rate"},
        {"Label7", "Water rate"},
        {"Label8", "Personnel rate"},
        {"Label9", "Income tax"},
        {"Label10", "Board expenses"},
        {"Label11", "Main payment"},
        {"Label12", "Insurance"},
        {"Label13", "Administration's subtotal"},
        {"Label14", "Expenditure"},
        {"Label15", "Bread trader"},
        {"Label16", "General materials"},
        {"Label17", "Noodles"},
        {"Label18", "Fruit"},
        {"Label19", "Egg"},
        {"Label20", "Gas"},
        {"Label21", "Beverage"},
        {"Label22", "Miscellaneous"},
        {"Label23", "Tableware"},
        {"Label24", "Articles in the shop"},
        {"Label25", "Subtotal of the expenditure"},
        {"Label26", "Income"},
        {"Label27", "Turnover"},
        {"Label28", "Small incidental money"},
        {"Label29", "Total net amount"},
        {"Label30", "Out-of-pocket expenses"},
        {"Label31", "Deduct the small incidental money"},
        {"Label32", "Subtotal of the cash"},
        {"Label33", "Accept cashes in fact"},
        {"Label34", "Difference"},
        {"Label35", "Total"},
    };
    for (const auto& [name, caption] : captions)
        EXPECT_EQ(text(sheet, name), caption) << name.toStdString();
    EXPECT_EQ(button(sheet, "Command1")->text(), "Inquiry  --Style:12/2002");
    EXPECT_EQ(button(sheet, "Command2")->text(), "Print");
    EXPECT_EQ(sheet->findChild<forms::DataControl*>("Data1")->caption(), "Month");
    EXPECT_EQ(text(sheet, "Text1"), "Settle account in the month");
}

TEST_F(MonthLayoutTest, EachCaptionStandsBesideItsFieldInItsColumn) {
    auto* sheet = openMonthSheet();
    auto beside = [&](const char* caption, const char* control) {
        QWidget* c = sheet->findChild<QWidget*>(caption);
        QWidget* f = sheet->findChild<QWidget*>(control);
        ASSERT_TRUE(c && f) << caption << " " << control;
        EXPECT_EQ(c->geometry().center().y() / 4, f->geometry().center().y() / 4)
            << caption << " " << control;
        EXPECT_LT(c->geometry().right(), f->geometry().left()) << caption << " " << control;
    };
    for (int n = 3; n <= 12; ++n)
        beside(qPrintable(QStringLiteral("Label%1").arg(n)),
               qPrintable(QStringLiteral("Text%1").arg(n)));
    for (int n = 15; n <= 24; ++n)
        beside(qPrintable(QStringLiteral("Label%1").arg(n)),
               qPrintable(QStringLiteral("Text%1").arg(n - 1)));
    beside("Label13", "Label36");
    beside("Label25", "Label37");
    beside("Label27", "Text25");
    beside("Label28", "Text26");
    beside("Label29", "Label38");
    beside("Label30", "Label39");
    beside("Label31", "Label40");
    beside("Label32", "Label41");
    beside("Label33", "Text13");
    beside("Label34", "Label42");
    beside("Label35", "Label43");

    // Administration left of expenditure left of income.
    auto left = [&](const char* name) { return sheet->findChild<QWidget*>(name)->x(); };
    EXPECT_LT(left("Text3"), left("Text14"));
    EXPECT_LT(left("Text14"), left("Text25"));
    EXPECT_EQ(left("Text25"), left("Label43"));
    // Every control lies inside the window.
    for (QWidget* child : sheet->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        EXPECT_TRUE(sheet->rect().contains(child->geometry())) << child->objectName().toStdString();
}

TEST_F(MonthLayoutTest, KeyboardFocusRunsDownTheColumnsAndEndsWithTheCashCounted) {
    auto* sheet = openMonthSheet();
    QStringList order;
    QWidget* at = sheet->findChild<QWidget*>("Text1");
    for (int i = 0; i < 27; ++i) {
        order << at->objectName();
        do at = at->nextInFocusChain();
        while (at->focusPolicy() == Qt::NoFocus || at->objectName().isEmpty());
    }
    QStringList expected = {"Text1", "Text2", "Command1"};
    for (int n = 3; n <= 12; ++n) expected << QStringLiteral("Text%1").arg(n);
    for (int n = 14; n <= 23; ++n) expected << QStringLiteral("Text%1").arg(n);
    expected << "Text25"
             << "Text26"
             << "Command2"
             << "Text13";
    EXPECT_EQ(order, expected);
}

TEST_F(MonthLayoutTest, OpensCentredAtItsDesignSize) {
    forms::setScreenDpiForTesting(96);
    auto* sheet = openMonthSheet();
    EXPECT_EQ(sheet->size(), QSize(forms::twips(11910), forms::twips(8280)));
    const QPoint centre = QGuiApplication::primaryScreen()->availableGeometry().center();
    EXPECT_LE((sheet->geometry().center() - centre).manhattanLength(), 2);
    forms::setScreenDpiForTesting(0);
}

}  // namespace
}  // namespace month_tests
