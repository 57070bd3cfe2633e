// SPDX-License-Identifier: GPL-3.0-or-later
// Staff passwords kept as salted hashes: each verifies only its own password,
// exactly; a password kept as plain text by an older file compares exactly.

#include "ledger/credentials/staff_password.h"

#include <gtest/gtest.h>

namespace {

TEST(StaffPassword, AHashVerifiesItsOwnPasswordExactlyAndHoldsNothingOfIt) {
    const struct {
        const char* password;
        const char* typed;
        bool matches;
    } cases[] = {
        {"breakfast", "breakfast", true},
        {"breakfast", "Breakfast", false},
        {"breakfast", "breakfast ", false},
        {"breakfast", " breakfast", false},
        {"breakfast", "", false},
        {"", "", true},
        {"", " ", false},
        {"p@ss?#%/w\xC3\xB6rd", "p@ss?#%/w\xC3\xB6rd", true},
        {"p@ss?#%/w\xC3\xB6rd", "p@ss?#%/word", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.password) + " / " + c.typed);
        const QString password = QString::fromUtf8(c.password);
        const QString hash = ledger::hashStaffPassword(password);
        EXPECT_TRUE(hash.startsWith("$argon2id$")) << hash.toStdString();
        EXPECT_TRUE(ledger::isStaffPasswordHash(hash));
        if (!password.isEmpty()) {
            EXPECT_FALSE(hash.contains(password));
        }
        EXPECT_EQ(ledger::staffPasswordMatches(QString::fromUtf8(c.typed), hash), c.matches);
    }
}

TEST(StaffPassword, EachHashIsSaltedAnew) {
    const QString first = ledger::hashStaffPassword("breakfast");
    const QString second = ledger::hashStaffPassword("breakfast");
    EXPECT_NE(first, second);
    EXPECT_TRUE(ledger::staffPasswordMatches("breakfast", first));
    EXPECT_TRUE(ledger::staffPasswordMatches("breakfast", second));
}

TEST(StaffPassword, PlainTextFromOlderFilesComparesExactly) {
    const struct {
        const char* stored;
        const char* typed;
        bool matches;
    } cases[] = {
        {"breakfast", "breakfast", true},   {"breakfast", "Breakfast", false},
        {"breakfast", "breakfast ", false}, {"", "", true},
        {"breakfast ", "breakfast ", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.stored) + " / " + c.typed);
        EXPECT_FALSE(ledger::isStaffPasswordHash(QString::fromUtf8(c.stored)));
        EXPECT_EQ(
            ledger::staffPasswordMatches(QString::fromUtf8(c.typed), QString::fromUtf8(c.stored)),
            c.matches);
    }
}

}  // namespace
