// SPDX-License-Identifier: GPL-3.0-or-later
#include "full_ledger.h"

#include <QDate>
#include <QFile>
#include <algorithm>
#include <functional>
#include <vector>

#include "ledger/credentials/staff_password.h"
#include "ledger/schema/schema.h"
#include "ledger/store/postgres/server_connection.h"
#include "ledger/store/server_address.h"
#include "ledger/store/source_info.h"
#include "ledger/store/sqlite/sqlite_statements.h"
#include "setup/postgres/server_setup.h"
#include "setup/schema_builder.h"

namespace bench {

namespace schema = ledger::schema;

QString dayText(int i) {
    const QDate day = QDate(1990, 1, 1).addDays(i);
    return QStringLiteral("%1/%2/%3").arg(day.year()).arg(day.month()).arg(day.day());
}

namespace {

constexpr int kWorkersADay = 20;

QString memberName(int i) {
    return i == 0 ? QStringLiteral("Tovena") : QStringLiteral("Member %1").arg(i);
}

// One statement that adds rows, its values bound row by row.
struct Rows {
    QString table;
    QStringList columns;
    std::function<std::vector<QVariant>(int)> row;
    int count = 0;
};

std::vector<Rows> everyRow(const LedgerSizes& sizes) {
    std::vector<Rows> all;
    QStringList dayColumns;
    for (const auto& c : schema::findTable(schema::kLedger)->columns) dayColumns << c.name;
    all.push_back({schema::kLedger, dayColumns,
                   [n = dayColumns.size()](int i) {
                       std::vector<QVariant> values{dayText(i)};
                       for (int c = 2; c <= n; ++c)
                           values.emplace_back(((i * 37 + c * 101) % 90000) / 100.0 + 10);
                       return values;
                   },
                   sizes.days});
    const QString hash = sizes.passwordHash.isEmpty()
                             ? ledger::hashStaffPassword(QStringLiteral("breakfast"))
                             : sizes.passwordHash;
    all.push_back({schema::kStaff,
                   {"Serial numbers", "Name", "Password", "Salary hour", "Overtime salary hour"},
                   [hash](int i) -> std::vector<QVariant> {
                       return {QStringLiteral("A%1").arg(i, 5, 10, QLatin1Char('0')), memberName(i),
                               i == 0 ? hash : QStringLiteral("pw"), 80.0 + i % 20, 100.0 + i % 30};
                   },
                   sizes.staff});
    const QStringList wageColumns = {"Date",          "Serial numbers",       "Name",
                                     "Salary hour",   "Overtime salary hour", "Main hour",
                                     "Work overtime", "Ask for leave",        "Absent",
                                     "Insurance",     "Absent-Deduct",        "Monthly pay"};
    auto wageRow = [](int day, int member, int i, bool monthlyPay) -> std::vector<QVariant> {
        return {dayText(day),
                QStringLiteral("A%1").arg(member, 5, 10, QLatin1Char('0')),
                memberName(member),
                80.0 + member % 20,
                100.0 + member % 30,
                monthlyPay ? QVariant() : QVariant(8.0),
                double(i % 3),
                QStringLiteral("No"),
                QStringLiteral("No"),
                12.5,
                0.0,
                monthlyPay ? QVariant(24000.0) : QVariant()};
    };
    if (!sizes.realShop) {
        all.push_back(
            {schema::kWages, wageColumns,
             [wageRow](int i) { return wageRow(i / kWorkersADay, i % kWorkersADay, i, false); },
             sizes.wages});
    } else {
        // Pair p of rows: member p % staff, in a month picked apart from the
        // member's other pairs; the two rows ten days apart.
        const int staff = std::max(1, sizes.staff);
        const int months = std::max(1, sizes.days / 31);
        const int lastDay = std::max(0, sizes.days - 1);
        all.push_back({schema::kWages, wageColumns,
                       [wageRow, staff, months, lastDay](int i) {
                           const int pair = i / 2;
                           const int member = pair % staff;
                           const int month = (member * 7 + (pair / staff) * 13) % months;
                           const int day = std::min(lastDay, month * 31 + (i % 2) * 10);
                           return wageRow(day, member, i, member % 25 == 0 && i % 2 == 0);
                       },
                       sizes.wages});
    }
    return all;
}

QString insertSql(const Rows& rows, bool server) {
    QStringList names, marks;
    for (const QString& c : rows.columns) {
        names << ledger::quoteName(c);
        marks << (server ? QStringLiteral("$%1").arg(marks.size() + 1) : QStringLiteral("?"));
    }
    return QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
        .arg(ledger::quoteName(rows.table), names.join(','), marks.join(','));
}

void writeFile(const QString& path, const LedgerSizes& sizes) {
    QFile::remove(path);
    setup::writeDatabaseFile(path, false, false);
    ledger::statements::Connection db(path);
    ledger::statements::Savepoint all(db.handle(), QStringLiteral("fill"));
    // The totals are counted once at the end rather than at every row, and
    // the history begins after the filling (empty): what the benchmarks
    // time is the shop's next change, not how the books came to be.
    setup::dropKeptTotals(db);
    setup::dropHistoryTriggers(db);
    for (const Rows& rows : everyRow(sizes)) {
        ledger::statements::Statement insert(db.handle(), insertSql(rows, false),
                                             QStringLiteral("Filling"));
        for (int i = 0; i < rows.count; ++i) {
            const std::vector<QVariant> values = rows.row(i);
            for (size_t c = 0; c < values.size(); ++c) insert.bind(int(c) + 1, values[c]);
            insert.step();
            insert.reset();
        }
    }
    setup::keepTotals(db);
    setup::keepHistory(db);
    all.release();
    db.close();
}

void writeServer(const QString& address, const LedgerSizes& sizes) {
    ledger::ServerConnection server(address);
    setup::createServerSchema(server, true, [&](ledger::ServerConnection& s) {
        for (const Rows& rows : everyRow(sizes)) {
            const QString sql = insertSql(rows, true);
            for (int i = 0; i < rows.count; ++i)
                s.run(sql, rows.row(i), QStringLiteral("Filling"),
                      ledger::ServerConnection::Resend::Never);
        }
    });
    server.runScript(QStringLiteral("ANALYZE"), QStringLiteral("Analyzing"));
}

}  // namespace

void writeFullLedger(const QString& where, const LedgerSizes& sizes) {
    if (ledger::isServerAddress(where))
        writeServer(where, sizes);
    else
        writeFile(where, sizes);
}

}  // namespace bench
