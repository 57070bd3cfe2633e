// SPDX-License-Identifier: GPL-3.0-or-later
#include "ledger/store/postgres/postgres_store.h"

#include <QElapsedTimer>
#include <QHash>
#include <QThread>

#include "ledger/base/ledger_error.h"
#include "ledger/store/postgres/server_connection.h"
#include "ledger/store/sql_store.h"

namespace ledger {

namespace {

// Stores shared per address within this process.
QHash<QString, std::weak_ptr<Store>>& openServerStores() {
    static QHash<QString, std::weak_ptr<Store>> stores;
    return stores;
}

class ResultRow final : public SqlRow {
public:
    ResultRow(const ServerConnection::Rows& rows, int row) : rows_(rows), row_(row) {}
    QVariant value(int column) const override { return rows_.value(row_, column); }
    qint64 integer(int column) const override { return rows_.number(row_, column); }

private:
    const ServerConnection::Rows& rows_;
    int row_;
};

// The server's engine: its connection, the schema the tables are in (the
// first of the search path), and what became of commits lost on the way.
class ServerEngine final : public SqlEngine {
public:
    explicit ServerEngine(const QString& address)
        : owned_(std::make_unique<ServerConnection>(address)), connection_(*owned_) {
        readSchema();
    }
    explicit ServerEngine(ServerConnection& borrowed) : connection_(borrowed) { readSchema(); }

    const SqlDialect& dialect() const override { return SqlDialect::postgres(); }
    const QString& books() const override { return connection_.shownName(); }

    Ran run(const QString& sql, const std::vector<QVariant>& values, const QString& doing,
            const RowReader& read = {}, Resend resend = Resend::Always) override {
        const ServerConnection::Rows rows =
            connection_.run(sql, values, doing,
                            resend == Resend::Always ? ServerConnection::Resend::Always
                                                     : ServerConnection::Resend::IfServerRefused);
        for (int i = 0; read && i < rows.count(); ++i)
            if (!read(ResultRow(rows, i))) break;
        return {rows.changedCount(), rows.wasSentAgain()};
    }
    void stream(const QString& sql, const std::vector<QVariant>& values, const QString& doing,
                const RowReader& read) override {
        connection_.stream(sql, values, doing, [&](const ServerConnection::Rows& row) {
            return read(ResultRow(row, 0));
        });
    }

    void begin() override {
        // Nothing is open yet: a session that ended while idle is reconnected.
        connection_.run(QStringLiteral("BEGIN"), {}, saving());
        connection_.setInTransaction(true);
        try {
            open_.transaction =
                connection_.run(QStringLiteral("SELECT txid_current()"), {}, saving()).number(0, 0);
            open_.process = connection_.backendPid();
        } catch (...) {
            rollBack();
            throw;
        }
    }
    Store::Outcome commit(const QString& attempt) override;
    void rollBack() override {
        connection_.setInTransaction(false);
        // A lost connection took the transaction with it.
        if (connection_.isLost()) return;
        try {
            connection_.run(QStringLiteral("ROLLBACK"), {}, saving());
        } catch (...) {
        }
    }
    std::optional<Store::Outcome> settledEarlier(const QString& attempt) override {
        const auto earlier = unconfirmed_.constFind(attempt);
        if (earlier == unconfirmed_.constEnd()) return std::nullopt;
        switch (statusOf(*earlier)) {
            case CommitStatus::Committed:
                unconfirmed_.remove(attempt);
                return Store::Outcome::StoredEarlier;
            case CommitStatus::Aborted:
                unconfirmed_.remove(attempt);
                return std::nullopt;
            case CommitStatus::Unknown:
                break;
        }
        fail(ErrorCode::OutcomeUnknown,
             QStringLiteral("The database server %1 still cannot say whether it stored what was "
                            "saved before the connection was lost. Nothing was stored now, and "
                            "nothing will be stored twice: try again in a moment.")
                 .arg(connection_.serverName()));
    }
    void holdBackOthersStoring(const QString& table, const QVariant& value) override {
        // Under READ COMMITTED each statement sees what was committed before
        // it began, so two tills looking at once would both find no such row
        // and both insert. The lock on this table and value, held until the
        // transaction ends, makes the second till wait here until the first
        // one's row is committed; its look, a statement begun after the lock
        // was granted, then finds that row. (So the lock is a statement of
        // its own, not part of the insert.)
        connection_.run(QStringLiteral("SELECT pg_advisory_xact_lock(hashtext($1), hashtext($2))"),
                        {table, value}, QStringLiteral("Cannot add a row to '%1'").arg(table),
                        ServerConnection::Resend::Never);
    }

    std::vector<Source> sources() override {
        // Tables and views of the schema the connection works in.
        const auto found = connection_.run(
            QStringLiteral(
                "SELECT c.oid, c.relname, c.relkind IN ('r', 'p') FROM pg_catalog.pg_class c "
                "JOIN pg_catalog.pg_namespace n ON n.oid = c.relnamespace "
                "WHERE n.nspname = $1 AND c.relkind IN ('r', 'p', 'v', 'm')"),
            {schema_}, QStringLiteral("Cannot read the database's tables"));
        std::vector<Source> sources;
        for (int i = 0; i < found.count(); ++i)
            sources.push_back(
                {found.text(i, 1), found.text(i, 2) == QLatin1String("t"), found.text(i, 0)});
        return sources;
    }
    std::vector<Column> columnsOf(const Source& source) override {
        const auto found = connection_.run(
            QStringLiteral("SELECT attname, format_type(atttypid, atttypmod) FROM "
                           "pg_catalog.pg_attribute WHERE attrelid = $1::oid AND attnum > 0 AND "
                           "NOT attisdropped ORDER BY attnum"),
            {source.number}, QStringLiteral("Cannot read the columns"));
        std::vector<Column> columns;
        for (int i = 0; i < found.count(); ++i)
            columns.push_back({found.text(i, 0), found.text(i, 1)});
        return columns;
    }
    std::optional<qint64> catalogueVersion() override { return std::nullopt; }
    QString qualified(const QString& name) const override {
        return quoteName(schema_) + QLatin1Char('.') + quoteName(name);
    }
    bool keepsTotals(const schema::KeptTotals& kept) override {
        // The table, and the triggers that keep it on the table it adds up.
        const QStringList triggers = dialect().keptTriggers(kept);
        const auto rows = connection_.run(
            QStringLiteral(
                "SELECT (SELECT count(*) FROM pg_catalog.pg_class c JOIN pg_catalog.pg_namespace "
                "n ON n.oid = c.relnamespace WHERE n.nspname = $1 AND c.relname = $2 AND "
                "c.relkind = 'r') + (SELECT count(*) FROM pg_catalog.pg_trigger t JOIN "
                "pg_catalog.pg_class c ON c.oid = t.tgrelid JOIN pg_catalog.pg_namespace n ON "
                "n.oid = c.relnamespace WHERE n.nspname = $1 AND c.relname = $3 AND t.tgname IN "
                "($4, $5) AND t.tgenabled <> 'D')"),
            {schema_, kept.table, kept.source, triggers[0], triggers[1]},
            QStringLiteral("Cannot read the database's tables"));
        return rows.number(0, 0) == 1 + triggers.size();
    }

    void requireSameBooks() override {
        // A server's tables are told apart by their numbers (stillTheTable).
    }
    QString stillTheTable(const TableSeen& table, std::vector<QVariant>& values) override {
        // The table under that name is the one first read: a table made anew
        // gets another number, whatever its rows hold.
        const int next = static_cast<int>(values.size()) + 1;
        values.emplace_back(qualified(table.name));
        values.push_back(table.number);
        return QStringLiteral("to_regclass(%1)::oid = %2::oid")
            .arg(dialect().placeholder(next), dialect().placeholder(next + 1));
    }
    quint64 removalsElsewhere(const QString& table) override {
        auto read = removalReads_.constFind(table);
        if (read == removalReads_.constEnd())
            read = removalReads_.insert(table, removalRead(table));
        const auto rows =
            connection_.run(read->sql, read->values, QStringLiteral("Cannot read '%1'").arg(table));
        return static_cast<quint64>(rows.number(0, 0));
    }

private:
    // A transaction whose commit may or may not have landed: the server's
    // number for it and the server process that ran it.
    struct Commit {
        qint64 transaction = 0;
        int process = 0;
    };
    enum class CommitStatus { Committed, Aborted, Unknown };
    // Asks the server, on a new connection if need be, what became of it.
    CommitStatus statusOf(const Commit& commit);

    void readSchema() {
        const auto rows = connection_.run(QStringLiteral("SELECT current_schema()"), {},
                                          QStringLiteral("Cannot read the database's tables"));
        schema_ = rows.count() == 1 ? rows.value(0, 0).toString() : QString();
    }
    QString saving() const { return QStringLiteral("Cannot save into '%1'").arg(books()); }

    // How this connection reads a table's removals: decided at its first
    // look at the table, so that a refresh reads no catalogue.
    struct RemovalRead {
        QString sql;
        std::vector<QVariant> values;
    };
    RemovalRead removalRead(const QString& table) {
        const QString counter = schema::removalCounter(table);
        const QStringList triggers = schema::removalServerTriggers();
        const auto kept = connection_.run(
            QStringLiteral(
                "SELECT has_sequence_privilege(c.oid, 'SELECT') AND (SELECT count(*) FROM "
                "pg_catalog.pg_trigger t WHERE t.tgrelid = to_regclass($1) AND t.tgname IN ($3, "
                "$4) AND t.tgenabled <> 'D') = 2 FROM pg_catalog.pg_class c WHERE c.oid = "
                "to_regclass($2) AND c.relkind = 'S'"),
            {qualified(table), qualified(counter), triggers[0], triggers[1]},
            QStringLiteral("Cannot read '%1'").arg(table));
        // The count the books keep: one row of the sequence, whatever the
        // size of the table. It stands at its start until the first removal.
        if (kept.count() == 1 && kept.text(0, 0) == QLatin1String("t"))
            return {QStringLiteral("SELECT CASE WHEN is_called THEN last_value ELSE 0 END FROM %1")
                        .arg(qualified(counter)),
                    {}};
        // Books made before the count was kept. Keys are handed out by the
        // table's sequence and never again, so the keys handed out minus the
        // rows there are the rows ever removed (plus inserts that were
        // rolled back, which only cost a full read): the count grows with
        // every removal, by this program or any other, and stays put while
        // rows are only added.
        return {QStringLiteral(
                    "SELECT COALESCE(pg_sequence_last_value(pg_get_serial_sequence($1, $2)), 0) "
                    "- (SELECT count(*) FROM %1)")
                    .arg(qualified(table)),
                {qualified(table), schema::kRowKey}};
    }

    std::unique_ptr<ServerConnection> owned_;
    ServerConnection& connection_;
    QString schema_;
    Commit open_;                               // the transaction open now
    QHash<QString, RemovalRead> removalReads_;  // by table
    // Attempts whose commit could not be confirmed either way, by name.
    QHash<QString, Commit> unconfirmed_;
};

Store::Outcome ServerEngine::commit(const QString& attempt) {
    try {
        connection_.run(QStringLiteral("COMMIT"), {}, saving());
        connection_.setInTransaction(false);
        return Store::Outcome::Stored;
    } catch (const LedgerError&) {
        const bool lost = connection_.isLost();
        rollBack();
        if (!lost) throw;  // the server refused it: nothing was stored
    }
    // The connection went while the commit ran: ask the server.
    switch (statusOf(open_)) {
        case CommitStatus::Committed:
            return Store::Outcome::Stored;
        case CommitStatus::Aborted:
            fail(ErrorCode::StoreFailure,
                 QStringLiteral("The connection to the database server %1 was lost while saving "
                                "into '%2', and the server did not store it. Nothing was stored; "
                                "what was typed stays in the window. Save again when the server "
                                "can be reached.")
                     .arg(connection_.serverName(), books()));
        case CommitStatus::Unknown:
            break;
    }
    if (!attempt.isEmpty()) unconfirmed_.insert(attempt, open_);
    fail(ErrorCode::OutcomeUnknown,
         QStringLiteral("The connection to the database server %1 was lost while saving into "
                        "'%2', and the server cannot be asked yet whether it stored it. What was "
                        "typed stays in the window. Nothing will be stored twice: when the server "
                        "can be reached again, save again (it checks first and stores only what "
                        "is not stored yet).")
             .arg(connection_.serverName(), books()));
}

ServerEngine::CommitStatus ServerEngine::statusOf(const Commit& commit) {
    const QString doing = QStringLiteral("Cannot read '%1'").arg(books());
    try {
        QElapsedTimer waited;
        waited.start();
        for (;;) {
            // Reconnects first when the connection is gone.
            const QString status = connection_
                                       .run(QStringLiteral("SELECT txid_status($1::bigint)"),
                                            {commit.transaction}, doing)
                                       .text(0, 0);
            if (status == QLatin1String("committed")) return CommitStatus::Committed;
            if (status == QLatin1String("aborted")) return CommitStatus::Aborted;
            if (status != QLatin1String("in progress") || waited.elapsed() > 10000)
                return CommitStatus::Unknown;
            // Still open in the old session (its end not yet noticed by the
            // server): end that session, which settles it one way or the
            // other. Only while it still runs this very transaction: its
            // process number may have gone to another till by now.
            connection_.run(
                QStringLiteral("SELECT pg_terminate_backend(pid) FROM pg_stat_activity WHERE "
                               "pid = $1 AND backend_xid = (($2::bigint % 4294967296)::text)::xid"),
                {commit.process, commit.transaction}, doing);
            QThread::msleep(50);
        }
    } catch (const LedgerError&) {
        return CommitStatus::Unknown;
    }
}

}  // namespace

std::shared_ptr<Store> openServerStore(const QString& address) {
    if (auto existing = openServerStores().value(address).lock()) return existing;
    auto store = std::make_shared<SqlStore>(std::make_unique<ServerEngine>(address));
    openServerStores().insert(address, store);
    return store;
}

std::unique_ptr<SqlEngine> serverEngineOn(ServerConnection& server) {
    return std::make_unique<ServerEngine>(server);
}

}  // namespace ledger
