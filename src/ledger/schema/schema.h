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

const std::vector<Table>& tables();
const std::vector<SavedQuery>& savedQueries();
const Table* findTable(const QString& name);                        // case-insensitive
const Column* findColumn(const Table& table, const QString& name);  // case-insensitive

}  // namespace ledger::schema
