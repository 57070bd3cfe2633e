// SPDX-License-Identifier: GPL-3.0-or-later
// How much the books' history weighs after years of a shop: the same shop
// written twice, into books that keep their history and into books whose
// history's triggers are dropped, each change made as the program makes it
// (its connection signs the history with the till and the member of staff,
// an update stores only the columns that changed), then both compacted.
//
//   history_size [DAYS [STAFF]]    (3,650 days and 5 staff: ten years)
//
// A day, as the windows store it: the morning's Save of the new day (its
// date and 15 figures), the supply sheets' Confirm and Save (6 tableware
// items, 4 shop articles and their two subtotals), the evening's Save
// (takings, small money, the cash counted), and two wages, each a wage row
// of 11 values stored with its addition to the day's Personnel rate. Each
// member of staff's rates change once a year.

#include <sqlite3.h>

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>

#include "full_ledger.h"
#include "ledger/schema/schema.h"
#include "ledger/store/source_info.h"
#include "ledger/store/sqlite/sqlite_statements.h"
#include "ledger/store/sqlite/sqlite_who_writes.h"
#include "ledger/store/who_writes.h"
#include "setup/schema_builder.h"

namespace {

namespace schema = ledger::schema;
using ledger::statements::Connection;
using ledger::statements::Statement;

// A figure with cents that differs from day to day and column to column.
double figure(int day, int column) { return ((day * 37 + column * 101) % 90000) / 100.0 + 10; }

class Writer {
public:
    explicit Writer(Connection& books) : db_(books.handle()) {}

    qint64 insert(const QString& table, const QStringList& columns,
                  const std::vector<QVariant>& values) {
        QStringList names, marks;
        for (const QString& c : columns) {
            names << ledger::quoteName(c);
            marks << QStringLiteral("?");
        }
        run(QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                .arg(ledger::quoteName(table), names.join(u','), marks.join(u',')),
            values);
        return sqlite3_last_insert_rowid(db_);
    }

    void update(const QString& table, qint64 row, const QStringList& columns,
                const std::vector<QVariant>& values) {
        QStringList sets;
        for (const QString& c : columns) sets << ledger::quoteName(c) + QStringLiteral(" = ?");
        run(QStringLiteral("UPDATE %1 SET %2 WHERE rowid = %3")
                .arg(ledger::quoteName(table), sets.join(u','))
                .arg(row),
            values);
    }

private:
    void run(const QString& sql, const std::vector<QVariant>& values) {
        Statement statement(db_, sql, QStringLiteral("Writing the shop"));
        for (size_t i = 0; i < values.size(); ++i) statement.bind(int(i) + 1, values[i]);
        statement.step();
    }
    sqlite3* db_;
};

QString memberName(int i) { return QStringLiteral("Member %1").arg(i); }

void writeShop(const QString& path, int days, int staff) {
    Connection books(path);
    ledger::signHistoryOfThisTill(books.handle());
    ledger::statements::Savepoint all(books.handle(), QStringLiteral("shop"));
    Writer shop(books);
    std::vector<qint64> members;
    for (int m = 0; m < staff; ++m)
        members.push_back(shop.insert(
            schema::kStaff,
            {"Serial numbers", "Name", "Password", "Salary hour", "Overtime salary hour"},
            {QStringLiteral("A%1").arg(m), memberName(m), QStringLiteral("pw"), 180.0, 240.0}));
    const QStringList& amounts = schema::ledgerDayAmounts();
    const QStringList morning = amounts.mid(0, 15);
    const QStringList supplies = schema::tablewareItems().mid(0, 6) +
                                 schema::shopArticleItems().mid(0, 4) +
                                 QStringList{"Tableware", "Articles in the shop"};
    const QStringList evening{"Turnover", "Small incidental money", "Accept cashes in fact"};
    auto figures = [](int day, const QStringList& columns) {
        std::vector<QVariant> values;
        for (int c = 0; c < columns.size(); ++c) values.emplace_back(figure(day, c));
        return values;
    };
    for (int d = 0; d < days; ++d) {
        const QString date = bench::dayText(d);
        std::vector<QVariant> first{date};
        for (const QVariant& v : figures(d, morning)) first.push_back(v);
        const qint64 day = shop.insert(schema::kLedger, QStringList{"Date"} + morning, first);
        shop.update(schema::kLedger, day, supplies, figures(d + 1, supplies));
        shop.update(schema::kLedger, day, evening, figures(d + 2, evening));
        double personnel = 0;
        for (int w = 0; w < 2; ++w) {
            const int m = (d * 2 + w) % staff;
            shop.insert(schema::kWages,
                        {"Date", "Serial numbers", "Name", "Salary hour", "Overtime salary hour",
                         "Main hour", "Work overtime", "Ask for leave", "Absent", "Insurance",
                         "Absent-Deduct"},
                        {date, QStringLiteral("A%1").arg(m), memberName(m), 180.0, 240.0, 8.0,
                         double(d % 3), QStringLiteral("No"), QStringLiteral("No"), 12.5, 0.0});
            personnel += 180.0 * 8 + 240.0 * (d % 3) - 12.5;
            shop.update(schema::kLedger, day, {"Personnel rate"}, {personnel});
        }
        if (d % 365 == 364)
            for (int m = 0; m < staff; ++m)
                shop.update(schema::kStaff, members[size_t(m)], {"Salary hour"}, {180.0 + d / 365});
    }
    all.release();
}

qint64 count(Connection& books, const QString& sql) {
    Statement read(books.handle(), sql, QStringLiteral("Counting"));
    read.step();
    return read.value(0).toLongLong();
}

double megabytes(qint64 bytes) { return double(bytes) / 1e6; }

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList arguments = app.arguments();
    const int days = arguments.size() > 1 ? arguments[1].toInt() : 3650;
    const int staff = arguments.size() > 2 ? arguments[2].toInt() : 5;
    ledger::setStaffOnDuty(QStringLiteral("Marta"));
    QTemporaryDir dir;
    const QString with = dir.filePath(QStringLiteral("with.mdb"));
    const QString without = dir.filePath(QStringLiteral("without.mdb"));
    setup::writeDatabaseFile(with, false, false);
    setup::writeDatabaseFile(without, false, false);
    {
        Connection books(without);
        setup::dropHistoryTriggers(books);
    }
    for (const QString& path : {with, without}) {
        writeShop(path, days, staff);
        Connection books(path);
        ledger::statements::run(books.handle(), QStringLiteral("VACUUM"),
                                QStringLiteral("Compacting"));
    }
    Connection books(with, Connection::Mode::ReadOnly);
    const qint64 changes = count(books, QStringLiteral("SELECT count(*) FROM \"History\""));
    const qint64 values = count(books, QStringLiteral("SELECT count(*) FROM \"History values\""));
    const qint64 historyBytes =
        count(books, QStringLiteral("SELECT sum(pgsize) FROM dbstat WHERE name IN ('History', "
                                    "'History values', 'History by Date', "
                                    "'History values by change')"));
    const qint64 withBytes = QFile(with).size(), withoutBytes = QFile(without).size();
    std::printf("%d days, %d staff: %lld changes recorded, %lld values\n", days, staff,
                static_cast<long long>(changes), static_cast<long long>(values));
    std::printf("books with the history:    %.2f MB\n", megabytes(withBytes));
    std::printf("books without it:          %.2f MB\n", megabytes(withoutBytes));
    std::printf("the history (its tables and indexes): %.2f MB, %.0f bytes a change\n",
                megabytes(historyBytes),
                double(historyBytes) / double(std::max<qint64>(1, changes)));
    return 0;
}
