// SPDX-License-Identifier: GPL-3.0-or-later
// Another till saving a wage, as the wage window does through the store: the
// wage row and its addition to the day's Personnel rate in one transaction.
// Arguments: the books, the day, the wage, and optionally the step to stop
// at and wait to be killed (0 before anything, 1 after the row, 2 after the
// addition, 3 after the commit). Prints "stored", or the error.
//
// With "churn" in place of the step it stores a wage of the day and removes
// it again, then stores three at once, over and over, through the records
// layer as the wage windows do, until it is killed; it prints "ready" once
// it has the day.
#include <QCoreApplication>
#include <QThread>
#include <cstdio>

#include "fake_field.h"
#include "ledger/base/ledger_error.h"
#include "ledger/records/wage_posting.h"
#include "ledger/schema/schema.h"
#include "ledger/store/store.h"

namespace {

int stopAt = -1;

// Stores and removes a wage of `wage` on `day` for ever, each through its
// one transaction.
[[noreturn]] void churn(const QString& path, const QString& day, qint32 wage) {
    namespace schema = ledger::schema;
    ledger::RecordSource days(QStringLiteral("Days")), wages(QStringLiteral("Wages"));
    for (ledger::RecordSource* source : {&days, &wages}) source->setDatabasePath(path);
    days.setSource(schema::kLedger);
    wages.setSource(schema::kWages);
    FakeField date(wages, QStringLiteral("Date")), name(wages, QStringLiteral("Name")),
        hours(wages, QStringLiteral("Main hour"));
    days.open();
    wages.open();
    days.findFirst(QStringLiteral("Date = '%1'").arg(day));
    std::puts("ready");
    std::fflush(stdout);
    for (int batches = 0;;) {
        wages.addNew();
        date.type(day);
        name.type(QStringLiteral("Probe"));
        hours.type(QStringLiteral("8"));
        ledger::storeWageWithDay(wages, days, day, wage);
        ledger::removeWageFromDay(wages, days, day, wage);
        // Then three at once, as the wages of the day are stored.
        const ledger::NewWage one{
            QStringLiteral("Probe"),
            {QStringLiteral("Date"), QStringLiteral("Name"), QStringLiteral("Main hour")},
            {day, QStringLiteral("Probe"), QStringLiteral("8")},
            wage};
        ledger::storeWagesWithDay(
            wages, days, day, {one, one, one},
            QStringLiteral("churn %1 %2").arg(QCoreApplication::applicationPid()).arg(++batches));
    }
}

void step(int n) {
    if (n != stopAt) return;
    std::printf("step %d\n", n);
    std::fflush(stdout);
    for (;;) QThread::sleep(1);
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc < 4) return 2;
    const QString path = QString::fromLocal8Bit(argv[1]);
    const QString day = QString::fromLocal8Bit(argv[2]);
    const double wage = QByteArray(argv[3]).toDouble();
    const bool churning = argc > 4 && QByteArray(argv[4]) == "churn";
    if (argc > 4 && !churning) stopAt = QByteArray(argv[4]).toInt();
    namespace schema = ledger::schema;
    try {
        if (churning) churn(path, day, static_cast<qint32>(wage));
        auto store = ledger::openStore(ledger::Connection{path});
        ledger::Store::RowKey key = -1;
        store->scan(schema::kLedger, {QStringLiteral("Date")},
                    [&](ledger::Store::RowKey row, const std::vector<QVariant>& values) {
                        if (values[0].toString() != day) return true;
                        key = row;
                        return false;
                    });
        if (key < 0) return 3;
        step(0);
        store->inTransaction([&] {
            store->insertRow(schema::kWages, {"Date", "Name", "Main hour"},
                             {day, QStringLiteral("Probe"), 8.0});
            step(1);
            if (!store->addToAmount(schema::kLedger, key, QStringLiteral("Personnel rate"), wage,
                                    QStringLiteral("Date"), day))
                ledger::fail(ledger::ErrorCode::ChangedElsewhere, QStringLiteral("day moved"));
            step(2);
        });
        step(3);
        std::puts("stored");
    } catch (const ledger::LedgerError& e) {
        std::printf("Error %d: %s\n", e.number(), e.message().toUtf8().constData());
    }
    return 0;
}
