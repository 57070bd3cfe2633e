// SPDX-License-Identifier: GPL-3.0-or-later
// A server whose administrator made REPEATABLE READ or SERIALIZABLE the
// default for every transaction: the program's own checks between two
// tills work as on a server left as it comes.

#include <gtest/gtest.h>
#include <libpq-fe.h>

#include "ledger/base/ledger_error.h"
#include "ledger/schema/schema.h"
#include "ledger/store/store.h"
#include "setup/postgres/server_setup.h"
#include "support/server_database.h"

namespace schema = ledger::schema;

namespace {

// Runs one statement as the test database's owner; its error, or empty.
QString runAsOwner(const QString& address, const QString& sql) {
    PGconn* conn = PQconnectdb(address.toUtf8().constData());
    PQsetNoticeProcessor(
        conn, [](void*, const char*) {}, nullptr);  // "does not exist, skipping"
    PGresult* result = PQexec(conn, sql.toUtf8().constData());
    const bool ok = PQresultStatus(result) == PGRES_COMMAND_OK;
    const QString error = ok ? QString() : QString::fromUtf8(PQerrorMessage(conn));
    PQclear(result);
    PQfinish(conn);
    return error;
}

// A database of its own (another test's schema must not meet the default
// changed here), made afresh for each level with the shop's tables.
class ServerIsolation : public ::testing::TestWithParam<const char*> {
protected:
    void SetUp() override {
        if (!test_server::requested() || test_server::baseAddress().isEmpty())
            GTEST_SKIP() << "runs on the server run of this program (server:...)";
        const QString base = test_server::baseAddress();
        const qsizetype nameAt = base.indexOf(QLatin1String(":///")) + 4;
        const qsizetype nameEnd = base.indexOf(QLatin1Char('?'), nameAt);
        ASSERT_GT(nameAt, 3) << "the test database's address names no database";
        // One per level: the levels' tests may run at once.
        database_ = base.mid(nameAt, nameEnd - nameAt) + QLatin1Char('_') +
                    QString::fromLatin1(GetParam()).replace(QLatin1Char(' '), QLatin1Char('_'));
        address_ = base.left(nameAt) + database_ + base.mid(nameEnd);
        base_ = base;
        ASSERT_EQ(runAsOwner(base, dropSql()), "");
        ASSERT_EQ(runAsOwner(base, QStringLiteral("CREATE DATABASE %1").arg(database_)), "");
        ASSERT_EQ(runAsOwner(base, QStringLiteral("ALTER DATABASE %1 SET "
                                                  "default_transaction_isolation = '%2'")
                                       .arg(database_, GetParam())),
                  "");
        setup::createServerSchema(address_, false, false);
    }
    void TearDown() override {
        if (!database_.isEmpty()) runAsOwner(base_, dropSql());
    }
    QString dropSql() const {
        return QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE)").arg(database_);
    }
    // One till's own connection: the same address twice would share one.
    std::shared_ptr<ledger::Store> till(const char* name) const {
        return ledger::openStore({address_ + QStringLiteral("&application_name=") + name});
    }

    QString base_, database_, address_;
};

// The first till's wage Save has begun when the second one's lands: the
// first adds its wage to the day as it is stored by then.
TEST_P(ServerIsolation, TwoTillsAddingWagesToOneDayAtOnceBothCount) {
    const auto first = till("first");
    const auto second = till("second");
    const QString day = QStringLiteral("2002/2/12");
    const auto key = first->insertRow(schema::kLedger, {"Date", "Personnel rate"}, {day, 512.0});
    auto saveWage = [&](ledger::Store& store, double wage) {
        store.insertRow(schema::kWages, {"Date", "Name"}, {day, QStringLiteral("Tovena")});
        if (!store.addToAmount(schema::kLedger, key, QStringLiteral("Personnel rate"), wage,
                               QStringLiteral("Date"), day))
            ledger::fail(ledger::ErrorCode::ChangedElsewhere, QStringLiteral("the day moved"));
    };
    try {
        first->inTransaction([&] {
            second->inTransaction([&] { saveWage(*second, 77); });
            saveWage(*first, 640);
        });
    } catch (const ledger::LedgerError& e) {
        FAIL() << e.message().toStdString();
    }
    const auto personnel = first->readRow(schema::kLedger, key, {"Personnel rate"});
    EXPECT_EQ(personnel.at(0).toDouble(), 1229.0);
    EXPECT_EQ(first->rowKeys(schema::kWages).size(), 2u);
}

INSTANTIATE_TEST_SUITE_P(Levels, ServerIsolation,
                         ::testing::Values("read committed", "repeatable read", "serializable"),
                         [](const auto& info) {
                             return QString(info.param).replace(' ', '_').toStdString();
                         });

}  // namespace
