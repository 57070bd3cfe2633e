// SPDX-License-Identifier: GPL-3.0-or-later
#include "ledger/schema/schema.h"

namespace ledger::schema {

namespace {

QString suffixedTotal(const QString& column, bool spaced) {
    // 之 總計 / 之總計: "total of"
    return spaced ? column + QStringLiteral(" \u4E4B \u7E3D\u8A08")
                  : column + QStringLiteral("\u4E4B\u7E3D\u8A08");
}

std::vector<Column> amounts(const QStringList& names) {
    std::vector<Column> out;
    for (const auto& n : names) out.push_back({n, Kind::Amount});
    return out;
}

}  // namespace

const QStringList& ledgerDayAmounts() {
    static const QStringList names = {"Rent",
                                      "Partner",
                                      "Electric rate",
                                      "Telephone rate",
                                      "Water rate",
                                      "Personnel rate",
                                      "Income tax",
                                      "Board expenses",
                                      "Main payment",
                                      "Insurance",
                                      "Bread trader",
                                      "General materials",
                                      "Noodles",
                                      "Fruit",
                                      "Egg",
                                      "Gas",
                                      "Beverage",
                                      "Miscellaneous",
                                      "Tableware",
                                      "Articles in the shop",
                                      "Turnover",
                                      "Small incidental money",
                                      "Accept cashes in fact"};
    return names;
}

const QStringList& tablewareItems() {
    static const QStringList names = {"Soup cup",   "Beverage cup", "Coffee cup", "Soup spoon",
                                      "Chopsticks", "Toothpick",    "Meal box",   "Rubber band",
                                      "Meal paper", "Other"};
    return names;
}

const QStringList& shopArticleItems() {
    static const QStringList names = {"Cup",
                                      "Bowl",
                                      "Dish",
                                      "Tableware2",
                                      "Oven",
                                      "Coffee machine",
                                      "Fruit juice mixer",
                                      "Electric equipment",
                                      "Sanitizer",
                                      "Other2"};
    return names;
}

QString monthTotalOf(const QString& ledgerColumn) {
    static const QStringList unspaced = {"Articles in the shop", "Turnover",
                                         "Small incidental money", "Accept cashes in fact"};
    return suffixedTotal(ledgerColumn, !unspaced.contains(ledgerColumn));
}

const std::vector<Table>& tables() {
    static const std::vector<Table> all = [] {
        std::vector<Table> t;

        Table ledger{kLedger, {{"Date", Kind::Day}}};
        for (const auto& c : amounts(ledgerDayAmounts())) ledger.columns.push_back(c);
        for (const auto& c : amounts(tablewareItems())) ledger.columns.push_back(c);
        for (const auto& c : amounts(shopArticleItems())) ledger.columns.push_back(c);
        t.push_back(ledger);

        t.push_back({kStaff,
                     {{"Serial numbers", Kind::Text},
                      {"Name", Kind::Text},
                      {"Password", Kind::Text},
                      {"Telephone", Kind::Text},
                      {"Cell phone", Kind::Text},
                      {"Fax", Kind::Text},
                      {"ID card number", Kind::Text},
                      {"Address", Kind::Text},
                      {"Position", Kind::Text},
                      {"Contact", Kind::Text},
                      {"Salary hour", Kind::Amount},
                      {"Overtime salary hour", Kind::Amount},
                      {"Assume office on day", Kind::Text},
                      {"Leave office on day", Kind::Text},
                      {"Monthly pay", Kind::Amount}}});

        t.push_back({kWages,
                     {{"Date", Kind::Day},
                      {"Serial numbers", Kind::Text},
                      {"Name", Kind::Text},
                      {"Salary hour", Kind::Amount},
                      {"Overtime salary hour", Kind::Amount},
                      {"Main hour", Kind::Amount},
                      {"Work overtime", Kind::Amount},
                      {"Ask for leave", Kind::Text},
                      {"Absent", Kind::Text},
                      {"Insurance", Kind::Amount},
                      {"Absent-Deduct", Kind::Amount},
                      {kWageMonthlyPay, Kind::Amount, true}}});

        t.push_back(
            {kSelect,
             {{"Ask for leave", Kind::Text}, {"Absent", Kind::Text}, {"Vacate", Kind::Text}}});
        return t;
    }();
    return all;
}

const std::vector<SavedQuery>& savedQueries() {
    static const std::vector<SavedQuery> all = [] {
        std::vector<SavedQuery> q;
        QStringList monthColumns = {"Date per month"};
        // Field order of the month sheet: administration, expenditure, income,
        // then the cash counted.
        for (const auto& c : ledgerDayAmounts()) monthColumns << monthTotalOf(c);
        q.push_back({kMonthTotals, monthColumns});
        q.push_back({kMonthWages,
                     {QStringLiteral("Date /\u6708"), "Name", "Serial numbers",
                      suffixedTotal("Main hour", false), suffixedTotal("Work overtime", false),
                      suffixedTotal("Insurance", false), suffixedTotal("Absent-Deduct", false)}});
        q.push_back({kInquiryDetail,
                     {"Date", "Name", "Serial numbers", "Main hour", "Work overtime", "Absent",
                      "Ask for leave", "Daily settlement of accounts"}});
        return q;
    }();
    return all;
}

const std::vector<KeptTotals>& keptTotals() {
    static const std::vector<KeptTotals> all = [] {
        std::vector<KeptTotals> kept;
        const QStringList monthColumns = savedQueries()[0].columns;
        kept.push_back({kMonthTotals,
                        QStringLiteral("Month totals"),
                        kLedger,
                        monthColumns.first(),
                        true,
                        {},
                        ledgerDayAmounts(),
                        monthColumns.mid(1),
                        monthColumns});
        const QStringList wageColumns = savedQueries()[1].columns;
        kept.push_back({kMonthWages,
                        QStringLiteral("Wage month totals"),
                        kWages,
                        wageColumns.first(),
                        false,
                        {QStringLiteral("Name"), QStringLiteral("Serial numbers")},
                        {QStringLiteral("Main hour"), QStringLiteral("Work overtime"),
                         QStringLiteral("Insurance"), QStringLiteral("Absent-Deduct")},
                        wageColumns.mid(3),
                        wageColumns});
        return kept;
    }();
    return all;
}

const KeptTotals* keptTotalsOf(const QString& savedQuery) {
    for (const KeptTotals& kept : keptTotals())
        if (kept.savedQuery.compare(savedQuery, Qt::CaseInsensitive) == 0) return &kept;
    return nullptr;
}

QStringList keptFileTriggers(const KeptTotals& kept) {
    return {kept.table + QStringLiteral(": a row added"),
            kept.table + QStringLiteral(": a row removed"),
            kept.table + QStringLiteral(": a row changed"),
            kept.table + QStringLiteral(": a row about to be replaced"),
            kept.table + QStringLiteral(": a replaced row's month")};
}

QString keptFileNotes(const KeptTotals& kept) {
    return kept.table + QStringLiteral(": months to count again");
}

const QStringList& recordedTables() {
    static const QStringList all{kLedger, kStaff, kWages};
    return all;
}

QStringList historyFileTriggers(const QString& table) {
    return {table + QStringLiteral(": history of a row added"),
            table + QStringLiteral(": history of a row changed"),
            table + QStringLiteral(": history of a row removed")};
}

QStringList historyServerTriggers(const QString& table) {
    (void)table;
    return {QStringLiteral("History: a row added, changed or removed")};
}

QString removalCounter(const QString& table) { return table + QStringLiteral(": removals"); }

QStringList removalServerTriggers() {
    return {QStringLiteral("Removals: rows removed"),
            QStringLiteral("Removals: every row removed")};
}

QStringList keptServerTriggers(const KeptTotals& kept) {
    return {kept.table + QStringLiteral(": a row added, removed or changed"),
            kept.table + QStringLiteral(": every row removed")};
}

const Table* findTable(const QString& name) {
    for (const auto& t : tables())
        if (t.name.compare(name, Qt::CaseInsensitive) == 0) return &t;
    return nullptr;
}

const Column* findColumn(const Table& table, const QString& name) {
    for (const Column& column : table.columns)
        if (column.name.compare(name, Qt::CaseInsensitive) == 0) return &column;
    return nullptr;
}

}  // namespace ledger::schema
