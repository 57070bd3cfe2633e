// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>
#include <QVariant>
#include <memory>
#include <vector>

namespace ledger {
class ServerConnection;
}

// The server half of the tests: when the environment says
// TALLOWBROOK_TEST_BACKEND=postgres, every TempDatabase is a schema of its
// own in the throw-away database named by TALLOWBROOK_TEST_POSTGRES (made
// by scripts/test-postgres.sh), so tests run in parallel without meeting.
namespace test_server {

// True on the server run of a test program.
bool requested();
// The throw-away database's address; empty when the run has none, in which
// case every test of the run reports itself skipped.
QString baseAddress();

// A schema of its own with the shop's tables, dropped with the object.
class ServerSchema {
public:
    explicit ServerSchema(bool withDemoData);
    ~ServerSchema();

    // The address whose search path is this schema.
    const QString& address() const { return address_; }
    const QString& name() const { return name_; }

    // Test SQL as written for the file: bare column names and rowid are
    // turned into the server's quoted names and "Row key" before it runs.
    void exec(const QString& sql) const;
    qint64 insert(const QString& table, const QStringList& columns,
                  const std::vector<QVariant>& values) const;
    std::vector<std::vector<QVariant>> query(const QString& sql) const;

private:
    QString name_;
    QString address_;
    std::unique_ptr<ledger::ServerConnection> connection_;
};

// The rewriting of test SQL that exec and query do, for its own tests.
QString serverDialect(const QString& sql);

}  // namespace test_server

// Skips the current test on the server run: for tests about SQLite files as
// such (journals, permissions, a file replaced or removed, raw SQLite SQL).
#define SKIP_ON_SERVER(reason)                                                   \
    do {                                                                         \
        if (test_server::requested()) GTEST_SKIP() << "SQLite only: " << reason; \
    } while (false)
