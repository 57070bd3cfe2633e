// SPDX-License-Identifier: GPL-3.0-or-later
// Writes a full ledger for the benchmarks (full_ledger.h): a file, or a
// server database named by a postgresql:// address.
//
//   bench_ledger PATH DAYS [STAFF] [WAGES] [--light-password] [--real-shop]
//
// --real-shop: the wage rows in a real shop's shape (two a month per member
// of staff, spread over the months; full_ledger.h) instead of twenty a day.
// --light-password: the first member's password ("breakfast") hashed with
// libsodium's smallest limits instead of the program's, so that a measure
// of the program's memory at login shows the books' share and not the
// password check's 64 MiB.
#include <sodium.h>

#include <QCoreApplication>
#include <cstdio>

#include "full_ledger.h"
#include "ledger/base/ledger_error.h"

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QStringList numbers = app.arguments();
    const bool lightPassword = numbers.removeAll(QStringLiteral("--light-password")) > 0;
    const bool realShop = numbers.removeAll(QStringLiteral("--real-shop")) > 0;
    if (numbers.size() < 3) {
        std::fputs(
            "usage: bench_ledger PATH DAYS [STAFF] [WAGES] [--light-password] [--real-shop]\n",
            stderr);
        return 2;
    }
    bench::LedgerSizes sizes{numbers[2].toInt(), numbers.value(3, QStringLiteral("5")).toInt(),
                             numbers.value(4, QStringLiteral("0")).toInt(), QString(), realShop};
    if (lightPassword) {
        char hash[crypto_pwhash_STRBYTES];
        if (sodium_init() < 0 || crypto_pwhash_str(hash, "breakfast", 9, crypto_pwhash_OPSLIMIT_MIN,
                                                   crypto_pwhash_MEMLIMIT_MIN) != 0) {
            std::fputs("bench_ledger: cannot hash the password\n", stderr);
            return 1;
        }
        sizes.passwordHash = QString::fromLatin1(hash);
    }
    try {
        bench::writeFullLedger(numbers[1], sizes);
    } catch (const ledger::LedgerError& e) {
        std::fprintf(stderr, "bench_ledger: %s\n", qPrintable(e.message()));
        return 1;
    }
    return 0;
}
