// SPDX-License-Identifier: GPL-3.0-or-later
#include <QGuiApplication>
#include <QScreen>

#include "forms/layout_units.h"
#include "salary_fixture.h"

namespace salary_tests {
namespace {

class SalaryLayoutTest : public SalaryTest {
protected:
    void SetUp() override {
        SalaryTest::SetUp();
        forms::setScreenDpiForTesting(96);
    }
    void TearDown() override {
        SalaryTest::TearDown();
        forms::setScreenDpiForTesting(0);
    }

    // Names of the controls that take keyboard focus, in Tab order.
    static QStringList focusOrder(QWidget* window, const char* first, int count) {
        QStringList order;
        QWidget* at = window->findChild<QWidget*>(QString::fromLatin1(first));
        for (int i = 0; i < count && at; ++i) {
            order << at->objectName();
            do at = at->nextInFocusChain();
            while (at->focusPolicy() == Qt::NoFocus || at->objectName().isEmpty());
        }
        return order;
    }

    static QColor background(QWidget* window, const QString& name) {
        QWidget* control = window->findChild<QWidget*>(name);
        EXPECT_NE(control, nullptr) << name.toStdString();
        return control ? control->palette().color(QPalette::Window) : QColor();
    }
};

TEST_F(SalaryLayoutTest, TheSalaryWindowCarriesItsCaptions) {
    auto* window = openSalaryWindow();
    EXPECT_EQ(window->windowTitle(), "Staff's salary settlement of  every month");
    const std::pair<const char*, const char*> captions[] = {
        {"Label1", "Date"},
        {"Label3", "Name"},
        {"Label2", "Serial numbers"},
        {"Label4", "Salary hour"},
        {"Label5", "Overtime salary hour"},
        {"Label6", "Every month work hours"},
        {"Label7", "Every month overtime hours"},
        {"Label8", "Subtotal"},
        {"Label9", "Insurance"},
        {"Label10", "Absent-Deduct"},
        {"Label11", "The salary gotten actually"},
        {"Command1", "To last month"},
        {"Command2", "Inquiry--Name      (To recently month)"},
        {"Command3", "Detail"},
        {"Command4", "Print"},
    };
    for (const auto& [name, caption] : captions) {
        auto* pushButton = window->findChild<QPushButton*>(name);
        EXPECT_EQ(pushButton ? pushButton->text() : text(window, name), caption) << name;
    }
    auto* bar = window->findChild<forms::DataControl*>("Data2");
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(bar->caption(), "Data2");
    EXPECT_TRUE(window->findChild<forms::DataControl*>("Data3")->isHidden());
    // Every control lies inside the window.
    for (QWidget* child : window->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        EXPECT_TRUE(window->rect().contains(child->geometry()))
            << child->objectName().toStdString();
}

TEST_F(SalaryLayoutTest, CaptionsShareTheirFieldsColours) {
    auto* window = openSalaryWindow();
    const QColor lightBlue(0xC0, 0xC0, 0xFF), lightYellow(0xFF, 0xFF, 0x80),
        green(0x80, 0xFF, 0x80), lightCyan(0x80, 0xFF, 0xFF), lightRed(0xFF, 0xC0, 0xC0);
    const std::pair<const char*, QColor> colours[] = {
        {"Label4", lightBlue},   {"Text4", lightBlue},    {"Label6", lightBlue},
        {"Text13", lightBlue},   {"Label5", lightYellow}, {"Text5", lightYellow},
        {"Label7", lightYellow}, {"Text6", lightYellow},  {"Label8", green},
        {"Label12", green},      {"Label11", lightCyan},  {"Label13", lightCyan},
        {"Label1", lightRed},    {"Label3", lightRed},    {"Label2", lightRed},
        {"Label9", lightRed},    {"Label10", lightRed},
    };
    for (const auto& [name, colour] : colours) EXPECT_EQ(background(window, name), colour) << name;
}

TEST_F(SalaryLayoutTest, KeyboardFocusFollowsTheShopsOrder) {
    auto* window = openSalaryWindow();
    EXPECT_EQ(focusOrder(window, "Command1", 14),
              QStringList({"Command1", "Command2", "Text1", "Text2", "Text3", "Text4", "Text5",
                           "Text6", "Text8", "Text9", "Text12", "Text13", "Command3", "Command4"}));
    salary::setDetailQueryText(salary::composeDetailQuery("", ""));
    auto* grid = FormWindow::loadWindow("Form9");
    ASSERT_NE(grid, nullptr);
    EXPECT_EQ(focusOrder(grid, "Command1", 4),
              QStringList({"Command1", "Text1", "Command2", "MSFlexGrid1"}));
}

TEST_F(SalaryLayoutTest, BothWindowsOpenCentred) {
    const QPoint centre = QGuiApplication::primaryScreen()->availableGeometry().center();
    auto* window = openSalaryWindow();
    EXPECT_LE((window->geometry().center() - centre).manhattanLength(), 2);
    salary::setDetailQueryText(salary::composeDetailQuery("", ""));
    auto* grid = FormWindow::loadWindow("Form9");
    ASSERT_NE(grid, nullptr);
    EXPECT_LE((grid->geometry().center() - centre).manhattanLength(), 2);
}

}  // namespace
}  // namespace salary_tests
