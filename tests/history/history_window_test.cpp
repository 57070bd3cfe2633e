// SPDX-License-Identifier: GPL-3.0-or-later
// The History… window: opened from the daily window on the day shown, it
// lists the day's recorded changes newest first in the shop's words, and
// Put back stores the chosen earlier value, itself listed then.

#include "history/history_window.h"

#include <gtest/gtest.h>

#include <QListWidget>
#include <QPixmap>

#include "daily/daily_windows.h"
#include "daily/screen_density.h"
#include "forms/form_window.h"
#include "history/history_windows.h"
#include "interfaces/window_names.h"
#include "ledger/schema/schema.h"
#include "ledger/store/store.h"
#include "ledger/store/who_writes.h"
#include "staff/staff_windows.h"
#include "support/window_test.h"

namespace {

using forms::FormWindow;
namespace schema = ledger::schema;

class HistoryWindowTest : public WindowTest {
protected:
    void SetUp() override {
        history::registerWindows();
        daily::registerWindows();
        daily::setScreenDensityForTesting(100);
        ledger::setStaffOnDuty(QStringLiteral("Marta"));
    }
    void TearDown() override {
        WindowTest::TearDown();
        daily::setScreenDensityForTesting(0);
        ledger::setStaffOnDuty(QString());
    }
    // "2026-12-09 09:12, till 1, Marta: " of the change `key` of the history.
    QString who(qint64 key) const {
        return db.scalar(QStringLiteral("SELECT \"When\" FROM \"History\" WHERE \"Row key\" = %1")
                             .arg(key))
                   .toString()
                   .left(16) +
               QStringLiteral(", till ") + ledger::tillName() + QStringLiteral(", Marta: ");
    }
};

TEST_F(HistoryWindowTest, TheDailyWindowsButtonListsTheDaysChangesNewestFirst) {
    auto store = ledger::openStore({db.path()});
    const qint64 day = store->insertRow(schema::kLedger, {"Date", "Egg"}, {"2026/12/9", 91.0});
    store->insertRow(schema::kLedger, {"Date", "Egg"}, {"2026/12/10", 5.0});  // another day
    ASSERT_TRUE(store->updateRow(schema::kLedger, day, {"Egg"}, {19.0}, {91.0}));
    const qint64 wage =
        store->insertRow(schema::kWages, {"Date", "Name", "Main hour"}, {"2026/12/9", "Lena", 8.0});
    store->deleteRow(schema::kWages, wage);
    store.reset();

    FormWindow* daily = FormWindow::loadWindow(windows::kDailyWindow);
    daily->show();
    ASSERT_EQ(text(daily, "Text2"), "2026/12/9");
    button(daily, "history")->click();
    auto* window = qobject_cast<history::HistoryWindow*>(FormWindow::find(windows::kHistoryWindow));
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->isVisible());
    // The day's four changes, by the history's keys 1 (day added), 2 (the
    // other day), 3 (Egg), 4 and 5 (the wage added and removed).
    const QStringList expected{who(5) + "wage of Lena removed", who(4) + "wage of Lena added",
                               who(3) + "Egg 91 → 19", who(1) + "day added"};
    EXPECT_EQ(window->shownLines(), expected);

    // Put back Egg: asked first, stored, and listed at the top.
    auto* list = window->findChild<QListWidget*>("changes");
    list->setCurrentRow(2);
    prompts.yesNoAnswers.push_back(true);
    button(window, "putBack")->click();
    EXPECT_TRUE(prompts.told.isEmpty()) << prompts.told.join("\n").toStdString();
    EXPECT_EQ(db.scalar("SELECT \"Egg\" FROM \"daily settlement of accounts\" WHERE \"Date\" = "
                        "'2026/12/9'")
                  .toDouble(),
              91);
    // The daily window showing the day shows it as the books now hold it.
    EXPECT_EQ(text(daily, "Text16"), "91");
    ASSERT_EQ(window->shownLines().size(), 5);
    EXPECT_EQ(window->shownLines().front(), who(6) + "Egg 19 → 91");
}

// The wage window's History… opens on the day of the wage row it shows,
// not on the daily window's day.
TEST_F(HistoryWindowTest, TheWageWindowsButtonListsTheDayOfTheWageRowShown) {
    staff::registerWindows();
    auto store = ledger::openStore({db.path()});
    store->insertRow(schema::kLedger, {"Date"}, {"2026/12/9"});
    store->insertRow(schema::kWages, {"Date", "Name", "Main hour"}, {"2026/12/10", "Lena", 8.0});
    store.reset();

    FormWindow* daily = FormWindow::loadWindow(windows::kDailyWindow);
    daily->show();
    button(daily, "Command8")->click();
    FormWindow* wages = FormWindow::find(windows::kWageWindow);
    ASSERT_NE(wages, nullptr);
    ASSERT_EQ(text(wages, "Text1"), "2026/12/10");
    button(wages, "history")->click();
    auto* window = qobject_cast<history::HistoryWindow*>(FormWindow::find(windows::kHistoryWindow));
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->shownLines(), QStringList{who(2) + "wage of Lena added"});
}

}  // namespace
