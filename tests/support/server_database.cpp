// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/server_database.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <QRegularExpression>
#include <atomic>

#include "ledger/base/ledger_error.h"
#include "ledger/schema/schema.h"
#include "ledger/store/postgres/server_connection.h"
#include "ledger/store/source_info.h"
#include "setup/postgres/server_setup.h"

namespace test_server {

namespace {

// Without a server on the server run, every test says so: skipped, never
// passed. The "[  SKIPPED ]" mark is what CTest looks for.
class NoServerSkipsAll : public ::testing::Environment {
public:
    void SetUp() override {
        if (!requested()) return;
        if (baseAddress().isEmpty())
            GTEST_SKIP() << "[  SKIPPED ] no PostgreSQL server for the server half of the tests "
                            "(TALLOWBROOK_TEST_POSTGRES is not set; scripts/test-postgres.sh "
                            "sets it)";
        try {
            ledger::ServerConnection probe(baseAddress());
        } catch (const ledger::LedgerError& e) {
            GTEST_SKIP() << "[  SKIPPED ] the PostgreSQL server of the server half of the tests "
                            "does not answer: "
                         << e.message().toStdString();
        }
    }
};

[[maybe_unused]] const auto* registered = ::testing::AddGlobalTestEnvironment(new NoServerSkipsAll);

QString quotedColumnName(const QString& word) {
    if (word.compare(QLatin1String("rowid"), Qt::CaseInsensitive) == 0)
        return ledger::quoteName(ledger::schema::kRowKey);
    for (const auto& table : ledger::schema::tables())
        if (const auto* column = ledger::schema::findColumn(table, word))
            return ledger::quoteName(column->name);
    return word;
}

}  // namespace

bool requested() { return qgetenv("TALLOWBROOK_TEST_BACKEND") == "postgres"; }

QString baseAddress() { return qEnvironmentVariable("TALLOWBROOK_TEST_POSTGRES"); }

QString serverDialect(const QString& sql) {
    QString out;
    for (qsizetype i = 0; i < sql.size();) {
        const QChar c = sql[i];
        if (c == QLatin1Char('\'') || c == QLatin1Char('"')) {  // a text or quoted name as it is
            qsizetype end = i + 1;
            while (end < sql.size()) {
                if (sql[end] == c) {
                    if (end + 1 < sql.size() && sql[end + 1] == c) {
                        end += 2;
                        continue;
                    }
                    break;
                }
                ++end;
            }
            out += sql.mid(i, end + 1 - i);
            i = end + 1;
        } else if (c.isLetter() || c == QLatin1Char('_')) {
            qsizetype end = i;
            while (end < sql.size() &&
                   (sql[end].isLetterOrNumber() || sql[end] == QLatin1Char('_')))
                ++end;
            const QString word = sql.mid(i, end - i);
            out += quotedColumnName(word);
            i = end;
        } else {
            out += c;
            ++i;
        }
    }
    return out;
}

ServerSchema::ServerSchema(bool withDemoData) {
    static std::atomic<int> made{0};
    name_ = QStringLiteral("t%1_%2").arg(::getpid()).arg(++made);
    const QString base = baseAddress();
    connection_ = std::make_unique<ledger::ServerConnection>(base);
    connection_->run(QStringLiteral("DROP SCHEMA IF EXISTS %1 CASCADE").arg(name_), {},
                     QStringLiteral("Test schema"));
    connection_->run(QStringLiteral("CREATE SCHEMA %1").arg(name_), {},
                     QStringLiteral("Test schema"));
    connection_->run(QStringLiteral("SET search_path = %1").arg(name_), {},
                     QStringLiteral("Test schema"));
    address_ = base + (base.contains(QLatin1Char('?')) ? QLatin1Char('&') : QLatin1Char('?')) +
               QStringLiteral("options=-csearch_path%3D") + name_;
    setup::createServerSchema(address_, withDemoData, false);
}

ServerSchema::~ServerSchema() {
    try {
        connection_->run(QStringLiteral("DROP SCHEMA IF EXISTS %1 CASCADE").arg(name_), {},
                         QStringLiteral("Test schema"));
    } catch (const std::exception&) {  // the next run drops the whole database
    }
}

void ServerSchema::exec(const QString& sql) const {
    connection_->runScript(serverDialect(sql), QStringLiteral("Test statement"));
}

qint64 ServerSchema::insert(const QString& table, const QStringList& columns,
                            const std::vector<QVariant>& values) const {
    QStringList quoted, marks;
    for (const auto& c : columns) {
        quoted << quotedColumnName(c);
        marks << QStringLiteral("$%1").arg(marks.size() + 1);
    }
    auto rows =
        connection_->run(QStringLiteral("INSERT INTO %1 (%2) VALUES (%3) RETURNING %4")
                             .arg(ledger::quoteName(table), quoted.join(','), marks.join(','),
                                  ledger::quoteName(ledger::schema::kRowKey)),
                         values, QStringLiteral("Test insert"));
    return rows.number(0, 0);
}

std::vector<std::vector<QVariant>> ServerSchema::query(const QString& sql) const {
    auto rows = connection_->run(serverDialect(sql), {}, QStringLiteral("Test query"));
    std::vector<std::vector<QVariant>> out;
    for (int r = 0; r < rows.count(); ++r) {
        std::vector<QVariant> row;
        for (int c = 0; c < rows.columns(); ++c) row.push_back(rows.value(r, c));
        out.push_back(std::move(row));
    }
    return out;
}

}  // namespace test_server
