// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace ledger {

// How the staff register keeps a password: a salted Argon2id hash made by
// libsodium (crypto_pwhash_str, its "interactive" limits, a fraction of a
// second), never the password itself. Rows written by earlier versions still
// hold the password as plain text; such a row is compared as it is, and the
// login stores its hash in its place.

// The hash of `password` as the register stores it (a text beginning
// "$argon2id$"; another each time, the salt being random). Throws
// StoreFailure when the computer lacks the memory for it.
QString hashStaffPassword(const QString& password);

// Whether a stored value is a hash (not a password kept as plain text).
bool isStaffPasswordHash(const QString& stored);

// Whether `typed` is the password `stored` keeps: verified against a hash,
// or compared exactly (case-sensitive, nothing trimmed) with plain text.
bool staffPasswordMatches(const QString& typed, const QString& stored);

}  // namespace ledger
