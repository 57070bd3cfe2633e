// SPDX-License-Identifier: GPL-3.0-or-later
// One rule for what a calendar day is: the program's own reading of a Date
// and the SQL that the saved queries, the kept month totals and the store's
// calendar order use give the same day for every text, on a file and on a
// server.

#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "ledger/calendar/calendar_day.h"
#include "ledger/calendar/calendar_sql.h"
#include "ledger/calendar/ledger_calendar.h"
#include "ledger/records/record_source.h"
#include "ledger/schema/schema.h"
#include "ledger/store/store.h"
#include "ledger/totals/month_totals.h"
#include "support/temp_database.h"

namespace calendar = ledger::calendar;
namespace schema = ledger::schema;

namespace {

struct DateCase {
    const char* text;
    int year, month, day;  // 0, 0, 0: undated
};

// Every text a shop has typed or might type into Date, with the day it names.
const DateCase kDates[] = {
    {"2002/2/12", 2002, 2, 12},
    {"2002/02/12", 2002, 2, 12},
    {"00002002/002/0012", 2002, 2, 12},
    {" 2002/2/12 ", 2002, 2, 12},
    {"\t2002/2/12\r\n", 2002, 2, 12},
    {"2002/12/31", 2002, 12, 31},
    {"1/1/1", 1, 1, 1},
    {"9999/12/31", 9999, 12, 31},
    {"2000/2/29", 2000, 2, 29},
    {"2004/2/29", 2004, 2, 29},
    {"2002/4/30", 2002, 4, 30},
    {"2002/2/30", 0, 0, 0},
    {"1900/2/29", 0, 0, 0},
    {"2003/2/29", 0, 0, 0},
    {"2002/4/31", 0, 0, 0},
    {"2002/13/1", 0, 0, 0},
    {"2002/0/1", 0, 0, 0},
    {"2002/1/0", 0, 0, 0},
    {"2002/1/201", 0, 0, 0},
    {"2002/100/1", 0, 0, 0},
    {"0/1/1", 0, 0, 0},
    {"10000/1/1", 0, 0, 0},
    {"99999999999999999999/1/1", 0, 0, 0},
    {"2002 / 4 / 12", 0, 0, 0},
    {"2002/4/ 12", 0, 0, 0},
    {"2002-4-12", 0, 0, 0},
    {"2002/4", 0, 0, 0},
    {"2002//12", 0, 0, 0},
    {"/2/12", 0, 0, 0},
    {"2002/2/", 0, 0, 0},
    {"2002/2/12/", 0, 0, 0},
    {"2002/2/1/2", 0, 0, 0},
    {"+2002/1/1", 0, 0, 0},
    {"2002/2/12a", 0, 0, 0},
    {"\uFF12\uFF10\uFF10\uFF12/2/12", 0, 0, 0},  // full-width digits
    {"2002/2/12\u3000", 0, 0, 0},                // an ideographic space is no blank here
    {"2002/2/12\v", 0, 0, 0},
    {"", 0, 0, 0},
    {"   ", 0, 0, 0},
    {"Undated", 0, 0, 0},
};

qint64 expectedNumber(const DateCase& c) {
    return c.year == 0 ? calendar::kUndatedDayNumber
                       : qint64(c.year) * 10000 + c.month * 100 + c.day;
}

TEST(CalendarDay, ReadsEveryDateTextAsTheDayItNames) {
    for (const DateCase& c : kDates) {
        const QString text = QString::fromUtf8(c.text);
        const auto day = calendar::dayOf(text);
        EXPECT_EQ(day.has_value(), c.year != 0) << c.text;
        if (day) {
            EXPECT_EQ(day->year, c.year) << c.text;
            EXPECT_EQ(day->month, c.month) << c.text;
            EXPECT_EQ(day->day, c.day) << c.text;
        }
        EXPECT_EQ(calendar::dayNumberOf(text), expectedNumber(c)) << c.text;
    }
}

TEST(CalendarDay, NamesMonthsAsTheSheetAndTheWageTotalsDo) {
    EXPECT_EQ(calendar::sheetMonthText(200212), QStringLiteral("12/ 2002"));
    EXPECT_EQ(calendar::sheetMonthText(20203), QStringLiteral("3/ 202"));
    EXPECT_EQ(calendar::wageMonthText(200202), QStringLiteral("2002/2"));
    EXPECT_EQ(calendar::sheetMonthText(calendar::kUndatedMonthNumber), QStringLiteral("Undated"));
    EXPECT_EQ(calendar::wageMonthText(calendar::kUndatedMonthNumber), QStringLiteral("Undated"));
    EXPECT_EQ(calendar::monthNumberOfDay(calendar::dayNumberOf(QStringLiteral("2002/2/30"))),
              calendar::kUndatedMonthNumber);
}

// The engine under test computes the same numbers and month names from the
// stored Date texts as the program does.
TEST(CalendarSql, GivesTheProgramsDayAndMonthForEveryStoredDate) {
    TempDatabase db;
    const auto dialect =
        db.onServer() ? calendar::SqlDialect::Postgres : calendar::SqlDialect::Sqlite;
    for (const DateCase& c : kDates)
        db.insert(schema::kLedger, {"Date"}, {QString::fromUtf8(c.text)});
    db.insert(schema::kLedger, {"Rent"}, {12.5});  // no Date at all

    const QString dayNumber = calendar::dayNumberSql(dialect, QStringLiteral("\"Date\""));
    const QString everyRow =
        calendar::dayNumberSql(dialect, QStringLiteral("\"Date\""), calendar::Reading::EveryRow);
    const QString monthNumber = calendar::monthNumberSql(dialect, dayNumber);
    const auto rows = db.query(
        QStringLiteral("SELECT \"Date\", %1, %2, %3, %4 FROM \"daily settlement of accounts\" "
                       "ORDER BY rowid")
            .arg(dayNumber, calendar::sheetMonthTextSql(dialect, monthNumber),
                 calendar::wageMonthTextSql(dialect, monthNumber), everyRow));
    ASSERT_EQ(rows.size(), std::size(kDates) + 1);
    for (const auto& row : rows) {
        const QString date = row[0].toString();
        const qint64 expected = calendar::dayNumberOf(date);
        const qint64 month = calendar::monthNumberOfDay(expected);
        EXPECT_EQ(row[1].toLongLong(), expected) << date.toStdString();
        EXPECT_EQ(row[2].toString(), calendar::sheetMonthText(month)) << date.toStdString();
        EXPECT_EQ(row[3].toString(), calendar::wageMonthText(month)) << date.toStdString();
        EXPECT_EQ(row[4].toLongLong(), expected) << "every row: " << date.toStdString();
    }
}

}  // namespace

namespace {

// The month sheet's rows and the wage detail grid's order, on the engine
// under test, read every text by the same rule: each calendar day counts in
// its month and sorts among the days; every other text counts under
// "Undated" and sorts after them.
TEST(OneCalendar, MonthTotalsAndTheWindowsOrderAgreeOnEveryText) {
    TempDatabase db;
    std::map<std::string, double> expectedTotals;  // by month text
    std::vector<std::pair<qint64, QString>> days;
    QStringList undated;
    double figure = 1;
    for (const DateCase& c : kDates) {
        const QString text = QString::fromUtf8(c.text);
        db.insert(schema::kLedger, {"Date", "Rent"}, {text, figure});
        db.insert(schema::kWages, {"Date", "Name"}, {text, QStringLiteral("Tovena")});
        const QString month = c.year == 0 ? QStringLiteral("Undated")
                                          : QStringLiteral("%1/ %2").arg(c.month).arg(c.year);
        expectedTotals[month.toStdString()] += figure;
        figure *= 2;  // every text's share of a total shows
        if (c.year == 0)
            undated << text;
        else
            days.emplace_back(expectedNumber(c), text);
    }

    ledger::RecordSource months(QStringLiteral("Data1"));
    months.setDatabasePath(db.path());
    months.setSource(schema::kMonthTotals);
    months.open();
    std::map<std::string, double> totals;
    for (const QStringList& row : months.rowsAsText())
        totals[row[0].toStdString()] = row[1].toDouble();
    EXPECT_EQ(totals, expectedTotals);

    // Days in calendar order (the same day in the order they were added),
    // then the other texts in text order.
    std::stable_sort(days.begin(), days.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    std::sort(undated.begin(), undated.end());
    QStringList expectedOrder;
    for (const auto& day : days) expectedOrder << day.second;
    expectedOrder << undated;
    ledger::RecordSource detail(QStringLiteral("Data1"));
    detail.setDatabasePath(db.path());
    detail.setSource(QStringLiteral(
        "SELECT Date,Name,[Main hour],[Work overtime],Absent,[Ask for leave],[Daily settlement "
        "of accounts] FROM [Inquiry Detail] WHERE Date LIKE '**'AND Name LIKE'**'order by Date"));
    detail.open();
    QStringList order;
    for (const QStringList& row : detail.rowsAsText()) order << row[0];
    EXPECT_EQ(order.join('|').toStdString(), expectedOrder.join('|').toStdString());
}

TEST(LedgerCalendar, MonthTextsOfTheTwoTotalsAreReadAsTheQueriesWriteThem) {
    EXPECT_EQ(ledger::sheetMonth("12/ 2002")->first, QDate(2002, 12, 1));
    EXPECT_EQ(ledger::sheetMonth("2/ 2000")->last, QDate(2000, 2, 29));
    EXPECT_EQ(ledger::wageMonth("2002/12")->last, QDate(2002, 12, 31));
    for (const char* notAMonth : {"13/ 2002", "0/ 2002", "1/ 0", "Undated", "12/2002/1", ""})
        EXPECT_FALSE(ledger::sheetMonth(notAMonth)) << notAMonth;
    EXPECT_FALSE(ledger::wageMonth("2002/13"));
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
