// SPDX-License-Identifier: GPL-3.0-or-later
// Writes a full ledger for the benchmarks (full_ledger.h): a file, or a
// server database named by a postgresql:// address.
//
//   bench_ledger PATH DAYS [STAFF] [WAGES]
#include <QCoreApplication>
#include <cstdio>

#include "full_ledger.h"
#include "ledger/base/ledger_error.h"

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 3) {
        std::fputs("usage: bench_ledger PATH DAYS [STAFF] [WAGES]\n", stderr);
        return 2;
    }
    const bench::LedgerSizes sizes{args[2].toInt(), args.value(3, QStringLiteral("5")).toInt(),
                                   args.value(4, QStringLiteral("0")).toInt()};
    try {
        bench::writeFullLedger(args[1], sizes);
    } catch (const ledger::LedgerError& e) {
        std::fprintf(stderr, "bench_ledger: %s\n", qPrintable(e.message()));
        return 1;
    }
    return 0;
}
