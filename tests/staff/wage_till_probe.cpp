// SPDX-License-Identifier: GPL-3.0-or-later
// Another till saving a wage, as the wage window does through the store: the
// wage row and its addition to the day's Personnel rate in one transaction.
// Arguments: the books, the day, the wage, and optionally the step to stop
// at and wait to be killed (0 before anything, 1 after the row, 2 after the
// addition, 3 after the commit). Prints "stored", or the error.
#include <QCoreApplication>
#include <QThread>
#include <cstdio>

#include "ledger/base/ledger_error.h"
#include "ledger/schema/schema.h"
#include "ledger/store/store.h"

namespace {

int stopAt = -1;

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
    if (argc > 4) stopAt = QByteArray(argv[4]).toInt();
    namespace schema = ledger::schema;
    try {
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
