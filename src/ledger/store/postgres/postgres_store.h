// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QHash>
#include <memory>

#include "ledger/store/postgres/server_connection.h"
#include "ledger/store/store.h"

namespace ledger {

// The store on a PostgreSQL database, for several tills on one ledger. One
// per address per process, shared by every record source opened on it, as
// the file store is. Tables carry the "Row key" column as an identity the
// server hands out once (never again after a delete); saved queries are
// views. Table and column names are resolved without regard to case against
// the server's catalogue and then quoted exactly as the server spells them;
// values always go as bound parameters.
//
// Threading: the user-interface thread only, like its connection.
class PostgresStore final : public Store {
public:
    static std::shared_ptr<PostgresStore> open(const QString& address);

    ~PostgresStore() override;
    PostgresStore(const PostgresStore&) = delete;
    PostgresStore& operator=(const PostgresStore&) = delete;

    const QString& path() const override { return connection_.shownName(); }
    SourceInfo describe(const QString& source) override;
    std::vector<RowKey> rowKeys(const QString& table) override;
    std::optional<std::pair<RowKey, RowKey>> keyRange(const QString& table) override;
    std::vector<RowKey> rowKeysUpTo(const QString& table, RowKey highest) override;
    quint64 removalMark(const QString& table) override;
    std::vector<RowKey> rowKeysAbove(const QString& table, RowKey after) override;
    std::optional<std::vector<RowKey>> rowKeysHoldingText(const QString& table,
                                                          const QString& column,
                                                          const QString& text) override;
    std::optional<std::vector<TextRow>> rowsPerhapsMatching(const QString& table,
                                                            const QString& column,
                                                            const QString& pattern) override;
    std::vector<QVariant> readRow(const QString& table, RowKey key,
                                  const QStringList& columns) override;
    using Store::updateRow;
    bool updateRow(const QString& table, RowKey key, const QStringList& columns,
                   const std::vector<QVariant>& values, const QStringList& checked,
                   const std::vector<QVariant>& expected) override;
    RowKey insertRow(const QString& table, const QStringList& columns,
                     const std::vector<QVariant>& values) override;
    RowKey insertRowUnlessStored(const QString& table, const QStringList& columns,
                                 const std::vector<QVariant>& values,
                                 const QString& column) override;
    void deleteRow(const QString& table, RowKey key) override;
    std::optional<double> addToAmount(const QString& table, RowKey key, const QString& column,
                                      double amount, const QString& guardColumn,
                                      const QVariant& guardValue) override;
    Outcome inTransaction(const std::function<void()>& work, const QString& attempt) override;
    void scan(const QString& source, const QStringList& columns, const RowVisitor& visit) override;
    void scanBelow(const QString& table, RowKey belowKey, const QStringList& columns,
                   const RowVisitor& visit) override;

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
    Outcome runTransaction(const std::function<void()>& work, const QString& attempt);
    void runNested(const std::function<void()>& work);

    explicit PostgresStore(const QString& address);
    // A new row; with a `distinct` column only while no row holds the new
    // row's value there (AlreadyStored otherwise), in the same statement.
    RowKey insertGuarded(const QString& table, const QStringList& columns,
                         const std::vector<QVariant>& values, const QString& distinct);
    SourceInfo readDescription(const QString& source);
    // The description read last (read now when there is none yet), for the
    // store's own statements.
    SourceInfo described(const QString& source);
    // The table that keeps a saved query's rows ready (schema.h,
    // KeptTotals), quoted with its schema, when this database keeps them and
    // the triggers that keep them are in place; empty otherwise.
    QString keptTableOf(const SourceInfo& savedQuery);
    // The table as the server spells it, qualified by its schema and quoted.
    QString tableName(const QString& table, const QString& doing);
    // The columns as the server spells them, quoted and joined by commas.
    QString columnNames(const QString& source, const QStringList& columns, const QString& doing);
    QStringList quotedColumns(const QString& source, const QStringList& columns,
                              const QString& doing);
    // The server's number for the table as this store first read it: a
    // table made anew (dropped and created again) gets another.
    QString tableNumber(const QString& table);
    // Throws FileReplaced when the table under that name is no longer the
    // one first read.
    void requireNotMadeAnew(const QString& table, const QString& doing);

    QString address_;
    ServerConnection connection_;
    QString schema_;  // where the tables are: the first schema of the search path
    QHash<QString, SourceInfo> described_;  // by lower-case name
    QHash<QString, QString> keptTables_;    // by lower-case saved query
    // Per table (lower-case), its columns that hold text as text.
    QHash<QString, QStringList> textColumns_;
    // Per table (lower-case), its number when first read; never replaced.
    QHash<QString, QString> tableNumbers_;
    int transactionDepth_ = 0;
    // Attempts whose commit could not be confirmed either way, by name.
    QHash<QString, Commit> unconfirmed_;
};

}  // namespace ledger
