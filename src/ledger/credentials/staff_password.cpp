// SPDX-License-Identifier: GPL-3.0-or-later
#include "ledger/credentials/staff_password.h"

#include <sodium.h>

#include "ledger/base/ledger_error.h"

namespace ledger {

namespace {

void requireSodium() {
    // Safe to call again and again; fails only when the system offers no
    // source of random numbers, which the salt needs.
    if (sodium_init() < 0)
        fail(ErrorCode::StoreFailure,
             QStringLiteral("Cannot protect passwords: this computer offers no source of random "
                            "numbers. Nothing was stored."));
}

}  // namespace

QString hashStaffPassword(const QString& password) {
    requireSodium();
    const QByteArray utf8 = password.toUtf8();
    char hash[crypto_pwhash_STRBYTES];
    if (crypto_pwhash_str(hash, utf8.constData(), static_cast<unsigned long long>(utf8.size()),
                          crypto_pwhash_OPSLIMIT_INTERACTIVE,
                          crypto_pwhash_MEMLIMIT_INTERACTIVE) != 0)
        fail(ErrorCode::StoreFailure,
             QStringLiteral("Cannot protect the password: the computer lacks the memory for it "
                            "just now. Nothing was stored; close another program and try again."));
    return QString::fromLatin1(hash);
}

bool isStaffPasswordHash(const QString& stored) {
    return stored.startsWith(QLatin1String("$argon2"));
}

bool staffPasswordMatches(const QString& typed, const QString& stored) {
    if (!isStaffPasswordHash(stored)) return typed == stored;
    requireSodium();
    const QByteArray hash = stored.toLatin1();
    const QByteArray utf8 = typed.toUtf8();
    return crypto_pwhash_str_verify(hash.constData(), utf8.constData(),
                                    static_cast<unsigned long long>(utf8.size())) == 0;
}

}  // namespace ledger
