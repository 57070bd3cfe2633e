// SPDX-License-Identifier: GPL-3.0-or-later
#include <QDate>
#include <cmath>
#include <cstdint>
#include <map>
#include <vector>

#include "ledger/credentials/staff_password.h"
#include "ledger/schema/schema.h"
#include "ledger/store/source_info.h"
#include "ledger/store/sqlite/sqlite_statements.h"
#include "setup/schema_builder.h"

namespace setup {

namespace schema = ledger::schema;
namespace statements = ledger::statements;

namespace {

// A small fixed-seed generator of our own: the same demo file on every
// machine and every library version.
class Dice {
public:
    int between(int low, int high) {
        state_ = state_ * 1664525u + 1013904223u;
        return low + static_cast<int>((state_ >> 8) % static_cast<std::uint32_t>(high - low + 1));
    }
    bool chance(int percent) { return between(1, 100) <= percent; }
    // A shop amount: whole dollars in steps of `step`.
    double amount(int low, int high, int step = 10) {
        return between(low / step, high / step) * step;
    }

private:
    std::uint32_t state_ = 20021101u;
};

using Row = std::map<QString, QVariant>;

// Inserts rows with the given columns; a column a row lacks stays empty.
class RowWriter {
public:
    RowWriter(sqlite3* db, const QString& table, const QStringList& columns)
        : columns_(columns),
          insert_(db, sql(table, columns),
                  QStringLiteral("Writing the demo rows of %1").arg(table)) {}

    void write(const Row& row) {
        for (int i = 0; i < columns_.size(); ++i) {
            auto it = row.find(columns_[i]);
            insert_.bind(i + 1, it == row.end() ? QVariant() : it->second);
        }
        insert_.step();
        insert_.reset();
    }

private:
    static QString sql(const QString& table, const QStringList& columns) {
        QStringList quoted, marks;
        for (const auto& c : columns) {
            quoted << ledger::quoteName(c);
            marks << QStringLiteral("?");
        }
        return QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
            .arg(ledger::quoteName(table), quoted.join(','), marks.join(','));
    }

    QStringList columns_;
    statements::Statement insert_;
};

QStringList columnNames(const QString& table) {
    QStringList names;
    for (const auto& c : schema::findTable(table)->columns) names << c.name;
    return names;
}

struct Employee {
    QString serial, name, password, telephone, cellPhone, fax, idCard, address, position, contact;
    double salaryHour, overtimeHour;
    QString assumed, left;
    QVariant monthlyPay;
    QList<int> workdays;  // Qt day numbers, Monday = 1
    double usualHours;
};

// The login window opens on the first staff row, so the demo login comes first.
const std::vector<Employee>& staff() {
    static const std::vector<Employee> all = {
        {"A001",
         kDemoLoginName,
         kDemoLoginPassword,
         "02-2365-1184",
         "0932-118-402",
         "02-2365-1185",
         "F223456781",
         "No. 8, Lane 32, Wenzhou St., Taipei",
         "Manager",
         "Lee Shu-fen (sister) 0921-556-310",
         95,
         120,
         "1999/4/1",
         "",
         QVariant(),
         {1, 2, 3, 4, 5, 6},
         5},
        {"A002",
         "Chen Ya-ting",
         "yating",
         "02-2368-0571",
         "0918-204-733",
         "",
         "A224108356",
         "3F, No. 41, Sec. 3, Roosevelt Rd., Taipei",
         "Cook",
         "Chen Wen-hsiung (father)",
         82,
         105,
         "2000/9/15",
         "",
         QVariant(),
         {1, 3, 5},
         4},
        {"A003",
         "Lin Chih-hao",
         "chihhao",
         "02-2932-4410",
         "0937-661-259",
         "",
         "H121937540",
         "No. 17, Alley 6, Lane 110, Xinhai Rd., Taipei",
         "Cook",
         "Lin Pei-chun (wife)",
         100,
         130,
         "2001/2/1",
         "",
         24000.0,
         {1, 2, 3, 4, 5, 6},
         5},
        {"A004",
         "Wang Mei-ling",
         "meiling",
         "02-2733-9025",
         "0953-840-117",
         "",
         "B220573914",
         "5F-2, No. 66, Heping E. Rd., Taipei",
         "Counter",
         "Wang Chun-mei (mother)",
         72,
         90,
         "2001/7/1",
         "",
         QVariant(),
         {2, 4, 6},
         4},
        {"A005",
         "Huang Kuo-wei",
         "kuowei",
         "",
         "0910-372-586",
         "",
         "E123662018",
         "No. 3, Lane 9, Tingzhou Rd., Taipei",
         "Delivery",
         "Huang Ming-te (father)",
         70,
         88,
         "2002/3/4",
         "",
         QVariant(),
         {6},
         4},
        {"A006",
         "Tsai Hsiu-ying",
         "hsiuying",
         "02-2367-2249",
         "0928-415-960",
         "",
         "F228804371",
         "2F, No. 12, Shida Rd., Taipei",
         "Counter",
         "Tsai Kun-lin (husband)",
         70,
         88,
         "2002/6/17",
         "2002/12/20",
         QVariant(),
         {1, 4},
         4},
    };
    return all;
}

void writeStaff(sqlite3* db) {
    RowWriter writer(db, schema::kStaff, columnNames(schema::kStaff));
    for (const auto& e : staff()) {
        Row row = {{"Serial numbers", e.serial},
                   {"Name", e.name},
                   {"Password", ledger::hashStaffPassword(e.password)},
                   {"Address", e.address},
                   {"Position", e.position},
                   {"Contact", e.contact},
                   {"ID card number", e.idCard},
                   {"Salary hour", e.salaryHour},
                   {"Overtime salary hour", e.overtimeHour},
                   {"Assume office on day", e.assumed},
                   {"Monthly pay", e.monthlyPay}};
        // Fields nobody filled in stay empty, as in a register typed by hand.
        if (!e.telephone.isEmpty()) row["Telephone"] = e.telephone;
        if (!e.cellPhone.isEmpty()) row["Cell phone"] = e.cellPhone;
        if (!e.fax.isEmpty()) row["Fax"] = e.fax;
        if (!e.left.isEmpty()) row["Leave office on day"] = e.left;
        writer.write(row);
    }
}

QString dayText(const QDate& day) {
    return QStringLiteral("%1/%2/%3").arg(day.year()).arg(day.month()).arg(day.day());
}

// The shop is closed on Sundays and took one day off for repairs.
std::vector<QDate> businessDays() {
    std::vector<QDate> days;
    for (QDate d(2002, 11, 1); d <= QDate(2002, 12, 31); d = d.addDays(1))
        if (d.dayOfWeek() != Qt::Sunday && d != QDate(2002, 11, 20)) days.push_back(d);
    return days;
}

bool worksOn(const Employee& e, const QDate& day) {
    if (!e.left.isEmpty()) {
        const auto parts = e.left.split('/');
        if (day > QDate(parts[0].toInt(), parts[1].toInt(), parts[2].toInt())) return false;
    }
    return e.workdays.contains(day.dayOfWeek());
}

// The day's wage as the wage window computes it; the wage window adds it,
// rounded to a whole number (ties to even), to the day's personnel cost.
double wageOf(const Row& r) {
    auto v = [&](const char* c) {
        auto it = r.find(QString::fromLatin1(c));
        return it == r.end() ? 0.0 : it->second.toDouble();
    };
    return v("Salary hour") * v("Main hour") + v("Overtime salary hour") * v("Work overtime") -
           (v("Insurance") + v("Absent-Deduct"));
}

// The wage rows of one day; returns the day's personnel cost.
double writeWages(RowWriter& writer, Dice& dice, const QDate& day, bool firstOfMonth) {
    double personnel = 0;
    for (const auto& e : staff()) {
        if (!worksOn(e, day)) continue;
        Row row = {{"Date", dayText(day)},
                   {"Serial numbers", e.serial},
                   {"Name", e.name},
                   {"Salary hour", e.salaryHour},
                   {"Overtime salary hour", e.overtimeHour},
                   {"Main hour", e.usualHours},
                   {"Work overtime", dice.chance(20) ? dice.between(1, 2) * 0.5 : 0.0},
                   {"Ask for leave", "No"},
                   {"Absent", "No"}};
        if (dice.chance(5)) {
            row["Ask for leave"] = "Yes";
            row["Main hour"] = 0.0;
            row["Work overtime"] = 0.0;
        } else if (dice.chance(2)) {
            row["Absent"] = "Yes";
            row["Main hour"] = 0.0;
            row["Work overtime"] = 0.0;
            row["Absent-Deduct"] = 200.0;
        }
        // The month's labour and health insurance is kept back on its first day.
        if (firstOfMonth) row["Insurance"] = std::round(e.salaryHour * 3.2);
        writer.write(row);
        personnel += std::nearbyint(wageOf(row));
    }
    return personnel;
}

// A few of the day's tableware or shop articles, each with its price range.
struct Item {
    const char* column;
    int low, high;
};

double writeItems(Row& day, Dice& dice, const std::vector<Item>& items, int count) {
    double total = 0;
    for (int i = 0; i < count; ++i) {
        const Item& item = items[dice.between(0, static_cast<int>(items.size()) - 1)];
        const QString column = QString::fromLatin1(item.column);
        if (day.count(column)) continue;
        double price = dice.amount(item.low, item.high);
        day[column] = price;
        total += price;
    }
    return total;
}

const std::vector<Item> kTableware = {{"Soup cup", 80, 160},   {"Beverage cup", 90, 180},
                                      {"Coffee cup", 60, 120}, {"Soup spoon", 30, 70},
                                      {"Chopsticks", 40, 90},  {"Toothpick", 20, 40},
                                      {"Meal box", 120, 240},  {"Rubber band", 20, 40},
                                      {"Meal paper", 60, 120}, {"Other", 30, 80}};

const std::vector<Item> kShopArticles = {{"Cup", 180, 320},
                                         {"Bowl", 150, 280},
                                         {"Dish", 160, 300},
                                         {"Tableware2", 120, 260},
                                         {"Oven", 700, 900},
                                         {"Coffee machine", 600, 900},
                                         {"Fruit juice mixer", 500, 800},
                                         {"Electric equipment", 200, 600},
                                         {"Sanitizer", 100, 180},
                                         {"Other2", 50, 150}};

double sumOf(const Row& day, const QStringList& columns) {
    double total = 0;
    for (const auto& c : columns) {
        auto it = day.find(c);
        if (it != day.end()) total += it->second.toDouble();
    }
    return total;
}

// True on the month's first business day on or after its day `dayOfMonth`,
// when a bill of that month falls due.
bool firstOnOrAfter(const std::vector<QDate>& days, size_t i, int dayOfMonth) {
    if (days[i].day() < dayOfMonth) return false;
    return i == 0 || days[i - 1].month() != days[i].month() || days[i - 1].day() < dayOfMonth;
}

const QStringList kPurchases = {
    "Bread trader", "General materials", "Noodles",       "Fruit",     "Egg",
    "Gas",          "Beverage",          "Miscellaneous", "Tableware", "Articles in the shop"};

void writeDays(sqlite3* db) {
    RowWriter ledgerWriter(db, schema::kLedger, columnNames(schema::kLedger));
    RowWriter wageWriter(db, schema::kWages, columnNames(schema::kWages));
    Dice dice;
    const auto days = businessDays();
    for (size_t i = 0; i < days.size(); ++i) {
        const QDate& d = days[i];
        const bool firstOfMonth = i == 0 || days[i - 1].month() != d.month();
        const bool lastOfMonth = i + 1 == days.size() || days[i + 1].month() != d.month();
        Row day = {{"Date", dayText(d)}};

        // Administration: the monthly bills on their usual days, meals daily.
        if (firstOfMonth) {
            day["Rent"] = 15000.0;
            day["Main payment"] = 5000.0;
            day["Insurance"] = 3200.0;
        }
        if (lastOfMonth) day["Partner"] = 3000.0;
        if (firstOnOrAfter(days, i, 12)) day["Electric rate"] = dice.amount(2400, 3000);
        if (firstOnOrAfter(days, i, 21)) day["Telephone rate"] = dice.amount(650, 900);
        if (d == QDate(2002, 11, 26)) day["Water rate"] = 380.0;
        if (d == QDate(2002, 12, 10)) day["Income tax"] = 1800.0;
        day["Board expenses"] = dice.amount(80, 160);
        day["Personnel rate"] = writeWages(wageWriter, dice, d, firstOfMonth);

        // Expenditure: the morning's purchases.
        day["Bread trader"] = dice.amount(320, 560);
        day["General materials"] = dice.amount(150, 450);
        if (dice.chance(50)) day["Noodles"] = dice.amount(60, 150);
        day["Fruit"] = dice.amount(80, 240);
        day["Egg"] = dice.amount(120, 210);
        if (i % 8 == 3) day["Gas"] = 720.0;
        day["Beverage"] = dice.amount(90, 260);
        if (dice.chance(40)) day["Miscellaneous"] = dice.amount(20, 120);
        if (i % 6 == 2) day["Tableware"] = writeItems(day, dice, kTableware, dice.between(2, 3));
        if (i % 17 == 5) day["Articles in the shop"] = writeItems(day, dice, kShopArticles, 1);

        // Income, and the cash counted at closing: the cash subtotal (takings
        // less the day's purchases), now and then a little off.
        double turnover = dice.amount(2600, 3600) + (d.dayOfWeek() == Qt::Saturday ? 400 : 0);
        day["Turnover"] = turnover;
        day["Small incidental money"] = dice.amount(50, 150);
        double counted = turnover - sumOf(day, kPurchases);
        if (dice.chance(30)) counted += dice.amount(-30, 20);
        day["Accept cashes in fact"] = counted;

        ledgerWriter.write(day);
    }
}

}  // namespace

void fillDemoData(statements::Connection& file) {
    sqlite3* db = file.handle();
    statements::Savepoint savepoint(db, QStringLiteral("demo_data"));
    writeStaff(db);
    writeDays(db);
    savepoint.release();
}

}  // namespace setup
