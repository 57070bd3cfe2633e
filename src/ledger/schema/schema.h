// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>
#include <vector>

namespace ledger::schema {

// Names of the database file's tables, saved queries and columns, letter for
// letter as the file holds them (CJK characters and odd spacing included).

inline const QString kFileName = QStringLiteral("breakfast.mdb");

inline const QString kLedger = QStringLiteral("daily settlement of accounts");
inline const QString kStaff = QStringLiteral("Materials forms of staff");
inline const QString kWages = QStringLiteral("The staff calculate wages");
inline const QString kSelect = QStringLiteral("Select");
inline const QString kMonthTotals = QStringLiteral("daily settlement of accounts -Inquiry");
inline const QString kMonthWages = QStringLiteral("\u67E5\u8A62");  // 查詢
inline const QString kInquiryDetail = QStringLiteral("Inquiry detail");

// A wage row's own record of the monthly pay its Save added to the day in
// place of the wage by the hour; empty for a wage by the hour. Added by
// this version (Column::addedLater).
inline const QString kWageMonthlyPay = QStringLiteral("Monthly pay");

// The first column of every table in files made from now on: the row's key,
// an integer the file hands out once and never again (not even after the row
// with the highest key is deleted), which maintenance such as VACUUM keeps.
// Record sources never show it. Files made before have no such column; their
// rows keep SQLite's own row numbers as keys, as they always had.
inline const QString kRowKey = QStringLiteral("Row key");

enum class Kind { Day, Text, Amount };

struct Column {
    QString name;
    Kind kind;
    // A column this version added: books made by earlier versions lack it
    // and keep working without it (their checks never ask for it);
    // `tallowbrook-db check` adds it to them.
    bool addedLater = false;
};

struct Table {
    QString name;
    std::vector<Column> columns;
};

struct SavedQuery {
    QString name;
    QStringList columns;
};

// The 23 ledger amount columns that the daily window binds, in field order,
// and the 20 item columns of the two supply sheets.
const QStringList& ledgerDayAmounts();
const QStringList& tablewareItems();
const QStringList& shopArticleItems();

// Name of the month-totals column that sums a ledger column: the first 19
// have blanks around 之, the last four none.
QString monthTotalOf(const QString& ledgerColumn);

// A saved query whose rows the ledger keeps, ready, in a table of its own:
// triggers add every change of the rows it adds up to the kept rows in the
// same transaction (whichever program makes it), so a window reads a few
// hundred month rows instead of adding up every day each time it opens.
// The saved query itself stays as it is; the kept rows equal its rows, in
// its order. Ledgers made by earlier versions keep none until
// `tallowbrook-db check` makes them; their saved queries are read as such.
struct KeptTotals {
    QString savedQuery;        // whose rows are kept
    QString table;             // where they are kept
    QString source;            // the table they add up, one row per month (and group)
    QString monthColumn;       // the saved query's month, as text
    bool sheetMonths = true;   // "12/ 2002" (the month sheet's form); else "2002/12"
    QStringList groupColumns;  // besides the month: source columns the rows are apart by
    QStringList summed;        // source columns added up
    QStringList totals;        // the saved query's names for their totals
    QStringList queryColumns;  // the saved query's columns, in its order
};
// The kept table's own column: the month as a number that sorts as the
// calendar does (ledger/calendar), the undated ones last.
inline const QString kMonthNumber = QStringLiteral("Month number");

const std::vector<KeptTotals>& keptTotals();
const KeptTotals* keptTotalsOf(const QString& savedQuery);  // case-insensitive
// The triggers that keep a kept table, as a file's and a server's
// catalogue name them: without every one of them the kept rows may be
// behind, and the saved query is read instead.
QStringList keptFileTriggers(const KeptTotals& kept);
QStringList keptServerTriggers(const KeptTotals& kept);
// On a file, the table where a row about to be replaced by another
// program's INSERT OR REPLACE notes its month (and group): SQLite removes
// such a row without its delete trigger (unless that program's connection
// asked for recursive triggers), so the insert counts the noted month
// again. Empty but for that moment.
QString keptFileNotes(const KeptTotals& kept);

// The books' own record of every change of the shop's tables: one row of
// kHistory per row added, changed or removed (when, which till, which
// member of staff, which row), and one row of kHistoryValues per column it
// changed, with the value before and after. Kept by triggers in the same
// transaction as the change, whichever program makes it; a password is
// never recorded, only that it changed (kPasswordChanged).
inline const QString kHistory = QStringLiteral("History");
inline const QString kHistoryValues = QStringLiteral("History values");
inline const QString kPasswordChanged = QStringLiteral("password changed");
// What a change recorded without a till of this program is shown as.
inline const QString kAnotherProgram = QStringLiteral("another program");
// The tables whose changes are recorded.
const QStringList& recordedTables();
// The triggers that record a table's changes, as a file's and a server's
// catalogue name them.
QStringList historyFileTriggers(const QString& table);
QStringList historyServerTriggers(const QString& table);

// On a server, the count of removals the books keep for each of the shop's
// tables: a sequence that every DELETE and TRUNCATE of the table moves, by
// its two triggers, whichever program runs it. A refresh reads it to learn
// whether rows may have gone, instead of counting every row. Books made
// before it was kept have none, and their rows are counted.
QString removalCounter(const QString& table);
QStringList removalServerTriggers();

const std::vector<Table>& tables();
const std::vector<SavedQuery>& savedQueries();
const Table* findTable(const QString& name);                        // case-insensitive
const Column* findColumn(const Table& table, const QString& name);  // case-insensitive

}  // namespace ledger::schema
