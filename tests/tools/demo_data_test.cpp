// SPDX-License-Identifier: GPL-3.0-or-later
// The demo file: believable and consistent, as if the shop had kept it with
// the program for two months, and the same on every run.

#include <gtest/gtest.h>

#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <cmath>
#include <map>

#include "ledger/credentials/staff_password.h"
#include "setup/schema_builder.h"
#include "sqlite_file.h"

namespace {

using Rows = std::vector<std::vector<QVariant>>;

const QStringList kTablewareItems = {"Soup cup",   "Beverage cup", "Coffee cup", "Soup spoon",
                                     "Chopsticks", "Toothpick",    "Meal box",   "Rubber band",
                                     "Meal paper", "Other"};
const QStringList kShopArticles = {"Cup",
                                   "Bowl",
                                   "Dish",
                                   "Tableware2",
                                   "Oven",
                                   "Coffee machine",
                                   "Fruit juice mixer",
                                   "Electric equipment",
                                   "Sanitizer",
                                   "Other2"};
const QStringList kPurchases = {
    "Bread trader", "General materials", "Noodles",       "Fruit",     "Egg",
    "Gas",          "Beverage",          "Miscellaneous", "Tableware", "Articles in the shop"};
const QStringList kAdministration = {
    "Rent",           "Partner",    "Electric rate",  "Telephone rate", "Water rate",
    "Personnel rate", "Income tax", "Board expenses", "Main payment",   "Insurance"};

QString columnsSql(const QStringList& names) {
    QStringList quoted;
    for (const auto& n : names) quoted << '"' + n + '"';
    return quoted.join(", ");
}

class DemoData : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        dir = new QTemporaryDir;
        path = dir->filePath("breakfast.mdb");
        setup::writeDatabaseFile(path, true, false);
    }
    static void TearDownTestSuite() { delete dir; }

    static Rows rows(const QString& sql) { return sqlite_file::query(path, sql); }
    static Rows ledgerRows(const QStringList& columns) {
        return rows("SELECT " + columnsSql(columns) +
                    " FROM \"daily settlement of accounts\" ORDER BY rowid");
    }
    static double sumOf(const std::vector<QVariant>& row, int from, int count) {
        double total = 0;
        for (int i = from; i < from + count; ++i) total += row[i].toDouble();
        return total;
    }

    static inline QTemporaryDir* dir = nullptr;
    static inline QString path;
};

TEST_F(DemoData, FileIsComplete) { EXPECT_EQ(sqlite_file::problems(path), QStringList()); }

TEST_F(DemoData, LoginWindowOpensOnTheDemoLogin) {
    auto staff = rows(
        "SELECT \"Name\", \"Password\" FROM \"Materials forms of staff\" "
        "ORDER BY rowid LIMIT 1");
    ASSERT_EQ(staff.size(), 1u);
    EXPECT_EQ(staff[0][0].toString(), "Tovena");
    EXPECT_TRUE(ledger::isStaffPasswordHash(staff[0][1].toString()));
    EXPECT_TRUE(ledger::staffPasswordMatches("breakfast", staff[0][1].toString()));
    EXPECT_EQ(setup::kDemoLoginName, "Tovena");
    EXPECT_EQ(setup::kDemoLoginPassword, "breakfast");
}

TEST_F(DemoData, AHandfulOfStaffWithRatesAndOneMonthlyPaid) {
    auto staff = rows(
        "SELECT \"Serial numbers\", \"Name\", \"Password\", \"Salary hour\", "
        "\"Overtime salary hour\", \"Monthly pay\", \"Position\", \"Cell phone\" "
        "FROM \"Materials forms of staff\"");
    EXPECT_GE(staff.size(), 5u);
    EXPECT_LE(staff.size(), 6u);
    QSet<QString> serials, names;
    int monthlyPaid = 0;
    for (const auto& s : staff) {
        serials << s[0].toString();
        names << s[1].toString();
        EXPECT_FALSE(s[2].toString().isEmpty());
        EXPECT_GT(s[3].toDouble(), 0);
        EXPECT_GT(s[4].toDouble(), s[3].toDouble());  // overtime pays more
        if (s[5].toDouble() > 0) ++monthlyPaid;
        EXPECT_FALSE(s[6].toString().isEmpty());
        EXPECT_FALSE(s[7].toString().isEmpty());
    }
    EXPECT_EQ(serials.size(), int(staff.size()));
    EXPECT_EQ(names.size(), int(staff.size()));
    EXPECT_EQ(monthlyPaid, 1);
}

TEST_F(DemoData, AboutTwoMonthsOfDaysWrittenWithoutLeadingZeros) {
    auto days = ledgerRows({"Date"});
    EXPECT_GE(days.size(), 40u);
    const QRegularExpression dayText("^[12][0-9]{3}/[1-9][0-9]?/[1-9][0-9]?$");
    QSet<QString> seen;
    for (const auto& d : days) {
        EXPECT_TRUE(dayText.match(d[0].toString()).hasMatch()) << d[0].toString().toStdString();
        seen << d[0].toString();
    }
    EXPECT_EQ(seen.size(), int(days.size()));  // one row per business day
    auto months = rows("SELECT \"Date per month\" FROM \"daily settlement of accounts -Inquiry\"");
    EXPECT_EQ(months.size(), 2u);
}

TEST_F(DemoData, EveryGroupOfTheDayHasAmounts) {
    for (const QStringList& group :
         {kAdministration, kPurchases,
          QStringList{"Turnover", "Small incidental money", "Accept cashes in fact"}}) {
        auto filled = rows(QString("SELECT count(*) FROM \"daily settlement of accounts\" WHERE "
                                   "coalesce(%1) IS NOT NULL")
                               .arg(columnsSql(group) + ", NULL"));
        EXPECT_GT(filled.at(0).at(0).toInt(), 0) << group.join(',').toStdString();
    }
    auto takings = ledgerRows({"Turnover"});
    for (const auto& t : takings) EXPECT_GT(t[0].toDouble(), 0);
}

TEST_F(DemoData, SupplyFiguresEqualTheirSheetsItems) {
    auto days = ledgerRows(QStringList{"Tableware", "Articles in the shop"} + kTablewareItems +
                           kShopArticles);
    int tablewareDays = 0, articleDays = 0;
    for (const auto& d : days) {
        const double tableware = sumOf(d, 2, 10);
        const double articles = sumOf(d, 12, 10);
        EXPECT_EQ(d[0].toDouble(), tableware);
        EXPECT_EQ(d[1].toDouble(), articles);
        if (tableware > 0) ++tablewareDays;
        if (articles > 0) ++articleDays;
    }
    EXPECT_GE(tablewareDays, 3);
    EXPECT_GE(articleDays, 2);
}

TEST_F(DemoData, CountedCashIsCloseToTheCashSubtotal) {
    auto days = ledgerRows(QStringList{"Turnover", "Accept cashes in fact"} + kPurchases);
    for (const auto& d : days) {
        // The cash subtotal: takings less the day's purchases.
        const double subtotal = d[0].toDouble() - sumOf(d, 2, 10);
        EXPECT_NEAR(d[1].toDouble(), subtotal, 50.0);
        EXPECT_GT(d[1].toDouble(), 0);
    }
}

TEST_F(DemoData, PersonnelCostIsTheSumOfTheDaysRoundedWages) {
    std::map<QString, double> wagesOfDay;
    for (const auto& w : rows("SELECT \"Date\", \"Daily settlement of accounts\" "
                              "FROM \"Inquiry detail\""))
        wagesOfDay[w[0].toString()] += std::nearbyint(w[1].toDouble());
    auto days = ledgerRows({"Date", "Personnel rate"});
    for (const auto& d : days)
        EXPECT_EQ(d[1].toDouble(), wagesOfDay[d[0].toString()]) << d[0].toString().toStdString();
    QSet<QString> ledgerDays;
    for (const auto& d : days) ledgerDays << d[0].toString();
    for (const auto& [day, total] : wagesOfDay)
        EXPECT_TRUE(ledgerDays.contains(day)) << "wages on a closed day " << day.toStdString();
}

TEST_F(DemoData, WageRowsCarryTheRegistersRatesAndYesOrNo) {
    std::map<QString, std::vector<QVariant>> staff;
    for (const auto& s : rows("SELECT \"Name\", \"Serial numbers\", \"Salary hour\", "
                              "\"Overtime salary hour\" FROM \"Materials forms of staff\""))
        staff[s[0].toString()] = s;
    auto wages = rows(
        "SELECT \"Name\", \"Serial numbers\", \"Salary hour\", "
        "\"Overtime salary hour\", \"Ask for leave\", \"Absent\", \"Main hour\", "
        "\"Work overtime\" FROM \"The staff calculate wages\"");
    EXPECT_GE(wages.size(), 100u);
    int leaveOrAbsent = 0;
    for (const auto& w : wages) {
        ASSERT_TRUE(staff.count(w[0].toString())) << w[0].toString().toStdString();
        const auto& s = staff[w[0].toString()];
        EXPECT_EQ(w[1], s[1]);
        EXPECT_EQ(w[2].toDouble(), s[2].toDouble());
        EXPECT_EQ(w[3].toDouble(), s[3].toDouble());
        for (int choice : {4, 5})
            EXPECT_TRUE(w[choice].toString() == "Yes" || w[choice].toString() == "No");
        if (w[4].toString() == "Yes" || w[5].toString() == "Yes") {
            ++leaveOrAbsent;
            EXPECT_EQ(w[6].toDouble(), 0.0);
            EXPECT_EQ(w[7].toDouble(), 0.0);
        } else {
            EXPECT_GT(w[6].toDouble(), 0.0);
        }
    }
    EXPECT_GT(leaveOrAbsent, 0);
}

TEST_F(DemoData, SameFileOnEveryRun) {
    QTemporaryDir other;
    const QString again = other.filePath("breakfast.mdb");
    setup::writeDatabaseFile(again, true, false);
    for (const char* table : {"daily settlement of accounts", "Materials forms of staff",
                              "The staff calculate wages"}) {
        const QString sql = QString("SELECT * FROM \"%1\" ORDER BY rowid").arg(table);
        auto first = sqlite_file::query(path, sql), second = sqlite_file::query(again, sql);
        ASSERT_EQ(first.size(), second.size()) << table;
        for (size_t r = 0; r < first.size(); ++r) {
            for (size_t c = 0; c < first[r].size(); ++c) {
                // A password's hash takes a new salt each time; both
                // stand for the same password.
                if (ledger::isStaffPasswordHash(first[r][c].toString())) {
                    EXPECT_TRUE(ledger::isStaffPasswordHash(second[r][c].toString()));
                    EXPECT_NE(first[r][c], second[r][c]) << "salted";
                    continue;
                }
                EXPECT_EQ(first[r][c], second[r][c]) << table << " row " << r << " column " << c;
            }
        }
    }
}

}  // namespace
