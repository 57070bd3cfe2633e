// The one rule for the month of a day text: what the month totals sum a day
// into, which days are real calendar days, and the month totals read whole.

#include <gtest/gtest.h>

#include <map>

#include "ledger/calendar/ledger_calendar.h"
#include "ledger/schema/schema.h"
#include "ledger/store/source_info.h"
#include "ledger/store/store.h"
#include "ledger/totals/month_totals.h"
#include "support/temp_database.h"

namespace {

namespace schema = ledger::schema;

struct DayTextCase {
    const char16_t* text;
    int year, month;  // the month it is summed into; 0, 0: none (undated)
    bool isDay;       // a real calendar day
};

const DayTextCase kCases[] = {
    {u"2002/2/12", 2002, 2, true},
    {u" 2002/2/12 ", 2002, 2, true},
    {u"\t2002/2/12\r\n", 2002, 2, true},
    {u"2002/02/012", 2002, 2, true},
    {u"0002/1/5", 2, 1, true},
    {u"2000/2/29", 2000, 2, true},
    {u"2001/2/29", 2001, 2, false},
    {u"2002/2/30", 2002, 2, false},
    {u"2002/4/31", 2002, 4, false},
    {u"2002/4/0", 2002, 4, false},
    {u"2002/13/1", 2002, 13, false},
    {u"2002/0/5", 2002, 0, false},
    {u"0/1/1", 0, 1, false},
    {u"2002 /2/12", 0, 0, false},
    {u"2002/ 2/12", 0, 0, false},
    {u"2002/2/12/1", 0, 0, false},
    {u"2002/2", 0, 0, false},
    {u"2002/2/", 0, 0, false},
    {u"/2/12", 0, 0, false},
    {u"2002/-2/1", 0, 0, false},
    {u"2002/+2/1", 0, 0, false},
    {u"2002/2/1x", 0, 0, false},
    {u"1E3/2/1", 0, 0, false},
    {u"\uFF12\uFF10\uFF10\uFF12/2/12", 0, 0, false},  // full-width digits
    {u"Undated", 0, 0, false},
    {u"", 0, 0, false},
};

bool hasMonth(const DayTextCase& c) { return c.year != 0 || c.month != 0; }

TEST(LedgerCalendar, TheMonthOfADayTextAndWhetherItIsADay) {
    for (const DayTextCase& c : kCases) {
        const QString text = QString::fromUtf16(c.text);
        SCOPED_TRACE(text.toStdString());
        const auto month = ledger::ledgerMonthOf(text);
        ASSERT_EQ(month.has_value(), hasMonth(c));
        if (month) {
            EXPECT_EQ(month->year, c.year);
            EXPECT_EQ(month->month, c.month);
        }
        EXPECT_EQ(ledger::calendarDay(text).has_value(), c.isDay);
    }
}

TEST(LedgerCalendar, MonthTextsOfTheTwoTotalsAreReadAsTheQueriesWriteThem) {
    EXPECT_EQ(ledger::sheetMonth("12/ 2002")->first, QDate(2002, 12, 1));
    EXPECT_EQ(ledger::sheetMonth("2/ 2000")->last, QDate(2000, 2, 29));
    EXPECT_EQ(ledger::wageMonth("2002/12")->last, QDate(2002, 12, 31));
    for (const char* notAMonth : {"13/ 2002", "0/ 2002", "1/ 0", "Undated", "12/2002/1", ""})
        EXPECT_FALSE(ledger::sheetMonth(notAMonth)) << notAMonth;
    EXPECT_FALSE(ledger::wageMonth("2002/13"));
}

// The rule is the month totals' own: every day text lands, on a file and
// on a server, in the month row the rule names ("Undated" for none).
// Each day carries a Rent of its own power of two, so a month's sum says
// which days it holds.
TEST(LedgerCalendar, TheMonthTotalsSumEveryDayIntoTheMonthTheRuleNames) {
    TempDatabase db;
    std::map<QString, double> expected;
    double bit = 1;
    for (const DayTextCase& c : kCases) {
        const QString text = QString::fromUtf16(c.text);
        db.insert(schema::kLedger, {"Date", "Rent"}, {text, bit});
        const auto rule = ledger::ledgerMonthOf(text);
        const QString month = rule ? QStringLiteral("%1/ %2").arg(rule->month).arg(rule->year)
                                   : QStringLiteral("Undated");
        expected[month] += bit;
        bit *= 2;
    }
    std::map<QString, double> summed;
    for (const ledger::MonthTotals& month :
         ledger::readMonthTotals(*ledger::openStore({db.path()}))) {
        ASSERT_EQ(month.sums.size(), 23u);
        summed[month.month] = month.sums.front().toDouble();
    }
    EXPECT_EQ(summed, expected);
}

TEST(MonthTotalsRead, AreReadInTheMonthSheetsOrderWithEverySumAndEmptyWhereNoDayHasOne) {
    TempDatabase db;
    db.insert(schema::kLedger, {"Date", "Turnover", "Accept cashes in fact"},
              {QStringLiteral("2003/1/2"), 7.5, 3.0});
    db.insert(schema::kLedger, {"Date", "Turnover"}, {QStringLiteral("2002/12/31"), 100.0});
    db.insert(schema::kLedger, {"Date", "Turnover"}, {QStringLiteral("2002/12/1"), 20.25});
    db.insert(schema::kLedger, {"Date", "Rent"}, {QStringLiteral("someday"), 4.0});
    const auto months = ledger::readMonthTotals(*ledger::openStore({db.path()}));
    ASSERT_EQ(months.size(), 3u);
    EXPECT_EQ(months[0].month, "12/ 2002");
    EXPECT_EQ(months[1].month, "1/ 2003");
    EXPECT_EQ(months[2].month, "Undated");
    const int turnover = static_cast<int>(schema::ledgerDayAmounts().indexOf("Turnover"));
    const int accepted =
        static_cast<int>(schema::ledgerDayAmounts().indexOf("Accept cashes in fact"));
    EXPECT_EQ(months[0].sums[turnover].toDouble(), 120.25);
    EXPECT_TRUE(months[0].sums[accepted].isNull());
    EXPECT_EQ(months[1].sums[accepted].toDouble(), 3.0);
    EXPECT_EQ(months[2].sums[0].toDouble(), 4.0);
}

}  // namespace
