// SPDX-License-Identifier: GPL-3.0-or-later
// tallowbrook-db export, run as the user runs it, its CSV read back as a
// spreadsheet program reads it.

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <map>

#include "csv_reader.h"
#include "forms/form_window.h"
#include "ledger/calendar/ledger_calendar.h"
#include "ledger/records/record_source.h"
#include "ledger/schema/schema.h"
#include "salary/rules/salary_rules.h"
#include "salary/salary_window.h"
#include "salary/salary_windows.h"
#include "small_disk.h"
#include "support/window_test.h"
#include "tool_run.h"

namespace {

namespace schema = ledger::schema;

// ------------------------------------------------------------ the reader

struct CsvVector {
    const char* bytes;
    std::vector<QStringList> records;
    int bareLineBreaks;
    bool wellFormed;
};

TEST(CsvReader, ReadsQuotesDoubledQuotesAndLineBreaksAndFlagsWhatIsNotRfc4180) {
    const CsvVector vectors[] = {
        {"a,b\r\n", {{"a", "b"}}, 0, true},
        {"\"x, y\",\"say \"\"hi\"\"\"\r\n", {{"x, y", "say \"hi\""}}, 0, true},
        {"\"two\r\nlines\",\r\n", {{"two\r\nlines", ""}}, 0, true},
        {"a\nb\r\n", {{"a"}, {"b"}}, 1, true},
        {"a,b", {{"a", "b"}}, 1, true},
        {"ab\"c\r\n", {{"ab\"c"}}, 0, false},
        {"\"open\r\n", {{"open\r\n"}}, 1, false},
    };
    for (const CsvVector& v : vectors) {
        const CsvDocument doc = readCsv(QByteArray(v.bytes));
        EXPECT_EQ(doc.records, v.records) << v.bytes;
        EXPECT_EQ(doc.bareLineBreaks, v.bareLineBreaks) << v.bytes;
        EXPECT_EQ(doc.wellFormed, v.wellFormed) << v.bytes;
    }
}

// ------------------------------------------------------------ the export

class Export : public WindowTest {
protected:
    QString outputPath(const QString& name = QStringLiteral("export.csv")) const {
        return out.filePath(name);
    }

    // Runs the export into a file and reads it back; the tool must succeed
    // and its file must be strict CSV in UTF-8 with a byte-order mark.
    std::vector<QStringList> exported(const QString& what, const QStringList& options = {}) {
        const QString file = outputPath();
        QFile::remove(file);
        last = runTool(QStringList{"export", db.path(), what, "--output", file} + options);
        EXPECT_EQ(last.exitCode, 0) << last.err.toStdString();
        QFile written(file);
        if (!written.open(QIODevice::ReadOnly)) {
            ADD_FAILURE() << "no file " << file.toStdString();
            return {};
        }
        const CsvDocument doc = readCsv(written.readAll());
        EXPECT_TRUE(doc.hasByteOrderMark);
        EXPECT_TRUE(doc.validUtf8);
        EXPECT_TRUE(doc.wellFormed);
        EXPECT_EQ(doc.bareLineBreaks, 0);
        return doc.records;
    }

    // One column of the exported rows (below the header).
    static QStringList column(const std::vector<QStringList>& records, const QString& name) {
        QStringList cells;
        if (records.empty()) return cells;
        const qsizetype at = records.front().indexOf(name);
        EXPECT_GE(at, 0) << name.toStdString();
        for (size_t i = 1; i < records.size(); ++i) cells << records[i].value(at);
        return cells;
    }

    void addStaff(const QString& name, const QVariant& salaryHour, const QVariant& overtimeRate,
                  const QString& serial = QStringLiteral("A001")) const {
        db.insert(schema::kStaff,
                  {"Serial numbers", "Name", "Password", "Salary hour", "Overtime salary hour"},
                  {serial, name, QStringLiteral("pw"), salaryHour, overtimeRate});
    }

    void addWage(const QString& day, const QString& name, double mainHour, double overtime,
                 double insurance, double absentDeduct,
                 const QString& serial = QStringLiteral("A001")) const {
        db.insert(
            schema::kWages,
            {"Date", "Serial numbers", "Name", "Salary hour", "Overtime salary hour", "Main hour",
             "Work overtime", "Ask for leave", "Absent", "Insurance", "Absent-Deduct"},
            {day, serial, name, 80.0, 100.0, mainHour, overtime, QStringLiteral("No"),
             QStringLiteral("No"), insurance, absentDeduct});
    }

    // The shop's example month: 160 hours, 10 overtime hours, 600 insurance
    // and 200 absence deductions in December 2002.
    void addExampleMonth(const QString& name = QStringLiteral("Tovena")) const {
        addWage("2002/12/2", name, 100, 6, 600, 0);
        addWage("2002/12/9", name, 60, 4, 0, 200);
    }

    QTemporaryDir out;
    ToolRun last;
};

// Texts that sort wrongly as plain text, and texts that are no calendar day.
TEST_F(Export, DaysComeInCalendarOrderWithUndatedRowsLastInTheirStoredOrder) {
    for (const char* day : {"2002/10/1", "Closing stock", "2002/9/30", "2002/1/15", "2002/2/30",
                            "2002/1/5", " 2002/01/06 "})
        addDay(QString::fromLatin1(day));
    const auto records = exported("days");
    ASSERT_FALSE(records.empty());
    // Every ledger column but the row key, the items that repeat a name said
    // in plain words, then the sheet's figures.
    QStringList items = schema::tablewareItems() + schema::shopArticleItems();
    items.replace(items.indexOf("Other"), "Other tableware");
    items.replace(items.indexOf("Tableware2"), "Tableware (shop article)");
    items.replace(items.indexOf("Other2"), "Other shop article");
    const QStringList header =
        QStringList{"Date"} + schema::ledgerDayAmounts() + items +
        QStringList{"Administration's subtotal", "Subtotal of the expenditure",
                    "Subtotal of the cash", "Difference", "Settlement total of every day"};
    EXPECT_EQ(records.front(), header);
    EXPECT_EQ(column(records, "Date"),
              QStringList({"2002/1/5", " 2002/01/06 ", "2002/1/15", "2002/9/30", "2002/10/1",
                           "Closing stock", "2002/2/30"}));
    EXPECT_TRUE(last.out.contains("Exported 7 days to ")) << last.out.toStdString();
    EXPECT_TRUE(last.out.contains("2 days whose Date is not a calendar day at the end"))
        << last.out.toStdString();
}

// Days stored far from calendar order, more than the export writes at once
// and some removed: every remaining day once, in calendar order, each with
// its own figures (the days are written from a scratch file, not held).
TEST_F(Export, ManyDaysStoredOutOfOrderComeInCalendarOrderEachWithItsFigures) {
    // The 900 days from March 1999, stored in a scrambled order, every
    // figure filled; one statement, since a row at a time would take long.
    const QDate first(1999, 3, 1);
    QStringList columns = {QStringLiteral("[Date]")};
    for (const QString& column : schema::ledgerDayAmounts()) columns << '[' + column + ']';
    QStringList rows;
    std::map<QDate, QString> expected;  // the day, its Turnover as written
    for (int i = 0; i < 900; ++i) {
        const QDate day = first.addDays((i * 337) % 900);
        const QString figure = QString::number(1000000.25 + i, 'f', 2);
        QStringList values = {'\'' + day.toString("yyyy/M/d") + '\''};
        for (qsizetype c = 0; c < schema::ledgerDayAmounts().size(); ++c) values << figure;
        rows << '(' + values.join(',') + ')';
        if (i % 97 != 0) expected[day] = figure;
    }
    db.exec(QStringLiteral("INSERT INTO [%1] (%2) VALUES %3")
                .arg(schema::kLedger, columns.join(','), rows.join(',')));
    // Some removed: their keys are gaps the export must step over.
    db.exec(QStringLiteral("DELETE FROM [%1] WHERE (rowid - 1) % 97 = 0").arg(schema::kLedger));

    const auto records = exported("days");
    const QStringList dates = column(records, "Date");
    const QStringList turnovers = column(records, "Turnover");
    ASSERT_EQ(dates.size(), static_cast<qsizetype>(expected.size()));
    qsizetype at = 0;
    for (const auto& [day, turnover] : expected) {
        EXPECT_EQ(dates[at], day.toString("yyyy/M/d")) << at;
        EXPECT_EQ(turnovers[at], turnover) << at;
        ++at;
    }
    EXPECT_TRUE(last.out.contains(QStringLiteral("Exported %1 days to ").arg(expected.size())))
        << last.out.toStdString();
}

// A day the month totals gather under "Undated" (a blank inside its date)
// is no calendar day in the days export either: the two exports agree.
TEST_F(Export, ADayTheMonthTotalsCannotPlaceIsUndatedInTheDaysToo) {
    addDay("2002 /2/12", {{"Turnover", 5}});
    addDay("2002/2/13", {{"Turnover", 7}});
    EXPECT_EQ(column(exported("days"), "Date"), QStringList({"2002/2/13", "2002 /2/12"}));
    EXPECT_TRUE(last.out.contains("1 day whose Date is not a calendar day"))
        << last.out.toStdString();
    const auto months = exported("months");
    EXPECT_EQ(column(months, "Month"), QStringList({"2002-02", "Undated"}));
    EXPECT_EQ(column(months, "Turnover"), QStringList({"7", "5"}));
}

struct AmountVector {
    QVariant stored;
    const char* shown;
};

TEST_F(Export, AmountsAreWrittenAsTheWindowsShowThem) {
    const AmountVector vectors[] = {
        {1.7976931348623157e308, "1.79769313486231E+308"},
        {-1.7976931348623157e308, "-1.79769313486231E+308"},
        {-5.0, "-5"},
        {0.1 + 0.2, "0.3"},
        {1234.5, "1234.5"},
        {123456789012345.6, "123456789012346"},
        {1e15, "1E+15"},
        {0.00001, "1E-05"},
        {0.0, "0"},
        {QVariant(), ""},
    };
    int day = 1;
    for (const AmountVector& v : vectors)
        db.insert(schema::kLedger, {"Date", "Rent"},
                  {QStringLiteral("2002/3/%1").arg(day++), v.stored});
    const QStringList rents = column(exported("days"), "Rent");
    ASSERT_EQ(rents.size(), std::size(vectors));
    for (size_t i = 0; i < std::size(vectors); ++i)
        EXPECT_EQ(rents[i], QString::fromLatin1(vectors[i].shown)) << i;
}

struct DayFigures {
    WindowTest::Amounts amounts;
    // Administration's subtotal, expenditure subtotal, cash subtotal,
    // difference, settlement total: worked by hand.
    QStringList figures;
};

// The figures the day sheet shows beside each day's amounts, so the
// accountant need not rebuild them; the purchases are taken off once.
TEST_F(Export, DaysCarryTheFiguresTheirSheetShows) {
    const DayFigures days[] = {
        {{}, {"0", "0", "0", "0", "0"}},
        {{{"Rent", 100}, {"Partner", 50}}, {"150", "0", "0", "0", "-150"}},
        {{{"Bread trader", 30},
          {"Turnover", 200},
          {"Small incidental money", 20},
          {"Accept cashes in fact", 175}},
         {"0", "30", "170", "5", "170"}},
        // Takings 620, purchases 119, costs 500.
        {{{"Rent", 300},
          {"Personnel rate", 200},
          {"Bread trader", 40},
          {"Egg", 29},
          {"Articles in the shop", 50},
          {"Turnover", 620},
          {"Accept cashes in fact", 600}},
         {"500", "119", "501", "99", "1"}},
        // Two amounts too large to add: the figures are left empty.
        {{{"Rent", 1e308}, {"Partner", 1e308}, {"Turnover", 5}}, {"", "", "", "", ""}},
    };
    int day = 1;
    for (const DayFigures& d : days) addDay(QStringLiteral("2002/3/%1").arg(day++), d.amounts);
    const auto records = exported("days");
    ASSERT_EQ(records.size(), std::size(days) + 1);
    for (size_t i = 0; i < std::size(days); ++i)
        EXPECT_EQ(records[i + 1].mid(records[0].size() - 5), days[i].figures) << i;
    EXPECT_EQ(column(records, "Turnover").last(), "5") << "the day's amounts are all there";
    EXPECT_TRUE(last.out.contains("1 day with figures beyond the range of a number, left empty"))
        << last.out.toStdString();
}

// Serial numbers as the spreadsheet must keep them (002 is not 2, 1-2 is no
// date); a month as a date it reads.
TEST_F(Export, SerialNumbersStayTextAndMonthsAreDates) {
    const QString long256(256, QLatin1Char('7'));
    const std::pair<QString, QString> serials[] = {
        {"002", "=\"002\""},   {"0012", "=\"0012\""}, {"1-2", "=\"1-2\""},
        {"A001", "=\"A001\""}, {"=1+1", "'=1+1"},     {"", ""},
        {long256, long256},
    };
    int day = 1;
    for (const auto& [stored, written] : serials) {
        addStaff(QStringLiteral("E%1").arg(day), 80.0, 100.0, stored);
        addWage(QStringLiteral("2002/%1/3").arg(day), QStringLiteral("E%1").arg(day), 1, 0, 0, 0,
                stored);
        ++day;
    }
    QStringList written;
    QStringList months;
    for (const auto& serial : serials) written << serial.second;
    for (int m = 1; m < day; ++m)
        months << QStringLiteral("2002-%1").arg(m, 2, 10, QLatin1Char('0'));
    EXPECT_EQ(column(exported("wages"), "Serial numbers"), written);
    const auto salaries = exported("salaries");
    EXPECT_EQ(column(salaries, "Serial numbers"), written);
    EXPECT_EQ(column(salaries, "Month"), months);
}

struct TextCell {
    const char* stored;
    const char* written;  // as the spreadsheet gets it
    const char* serial;   // the same as a serial number, kept exactly as text
};

// Staff type names; the accountant opens the file in a spreadsheet, which
// would run a text beginning with =, +, -, @, a tab or a carriage return as a
// formula. Such a text gets the spreadsheets' apostrophe; every other text
// is kept exactly (a serial number as a formula's text constant, which the
// spreadsheet shows as that very text), and amounts stay numbers, negative
// ones included.
TEST_F(Export, TextsASpreadsheetWouldRunAsAFormulaGetAnApostropheAndAmountsStayNumbers) {
    const TextCell cells[] = {
        {"=HYPERLINK(\"http://example.com/x\",\"click\")",
         "'=HYPERLINK(\"http://example.com/x\",\"click\")",
         "'=HYPERLINK(\"http://example.com/x\",\"click\")"},
        {"@SUM(A1:A9)", "'@SUM(A1:A9)", "'@SUM(A1:A9)"},
        {"+886 2 1234", "'+886 2 1234", "'+886 2 1234"},
        {"-Chen", "'-Chen", "'-Chen"},
        {"-12", "'-12", "'-12"},
        {"\tTab", "'\tTab", "'\tTab"},
        {"\rReturn", "'\rReturn", "'\rReturn"},
        {"Lee, \"Big\" Wan", "Lee, \"Big\" Wan", "=\"Lee, \"\"Big\"\" Wan\""},
        {"two\r\nlines", "two\r\nlines", "=\"two\r\nlines\""},
        {"a=b+c", "a=b+c", "=\"a=b+c\""},
        {" =1", " =1", "=\" =1\""},
        {"陳小明", "陳小明", "=\"陳小明\""},
    };
    QStringList stored, written, serials;
    int day = 1;
    for (const TextCell& c : cells) {
        stored << QString::fromUtf8(c.stored);
        written << QString::fromUtf8(c.written);
        serials << QString::fromUtf8(c.serial);
        addStaff(stored.back(), 80.0, 100.0, stored.back());
        addWage(QStringLiteral("2002/4/%1").arg(day++), stored.back(), -3, 0, 0, 0, stored.back());
    }
    const auto wages = exported("wages");
    EXPECT_EQ(column(wages, "Name"), written);
    EXPECT_EQ(column(wages, "Serial numbers"), serials);
    EXPECT_EQ(column(wages, "Main hour"), QStringList(written.size(), "-3"))
        << "a negative amount is a number, not a formula";

    const auto salaries = exported("salaries");
    ASSERT_EQ(salaries.size(), static_cast<size_t>(written.size()) + 1);
    QStringList names = column(salaries, "Name");
    names.sort();
    QStringList expected = written;
    expected.sort();
    EXPECT_EQ(names, expected);
    EXPECT_EQ(column(salaries, "Subtotal"), QStringList(written.size(), "-240"));
}

TEST_F(Export, AFieldHoldingOnlyALineFeedComesBackExactly) {
    addWage("2002/4/1", "\n", 8, 0, 0, 0, "\n");
    const auto records = exported("wages");
    EXPECT_EQ(column(records, "Name"), QStringList{"\n"});
    EXPECT_EQ(column(records, "Serial numbers"), QStringList{"=\"\n\""});
}

TEST_F(Export, FromAndToKeepTheDaysBetweenThemBothIncluded) {
    for (const char* day : {"2002/9/29", "2002/9/30", "Undated", "2002/10/1", "2002/10/2"})
        addDay(QString::fromLatin1(day));
    EXPECT_EQ(column(exported("days", {"--from", "2002/9/30", "--to", "2002/10/1"}), "Date"),
              QStringList({"2002/9/30", "2002/10/1"}));
    EXPECT_EQ(column(exported("days", {"--from", "2002/10/1"}), "Date"),
              QStringList({"2002/10/1", "2002/10/2"}));
    EXPECT_EQ(column(exported("days", {"--to", "2002/09/29"}), "Date"), QStringList({"2002/9/29"}));
    EXPECT_FALSE(last.out.contains("at the end")) << last.out.toStdString();
}

// The history's range is of the days the changes were made on.
TEST_F(Export, HistoryFromAndToKeepTheChangesMadeOnTheDaysBetweenThemBothIncluded) {
    const qint64 day = addDay("2026/12/9", {{"Egg", 91}});
    for (int egg : {19, 20, 21})
        db.exec(QStringLiteral("UPDATE \"daily settlement of accounts\" SET Egg = %1 WHERE "
                               "rowid = %2")
                    .arg(egg)
                    .arg(day));
    const auto keys = db.query("SELECT \"Row key\" FROM \"History\" ORDER BY \"Row key\"");
    ASSERT_EQ(keys.size(), 4u);
    const char* whens[] = {"2026-11-30 23:59:59", "2026-12-01 00:00:00", "2026-12-31 23:59:59",
                           "2027-01-01 00:00:00"};
    for (int i = 0; i < 4; ++i)
        db.exec(QStringLiteral("UPDATE \"History\" SET \"When\" = '%1' WHERE \"Row key\" = %2")
                    .arg(QLatin1String(whens[i]))
                    .arg(keys[size_t(i)][0].toLongLong()));
    QFile::remove(outputPath());
    last = runTool({"history", db.path(), "--from", "2026/12/1", "--to", "2026/12/31", "--output",
                    outputPath()});
    ASSERT_EQ(last.exitCode, 0) << last.err.toStdString();
    EXPECT_TRUE(last.out.contains("2 recorded changes written to")) << last.out.toStdString();
    QFile written(outputPath());
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    const CsvDocument doc = readCsv(written.readAll());
    EXPECT_TRUE(doc.wellFormed);
    EXPECT_EQ(column(doc.records, "When"), QStringList({whens[1], whens[2]}));
    EXPECT_EQ(column(doc.records, "Old"), QStringList({"91", "19"}));
    EXPECT_EQ(column(doc.records, "New"), QStringList({"19", "20"}));
}

TEST_F(Export, MonthsFollowTheMonthSheetInCalendarOrderAndARangeKeepsMonthsItTouches) {
    addDay("2003/1/4", {{"Rent", 7}});
    addDay("2002/10/1", {{"Rent", 100}, {"Turnover", 1000}});
    addDay("2002/9/30", {{"Rent", 50}});
    addDay("no date", {{"Rent", 1}});
    addDay("2002/10/31", {{"Rent", 0.5}});
    const auto records = exported("months");
    ASSERT_FALSE(records.empty());
    // Each month's total under the days' name for it, the month as a date.
    EXPECT_EQ(records.front(), QStringList{"Month"} + schema::ledgerDayAmounts());
    EXPECT_EQ(column(records, "Month"), QStringList({"2002-09", "2002-10", "2003-01", "Undated"}));
    EXPECT_EQ(column(records, "Rent"), QStringList({"50", "100.5", "7", "1"}));
    EXPECT_EQ(column(records, "Turnover"), QStringList({"", "1000", "", ""}));
    EXPECT_TRUE(last.out.contains("1 month whose month is not a calendar month at the end"))
        << last.out.toStdString();

    EXPECT_EQ(column(exported("months", {"--from", "2002/9/30", "--to", "2002/10/1"}), "Month"),
              QStringList({"2002-09", "2002-10"}));
    EXPECT_EQ(column(exported("months", {"--from", "2002/11/1", "--to", "2002/12/31"}), "Month"),
              QStringList());
}

// ------------------------------------------------------------ salaries

QStringList salaryHeader() {
    return {"Name",
            "Serial numbers",
            "Month",
            "Salary hour",
            "Overtime salary hour",
            "Main hour",
            "Work overtime",
            "Subtotal",
            "Insurance",
            "Absent-Deduct",
            "Deductions",
            "The salary gotten actually"};
}

TEST_F(Export, TheShopsExampleMonthGivesItsSubtotalDeductionsAndSalary) {
    addStaff("Tovena", 80.0, 100.0);
    addExampleMonth();
    const auto records = exported("salaries");
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[0], salaryHeader());
    EXPECT_EQ(records[1], QStringList({"Tovena", "=\"A001\"", "2002-12", "80", "100", "160", "10",
                                       "13800", "600", "200", "800", "13000"}));
}

TEST_F(Export, SalariesUseTheRegistersCurrentRatesNotThoseOfTheWageRows) {
    addStaff("Tovena", 95.5, 120.0);
    addWage("2002/11/4", "Tovena", 12.5, 1.5, 0, 0);
    const auto records = exported("salaries");
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[1].mid(3, 5), QStringList({"95.5", "120", "12.5", "1.5", "1373.75"}));
    EXPECT_EQ(records[1].last(), "1373.75");
}

// "Chen" is the start of "Chen Ya-ting", who stands first in the register:
// each is priced at their own rates. Worked by hand: Chen 70 x 10 h + 90 x
// 2 h = 880; Chen Ya-ting 90 x 10 h + 110 x 1 h - 30 = 980.
TEST_F(Export, ANameThatStartsAnotherNameIsPricedAtItsOwnRates) {
    addStaff("Chen Ya-ting", 90.0, 110.0, "A002");
    addStaff("Chen", 70.0, 90.0, "A003");
    addWage("2002/12/2", "Chen", 10, 2, 0, 0, "A003");
    addWage("2002/12/2", "Chen Ya-ting", 10, 1, 30, 0, "A002");
    const auto records = exported("salaries");
    ASSERT_EQ(records.size(), 3u);
    QMap<QString, QStringList> byName;
    for (size_t i = 1; i < records.size(); ++i) byName[records[i][0]] = records[i];
    EXPECT_EQ(byName["Chen"].mid(3, 2), QStringList({"70", "90"}));
    EXPECT_EQ(byName["Chen"].last(), "880");
    EXPECT_EQ(byName["Chen Ya-ting"].mid(3, 2), QStringList({"90", "110"}));
    EXPECT_EQ(byName["Chen Ya-ting"].last(), "980");
}

// A monthly pay the wage rows record is counted in its employee's month
// only (and an undated one in the "Undated" month). Worked by hand: Lee
// 50 x 4 h + 24000 - 500 = 23700 in December, 24000 in November, 1000
// undated; Tovena 80 x 10 h = 800 beside him.
TEST_F(Export, AMonthlyPayTheWageRowsRecordIsInItsMonthsSubtotal) {
    addStaff("Lee", 50.0, 60.0, "A004");
    addStaff("Tovena", 80.0, 100.0);
    const QStringList columns = {"Date",      "Serial numbers", "Name",
                                 "Main hour", "Insurance",      "Monthly pay"};
    for (const std::vector<QVariant>& row :
         {std::vector<QVariant>{"2002/11/1", "A004", "Lee", QVariant(), QVariant(), 24000.0},
          {"2002/12/2", "A004", "Lee", QVariant(), 500.0, 24000.0},
          {"2002/12/9", "A004", "Lee", 4.0, QVariant(), QVariant()},
          {"2002/12/9", "A001", "Tovena", 10.0, QVariant(), QVariant()},
          {"2002/2/30", "A004", "Lee", QVariant(), QVariant(), 1000.0}})
        db.insert(schema::kWages, columns, row);
    const auto records = exported("salaries");
    ASSERT_EQ(records.size(), 5u);
    QStringList lines;
    for (size_t i = 1; i < records.size(); ++i)
        lines << records[i][2] + " " + records[i][0] + " " + records[i][7] + " " + records[i][10] +
                     " " + records[i][11];
    EXPECT_EQ(lines, QStringList({"2002-11 Lee 24000 0 24000", "2002-12 Lee 24200 500 23700",
                                  "2002-12 Tovena 800 0 800", "Undated Lee 1000 0 1000"}));
}

TEST_F(Export, SalariesComeByMonthThenInTheQuerysOrderWithUnknownEmployeesLeftUnpriced) {
    addStaff("Tovena", 80.0, 100.0);
    addStaff("Lin", 90.0, 110.0, "A002");
    addWage("2002/12/2", "Tovena", 10, 0, 5, 0);
    addWage("2002/11/5", "Tovena", 10, 0, 0, 0);
    addWage("2002/12/3", "Lin", 10, 1, 0, 0, "A002");
    addWage("2002/12/3", "Ghost", 10, 0, 30, 20, "X9");
    const auto records = exported("salaries");
    ASSERT_EQ(records.size(), 5u);
    QStringList order;
    for (size_t i = 1; i < records.size(); ++i) order << records[i][2] + " " + records[i][0];
    EXPECT_EQ(order,
              QStringList({"2002-11 Tovena", "2002-12 Ghost", "2002-12 Lin", "2002-12 Tovena"}));
    // No staff row, so no rates: nothing is priced, the deductions still are.
    EXPECT_EQ(records[2], QStringList({"Ghost", "=\"X9\"", "2002-12", "", "", "10", "0", "", "30",
                                       "20", "50", ""}));
    EXPECT_EQ(records[3].last(), "1010");
    EXPECT_EQ(records[4].last(), "795");
    EXPECT_TRUE(last.out.contains("1 salary without rates")) << last.out.toStdString();
}

TEST_F(Export, SalariesMatchTheSalaryWindowRowForRowOnTheDemoShop) {
    TempDatabase demo(true);  // the program folder now points at the demo shop
    const QString file = outputPath();
    last = runTool({"export", demo.path(), "salaries", "--output", file});
    ASSERT_EQ(last.exitCode, 0) << last.err.toStdString();
    QFile written(file);
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    const auto records = readCsv(written.readAll()).records;

    // Every row the window shows, stepped through with its bar.
    salary::registerWindows();
    auto* window = qobject_cast<salary::Form7*>(forms::FormWindow::loadWindow("Form7"));
    ASSERT_NE(window, nullptr);
    const int rows =
        demo.scalar(QStringLiteral("SELECT COUNT(*) FROM \"%1\"").arg(schema::kMonthWages)).toInt();
    ASSERT_GT(rows, 3);
    ASSERT_EQ(records.size(), static_cast<size_t>(rows) + 1);
    QStringList onScreen, inExport;
    for (int i = 0; i < rows; ++i) {
        // The window shows the month as 2002/12, the export as a date.
        const auto month = ledger::wageMonth(text(window, "Text1"));
        ASSERT_TRUE(month) << text(window, "Text1").toStdString();
        onScreen << QStringList({text(window, "Text3"), month->first.toString("yyyy-MM"),
                                 text(window, "Text4"), text(window, "Text5"),
                                 text(window, "Label12"), text(window, "Label14"),
                                 text(window, "Label13")})
                        .join('|');
        pressBar(window, "Next", "Data2");
    }
    for (size_t i = 1; i < records.size(); ++i) {
        const QStringList& r = records[i];
        inExport << QStringList({r[0], r[2], r[3], r[4], r[7], r[10], r[11]}).join('|');
    }
    closeWindows();  // before the demo shop's file goes
    onScreen.sort();
    inExport.sort();
    EXPECT_EQ(inExport, onScreen);
}

TEST_F(Export, ASalaryBeyondTheRangeOfANumberFailsAndWritesNothing) {
    addStaff("Tovena", 1e308, 100.0);
    addExampleMonth();
    const ToolRun run = runTool({"export", db.path(), "salaries", "--output", outputPath()});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.err.contains("Cannot compute the salary of Tovena for 2002/12"))
        << run.err.toStdString();
    EXPECT_FALSE(QFile::exists(outputPath()));
}

// The arithmetic the window and the export share, on the texts the window
// shows: each figure is read back from the text of the one before.
TEST(SalaryRules, ComputeFromTheFiguresAsShown) {
    struct Vector {
        salary::MonthSalaryFields shown;
        const char* expected;  // subtotal deductions salary
    };
    const Vector vectors[] = {
        {{"80", "100", "160", "10", "600", "200"}, "13800 800 13000"},
        {{"10", "10", "1", "1", "50", ""}, "20 50 -30"},
        {{"abc", "100", "160", "2x", "6OO", ""}, "200 6 194"},
        {{"0.1", "0.2", "1", "1", "0.1", "0.2"}, "0.3 0.3 0"},
        // 15 digits on screen: the salary is the difference of what is shown.
        {{"1", "0", "100000000000000.4", "0", "0.4", "0"}, "100000000000000 0.4 99999999999999.6"},
        // The monthly pay the month's wage rows record joins the subtotal.
        {{"80", "100", "160", "10", "600", "200", "24000"}, "37800 800 37000"},
        {{"", "", "", "", "", "", "24000"}, "24000 0 24000"},
        {{"0", "0", "0", "0", "1.5", "0", "30000.4"}, "30000.4 1.5 29998.9"},
    };
    for (const Vector& v : vectors) {
        const salary::MonthSalaryFigures f = salary::monthSalary(v.shown);
        EXPECT_EQ(f.subtotal + " " + f.deductions + " " + f.actualSalary, v.expected);
    }
    EXPECT_THROW(salary::monthSalary({"1E+308", "1E+308", "10", "10", "", ""}),
                 ledger::LedgerError);
}

// ------------------------------------------------------------ the command

TEST_F(Export, StandardOutputGetsTheCsvAndStandardErrorTheSummary) {
    addDay("2002/9/30", {{"Rent", 5}});
    QProcess tool;
    tool.start(QStringLiteral(TALLOWBROOK_DB_PATH), {"export", db.path(), "days"});
    ASSERT_TRUE(tool.waitForFinished(60000));
    EXPECT_EQ(tool.exitCode(), 0);
    const QByteArray bytes = tool.readAllStandardOutput();
    EXPECT_TRUE(
        bytes.startsWith("\xEF\xBB\xBF"
                         "Date,Rent,"))
        << bytes.left(40).toStdString();
    EXPECT_TRUE(bytes.endsWith("\r\n"));
    const CsvDocument doc = readCsv(bytes);
    EXPECT_EQ(doc.bareLineBreaks, 0);
    ASSERT_EQ(doc.records.size(), 2u);
    EXPECT_EQ(doc.records[1].mid(0, 2), QStringList({"2002/9/30", "5"}));
    EXPECT_TRUE(QString::fromUtf8(tool.readAllStandardError())
                    .contains("Exported 1 day to standard output."));
}

struct Refusal {
    QStringList arguments;  // after "export DB"; "OUT" stands for the output file
    int exitCode;
    const char* message;
};

TEST_F(Export, WrongUsageAndUnsafeOutputsAreRefusedAndNothingIsWritten) {
    addDay("2002/9/30", {{"Rent", 5}});
    const Refusal refusals[] = {
        {{"day"}, 2, "WHAT is one of days, months, wages, salaries"},
        {{"days", "--from", "2002/13/1"}, 2, "--from '2002/13/1' is not a day"},
        {{"days", "--to", "2002/2/30"}, 2, "--to '2002/2/30' is not a day"},
        {{"days", "--from", "2002-9-30"}, 2, "write it as year/month/day"},
        {{"days", "--from", "2002/10/1", "--to", "2002/9/30"}, 2, "is after --to"},
        {{"days", "--output", ""}, 2, "--output needs a file name"},
        {{"days", "--output", "OUT", "--output", "OUT"}, 2, "more than once"},
        {{"days", "--force"}, 2, "--force applies to "},
        {{"days", "--output", "DB"}, 1, "is the database being exported"},
        {{"days", "--output", "NOFOLDER"}, 1, "Nothing was exported"},
    };
    const QByteArray before = [&] {
        QFile f(db.path());
        f.open(QIODevice::ReadOnly);
        return f.readAll();
    }();
    for (const Refusal& r : refusals) {
        QStringList arguments = {"export", db.path()};
        for (const QString& a : r.arguments)
            arguments << (a == "OUT"        ? outputPath()
                          : a == "DB"       ? db.path()
                          : a == "NOFOLDER" ? outputPath("missing/export.csv")
                                            : a);
        const ToolRun run = runTool(arguments);
        EXPECT_EQ(run.exitCode, r.exitCode) << arguments.join(' ').toStdString();
        EXPECT_TRUE(run.err.contains(QString::fromUtf8(r.message)))
            << arguments.join(' ').toStdString() << "\n"
            << run.err.toStdString();
        EXPECT_TRUE(run.out.isEmpty()) << run.out.toStdString();
    }
    EXPECT_FALSE(QFile::exists(outputPath()));
    QFile after(db.path());
    ASSERT_TRUE(after.open(QIODevice::ReadOnly));
    EXPECT_EQ(after.readAll(), before) << "the database is untouched";
}

TEST_F(Export, OptionsAreRefusedByCommandsThatDoNotTakeThemAndShownInTheHelp) {
    const ToolRun check = runTool({"check", db.path(), "--from", "2002/9/30"});
    EXPECT_EQ(check.exitCode, 2);
    EXPECT_TRUE(check.err.contains("--from applies to export and history only"))
        << check.err.toStdString();
    const ToolRun help = runTool({"--help"});
    EXPECT_TRUE(help.out.contains("export [PATH] WHAT [--from YYYY/M/D]"))
        << help.out.toStdString();
    EXPECT_TRUE(help.out.contains("--output <FILE>")) << help.out.toStdString();
}

TEST_F(Export, AMissingDatabaseOrOneWithoutTheSavedQueryFailsWithOneMessage) {
    const ToolRun missing =
        runTool({"export", outputPath("nothing.mdb"), "days", "--output", outputPath()});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_TRUE(missing.err.contains("does not exist")) << missing.err.toStdString();

    db.exec(QStringLiteral("DROP VIEW \"%1\"").arg(schema::kMonthWages));
    const ToolRun noQuery = runTool({"export", db.path(), "salaries", "--output", outputPath()});
    EXPECT_EQ(noQuery.exitCode, 1);
    EXPECT_TRUE(noQuery.err.contains(schema::kMonthWages)) << noQuery.err.toStdString();
    EXPECT_FALSE(QFile::exists(outputPath()));
}

TEST_F(Export, AnEarlierExportIsReplacedWhole) {
    addDay("2002/9/30");
    QFile old(outputPath());
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write(QByteArray(100000, 'x'));
    old.close();
    const auto records = exported("days");
    EXPECT_EQ(records.size(), 2u);
    EXPECT_LT(QFileInfo(outputPath()).size(), 1000);
}

// A failed write is a failure: the earlier export stays as it was, nothing
// half-written takes its name, the exit status and the message say why.
class FailedExport : public Export {
protected:
    void SetUp() override {
        Export::SetUp();
        for (int day = 1; day <= 28; ++day)
            addWage(QStringLiteral("2002/2/%1").arg(day), "Tovena", 8, 1, 0, 0);
    }
    // Writes the earlier, complete export into `file`.
    QByteArray earlierExport(const QString& file) {
        const ToolRun first = runTool({"export", db.path(), "wages", "--output", file});
        EXPECT_EQ(first.exitCode, 0) << first.err.toStdString();
        return readAll(file);
    }
    static QByteArray readAll(const QString& file) {
        QFile f(file);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    static void expectFailureSaid(const ToolRun& run, const char* reason) {
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_TRUE(run.err.contains(reason)) << run.err.toStdString();
        EXPECT_TRUE(run.err.contains("Nothing was exported; the earlier file is left as it was"))
            << run.err.toStdString();
        EXPECT_FALSE(run.out.contains("Exported")) << run.out.toStdString();
    }
};

TEST_F(FailedExport, OnAFullDiskTheEarlierExportIsLeftAsItWas) {
    const SmallDisk disk;
    if (!disk.mounted())
        GTEST_SKIP() << "cannot mount a small disk here: " << disk.why().toStdString();
    const QString file = disk.filePath("wages.csv");
    const QByteArray before = earlierExport(file);
    ASSERT_GT(before.size(), 1000);
    addWage("2002/3/1", "Tovena", 8, 1, 0, 0);
    disk.fill();
    expectFailureSaid(runTool({"export", db.path(), "wages", "--output", file}),
                      "No space left on device");
    EXPECT_EQ(readAll(file), before);
    EXPECT_EQ(QDir(QFileInfo(file).path()).entryList(QDir::Files | QDir::Hidden),
              QStringList({"filler", "wages.csv"}));
}

// The same where no disk can be mounted: the file may grow no further than
// a few hundred bytes, so a write fails as on a full disk.
TEST_F(FailedExport, AWriteThatFailsLeavesTheEarlierExportAsItWas) {
    const QString file = outputPath("wages.csv");
    const QByteArray before = earlierExport(file);
    ASSERT_GT(before.size(), 1000);
    addWage("2002/3/1", "Tovena", 8, 1, 0, 0);
    ToolSetting small;
    small.fileSizeLimit = 500;
    expectFailureSaid(runTool({"export", db.path(), "wages", "--output", file}, {}, small),
                      "File too large");
    EXPECT_EQ(readAll(file), before);
    EXPECT_EQ(QDir(out.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"wages.csv"});
}

TEST_F(FailedExport, StandardOutputThatCannotBeWrittenFails) {
    QProcess tool;
    tool.setStandardOutputFile("/dev/full");
    tool.start(QStringLiteral(TALLOWBROOK_DB_PATH), {"export", db.path(), "wages"});
    ASSERT_TRUE(tool.waitForFinished(60000));
    EXPECT_EQ(tool.exitCode(), 1);
    const QString said = QString::fromUtf8(tool.readAllStandardError());
    EXPECT_TRUE(said.contains("Cannot write to standard output")) << said.toStdString();
    EXPECT_FALSE(said.contains("Exported")) << said.toStdString();
}

TEST_F(Export, ANewExportIsTheOwnersAloneAndAReplacedOneKeepsItsPermissions) {
    addDay("2002/9/30");
    const QString file = outputPath("days.csv");
    ASSERT_EQ(runTool({"export", db.path(), "days", "--output", file}).exitCode, 0);
    EXPECT_EQ(QFileInfo(file).permissions() & 0x0777, QFile::ReadUser | QFile::WriteUser);
    const QFile::Permissions shared = QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser |
                                      QFile::WriteUser | QFile::ReadGroup;
    ASSERT_TRUE(QFile::setPermissions(file, shared));
    ASSERT_EQ(runTool({"export", db.path(), "days", "--output", file}).exitCode, 0);
    EXPECT_EQ(QFileInfo(file).permissions(), shared);
}

}  // namespace
