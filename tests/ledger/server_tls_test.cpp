// SPDX-License-Identifier: GPL-3.0-or-later
// The books on a server reached over TLS, end to end: a cluster of the
// test's own with a certificate from an authority the test made. Trusting
// that authority and naming the host the certificate names, a day is
// stored and read back; another authority or another host name is refused,
// in words that say the certificate is not trusted and what to change.

#include <gtest/gtest.h>

#include <QProcess>
#include <QTemporaryDir>

#include "ledger/base/ledger_error.h"
#include "ledger/schema/schema.h"
#include "ledger/store/postgres/server_connection.h"
#include "ledger/store/store.h"
#include "setup/postgres/server_setup.h"
#include "support/server_database.h"

namespace {

class ServerTls : public ::testing::Test {
protected:
    // Runs the test database's script with `option` on the cluster's
    // folder: what it printed, and its exit status.
    static int script(const char* option) {
        QProcess run;
        run.start("bash", {TEST_POSTGRES_SCRIPT, option, cluster_->path()});
        run.waitForFinished(120000);
        said_ = QString::fromUtf8(run.readAllStandardOutput()).trimmed();
        return run.exitStatus() == QProcess::NormalExit ? run.exitCode() : -1;
    }
    static void SetUpTestSuite() {
        cluster_ = new QTemporaryDir;
        if (!test_server::requested()) status_ = script("--cluster");
    }
    static void TearDownTestSuite() {
        if (status_ == 0) script("--stop-cluster");
        delete cluster_;
    }
    void SetUp() override {
        if (test_server::requested()) GTEST_SKIP() << "a cluster of its own: on the plain run";
        if (status_ == 77) GTEST_SKIP() << said_.toStdString();
        ASSERT_EQ(status_, 0) << "the TLS cluster: " << said_.toStdString();
    }
    static QString address(const char* host, const char* authority) {
        return QStringLiteral(
                   "postgresql://postgres@%1:%2/postgres?sslmode=verify-full&"
                   "sslrootcert=%3/%4")
            .arg(host, said_, cluster_->path(), authority);
    }

    static inline QTemporaryDir* cluster_ = nullptr;
    static inline QString said_;  // the port, or why there is no cluster
    static inline int status_ = -1;
};

TEST_F(ServerTls, TrustingTheServersAuthorityADayIsStoredAndReadBack) {
    const QString books = address("localhost", "ca.crt");
    setup::createServerSchema(books, false, false);
    const auto store = ledger::openStore({books});
    const qint64 day =
        store->insertRow(ledger::schema::kLedger, {"Date", "Rent"}, {"2002/2/14", 75.0});
    EXPECT_EQ(store->readRow(ledger::schema::kLedger, day, {"Date", "Rent"}),
              (std::vector<QVariant>{"2002/2/14", 75.0}));
    ledger::ServerConnection connection(books);
    EXPECT_EQ(connection.run("SELECT ssl FROM pg_stat_ssl WHERE pid = pg_backend_pid()", {}, "TLS")
                  .text(0, 0),
              "t");
}

TEST_F(ServerTls, AnUntrustedCertificateIsRefusedSayingWhatToChange) {
    const struct {
        const char* host;
        const char* authority;
        const char* says;
    } refused[] = {
        {"localhost", "other-ca.crt", "sslrootcert=PATH"},
        {"localhost", "no-such-ca.crt", "sslrootcert=PATH"},
        {"127.0.0.1", "ca.crt", "not made out to the host name"},
    };
    for (const auto& c : refused) {
        SCOPED_TRACE(std::string(c.host) + ", " + c.authority);
        try {
            ledger::ServerConnection connection(address(c.host, c.authority));
            ADD_FAILURE() << "trusted";
        } catch (const ledger::LedgerError& e) {
            EXPECT_TRUE(e.message().contains("TLS certificate") && e.message().contains(c.says) &&
                        !e.message().contains("Cannot reach"))
                << e.message().toStdString();
        }
    }
}

}  // namespace
