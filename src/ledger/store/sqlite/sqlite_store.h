// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QHash>
#include <memory>

#include "ledger/store/sqlite/sqlite_statements.h"
#include "ledger/store/store.h"

namespace ledger {

// The store on an SQLite database file. One per file per process, shared by
// every record source opened on that file, so a row stored by one window is
// seen by the next read of another. It owns the connection (closed with it).
//
// Threading: the store and its connection are used from the user-interface
// thread only. One may be made on another thread (openUnshared) and handed
// over whole, before anything uses it (adopt).
//
// Everything sent to SQLite is built from names the file itself reports,
// quoted, and bound parameters; no user-typed text is ever SQL.
class SqliteStore final : public Store {
public:
    static std::shared_ptr<SqliteStore> open(const QString& path);
    // A store of its own on the file, not shared: what open makes, on any
    // thread.
    static std::shared_ptr<SqliteStore> openUnshared(const QString& path);
    // Shares a store made by openUnshared as open would have, unless the file
    // has one shared already (which is kept; this one is then dropped).
    static void adopt(const std::shared_ptr<SqliteStore>& store);

    ~SqliteStore() override;
    SqliteStore(const SqliteStore&) = delete;
    SqliteStore& operator=(const SqliteStore&) = delete;

    const QString& path() const override { return path_; }
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
    // The quoted names of a table and of its column of text affinity; none
    // when the column is not there or keeps numbers as numbers.
    std::optional<std::pair<QString, QString>> textColumn(const QString& table,
                                                          const QString& column);
    SqliteStore(QString path, std::unique_ptr<statements::Connection> connection);
    // A new row; with a `distinct` column only while no row holds the new
    // row's value there (AlreadyStored otherwise), in the same statement.
    RowKey insertGuarded(const QString& table, const QStringList& columns,
                         const std::vector<QVariant>& values, const QString& distinct);
    [[noreturn]] void failFromSqlite(int rc, const QString& doing) const;
    void execute(const QString& sql);
    // A statement of the file's, failing as failFromSqlite says.
    statements::Statement statement(const QString& sql, const QString& doing) const;
    SourceInfo readDescription(const QString& source);
    // The table as the file spells it, quoted; UnknownName when there is no
    // such table or saved query, StoreFailure for a saved query.
    QString tableName(const QString& table, const QString& doing);
    // The columns as the file spells them, quoted and joined by commas;
    // StoreFailure naming the first the source does not have.
    QString columnNames(const QString& source, const QStringList& columns, const QString& doing);
    // The table that keeps a saved query's rows ready (schema.h,
    // KeptTotals), when this file keeps them and everything that keeps them
    // up to date is in place; empty otherwise (the saved query is read).
    QString keptTableOf(const SourceInfo& savedQuery);
    // Fails when the file's name now leads to another file than the one
    // opened (a backup restored over it, say): writing would go to the old
    // one, which nobody would ever read again.
    void requireSameFile() const;
    qint64 schemaVersion();
    // The highest key this store has read or handed out for a table.
    void noteKeys(const QString& table, const std::vector<RowKey>& keys);
    // A condition, for a write's WHERE, that holds while the table's key
    // counter has not fallen below the highest key seen, with its two
    // values; empty for a table without lasting keys.
    struct KeyGuard {
        QString condition;
        QString table;
        RowKey highest = 0;
        void bind(statements::Statement& statement, int& at) const;
    };
    KeyGuard keyGuard(const QString& table);
    // Throws FileReplaced when the guard no longer holds.
    void requireNotMadeAnew(const KeyGuard& guard);

    QString path_;
    std::unique_ptr<statements::Connection> connection_;  // the file's one handle
    quint64 device_ = 0, inode_ = 0;                      // the file opened
    bool shared_ = false;  // the one store of its file in this process (open, adopt)
    // Descriptions read from the catalogue, by lower-case name, valid while
    // the file's schema version stays the one they were read at.
    QHash<QString, SourceInfo> described_;
    QHash<QString, QString> keptTables_;  // by lower-case saved query, as described_
    qint64 describedAt_ = -1;
    // Rows this store deleted, plus one for every time another connection
    // was seen to have committed (othersVersion_ is SQLite's data_version).
    quint64 removals_ = 0;
    qint64 othersVersion_ = -1;
    QHash<QString, RowKey> highestKey_;  // by lower-case table name
    int transactionDepth_ = 0;           // inTransaction calls running now
};

}  // namespace ledger
