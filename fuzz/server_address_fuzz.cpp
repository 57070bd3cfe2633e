// SPDX-License-Identifier: GPL-3.0-or-later
// Server addresses typed in the first-start window or in tallowbrook.ini.
// Properties: a password put in an address (as the user part's password or
// as password=) that libpq reads as the password is never shown, whatever
// the rest of the address holds (and in a plain address libpq does read
// it so);
// the name shown is the same however often it is made; a file name is
// shown as it is.
#include <QRegularExpression>

#include "fuzz/fuzz_input.h"
#include "ledger/store/server_address.h"

namespace {

// A password no fuzzed text holds by chance: it is looked for in what is shown.
const QString kSecret = QStringLiteral("Pw7Kq2Zx");

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QStringList parts = fuzz::textsOf(data, size, 3);
    const QString& user = parts[0];
    const QString& rest = parts[1];
    const QString& options = parts[2];
    if (parts.join(QString()).contains(kSecret)) return 0;

    const QString addresses[] = {
        QStringLiteral("postgresql://%1:%2@%3").arg(user, kSecret, rest),
        QStringLiteral("postgresql://%1@%2?password=%3&%4").arg(user, rest, kSecret, options),
        QStringLiteral("postgres://%1@%2?%3&password=%4").arg(user, rest, options, kSecret),
    };
    static const QRegularExpression plain(QStringLiteral("^[A-Za-z0-9_.-]+$"));
    static const QRegularExpression option(QStringLiteral("^application_name=[A-Za-z0-9_.-]+$"));
    const bool plainParts = plain.match(user).hasMatch() && plain.match(rest).hasMatch() &&
                            option.match(options).hasMatch();
    for (const QString& address : addresses) {
        const QString shown = ledger::displayName(address);
        const bool isPassword = ledger::secretsOf(address).contains(kSecret);
        if (plainParts) fuzz::require(isPassword, "a plain address's password is read", address);
        if (isPassword)
            fuzz::require(!shown.contains(kSecret), "no password is shown",
                          address + " -> " + shown);
        fuzz::require(ledger::displayName(address) == shown, "the name shown is stable", address);
        (void)ledger::isReadableAddress(address);
        (void)ledger::libpqAddress(address);
    }

    const QString file = fuzz::textOf(data, size);
    if (!ledger::isServerAddress(file))
        fuzz::require(ledger::displayName(file) == file, "a file name is shown as it is", file);
    return 0;
}
