// SPDX-License-Identifier: GPL-3.0-or-later
// A second till on the same ledger file: finds a day, stores one figure of
// it through a record source and says how that went ("stored", or the error).
#include <QCoreApplication>
#include <cstdio>

#include "fake_field.h"
#include "ledger/schema/schema.h"

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc < 5) return 2;
    const QString path = QString::fromLocal8Bit(argv[1]);
    const QString day = QString::fromLocal8Bit(argv[2]);
    ledger::RecordSource data(QStringLiteral("Data1"));
    FakeField figure(data, QString::fromLocal8Bit(argv[3]));
    data.setDatabasePath(path);
    data.setSource(ledger::schema::kLedger);
    try {
        data.open();
        if (!ledger::guardedFind(data, QStringLiteral("Date like '") + day + QLatin1Char('\'')))
            return 3;
        figure.type(QString::fromLocal8Bit(argv[4]));
        data.writeBack();
        std::puts("stored");
    } catch (const ledger::LedgerError& e) {
        std::printf("Error %d: %s\n", e.number(), e.message().toUtf8().constData());
    }
    return 0;
}
