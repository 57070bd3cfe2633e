// SPDX-License-Identifier: GPL-3.0-or-later
// Stores one figure through a record source, says so, then waits to be killed.
#include <QCoreApplication>
#include <QThread>
#include <cstdio>

#include "fake_field.h"
#include "ledger/schema/schema.h"

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc < 3) return 2;
    ledger::RecordSource data(QStringLiteral("Data1"));
    FakeField rent(data, QStringLiteral("Rent"));
    data.setDatabasePath(QString::fromLocal8Bit(argv[1]));
    data.setSource(ledger::schema::kLedger);
    data.open();
    rent.type(QString::fromLocal8Bit(argv[2]));
    data.writeBack();
    std::puts("stored");
    std::fflush(stdout);
    for (;;) QThread::sleep(1);
}
