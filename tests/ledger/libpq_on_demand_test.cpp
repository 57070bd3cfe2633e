// SPDX-License-Identifier: GPL-3.0-or-later
// The server's client library is loaded when a server is first named; when
// it cannot be, the user is told what to install, and a file needs none.
#include "ledger/store/postgres/libpq_on_demand.h"

#include <gtest/gtest.h>

namespace {

TEST(LibpqOnDemand, TheInstalledLibraryGivesEveryFunctionTheServerEngineCalls) {
    const auto loaded = ledger::loadLibpq("libpq.so.5");
    ASSERT_TRUE(std::holds_alternative<ledger::Libpq>(loaded))
        << std::get<QString>(loaded).toStdString();
    const ledger::Libpq& pq = std::get<ledger::Libpq>(loaded);
#define EXPECT_LOADED(name) EXPECT_NE(pq.name, nullptr) << #name;
    TALLOWBROOK_LIBPQ_FUNCTIONS(EXPECT_LOADED)
#undef EXPECT_LOADED
    // The functions are the library's own: a parse of an address works.
    char* complaint = nullptr;
    PQconninfoOption* options = pq.PQconninfoParse("host=till2 dbname=shop", &complaint);
    ASSERT_NE(options, nullptr);
    QStringList set;
    for (const PQconninfoOption* o = options; o->keyword; ++o)
        if (o->val) set << QStringLiteral("%1=%2").arg(o->keyword, o->val);
    pq.PQconninfoFree(options);
    EXPECT_TRUE(set.contains("host=till2")) << set.join(' ').toStdString();
    EXPECT_TRUE(set.contains("dbname=shop")) << set.join(' ').toStdString();
}

TEST(LibpqOnDemand, AMissingLibraryIsSaidWithWhatToInstall) {
    const auto loaded = ledger::loadLibpq("libpq-not-installed.so.5");
    ASSERT_TRUE(std::holds_alternative<QString>(loaded));
    const QString said = std::get<QString>(loaded);
    EXPECT_TRUE(said.startsWith("Cannot reach a PostgreSQL server")) << said.toStdString();
    EXPECT_TRUE(said.contains("sudo apt install libpq5")) << said.toStdString();
    EXPECT_TRUE(said.contains("Books kept in a file need no server")) << said.toStdString();
}

}  // namespace
