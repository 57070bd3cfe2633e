// SPDX-License-Identifier: GPL-3.0-or-later
// Another till storing new days on the same books: says "ready" once the
// books are open, then for every line it reads stores a day of that date
// unless one is stored (Store::insertRowUnlessStored) and answers "stored",
// "refused" or the error, one line each. A line "hold DATE MS" stores the
// day the same way inside a transaction it keeps open for MS milliseconds
// after saying "holding", as a till does that is slow to commit.
#include <QCoreApplication>
#include <QThread>
#include <cstdio>
#include <iostream>
#include <string>

#include "ledger/base/ledger_error.h"
#include "ledger/schema/schema.h"
#include "ledger/store/store.h"

namespace {

void answer(const char* text) {
    std::puts(text);
    std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc < 2) return 2;
    std::shared_ptr<ledger::Store> store;
    try {
        store = ledger::openStore(ledger::Connection{QString::fromLocal8Bit(argv[1])});
        store->rowKeys(ledger::schema::kLedger);
    } catch (const ledger::LedgerError& e) {
        std::printf("Error %d: %s\n", e.number(), e.message().toUtf8().constData());
        return 1;
    }
    answer("ready");
    const QStringList columns{QStringLiteral("Date"), QStringLiteral("Rent")};
    for (std::string line; std::getline(std::cin, line);) {
        QStringList words = QString::fromStdString(line).split(QLatin1Char(' '));
        const bool hold = words.size() == 3 && words[0] == QLatin1String("hold");
        const QString date = hold ? words[1] : QString::fromStdString(line);
        auto storeDay = [&] {
            store->insertRowUnlessStored(ledger::schema::kLedger, columns, {date, 55.0},
                                         QStringLiteral("Date"));
        };
        try {
            if (hold) {
                store->inTransaction([&] {
                    storeDay();
                    answer("holding");
                    QThread::msleep(words[2].toULong());
                });
            } else {
                storeDay();
            }
            answer("stored");
        } catch (const ledger::LedgerError& e) {
            if (e.code() == ledger::ErrorCode::AlreadyStored) {
                answer("refused");
            } else {
                std::printf("Error %d: %s\n", e.number(), e.message().toUtf8().constData());
                std::fflush(stdout);
            }
        }
    }
    return 0;
}
