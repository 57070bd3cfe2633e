// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QHash>
#include <memory>

#include "ledger/store/sql_engine.h"
#include "ledger/store/store.h"

namespace ledger {

// The store on an SQL database, whichever engine keeps it: every operation of
// the contract (store.h) written once, over the engine's connection
// (sql_engine.h). The engine keeps what only it can do: opening the books,
// telling they are still the ones opened, its check that a table is not
// made anew, asking a server what became of a commit lost on the way.
//
// Everything sent is built from names the catalogue itself reports, quoted,
// and bound values; no typed text is ever SQL.
//
// Threading: the user-interface thread only, like its engine.
class SqlStore final : public Store {
public:
    explicit SqlStore(std::unique_ptr<SqlEngine> engine);

    const QString& path() const override { return engine_->books(); }
    SourceInfo describe(const QString& source) override;
    std::vector<RowKey> rowKeys(const QString& table) override;
    std::optional<std::pair<RowKey, RowKey>> keyRange(const QString& table) override;
    std::vector<RowKey> rowKeysUpTo(const QString& table, RowKey highest) override;
    quint64 removalMark(const QString& table) override;
    std::vector<RowKey> rowKeysAbove(const QString& table, RowKey after) override;
    std::optional<std::vector<RowKey>> rowKeysHoldingText(const QString& table,
                                                          const QString& column,
                                                          const QString& text) override;
    std::vector<RowKey> rowKeysHoldingNumber(const QString& table, const QString& column,
                                             qint64 number) override;
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
    void scanHolding(const QString& table, const QString& column, const QStringList& columns,
                     const RowVisitor& visit) override;

private:
    // A source as the catalogue described it, with its columns that keep
    // every value as its text (so that "=" compares character for character).
    struct Described {
        SourceInfo info;
        QStringList texts;
    };
    // The description read last, or read now: anew when `anew` (another
    // program may have changed the source), else only when the catalogue
    // changed since (an engine that keeps no version of it reads it only
    // the first time).
    Described description(const QString& source, bool anew);
    Described readDescription(const QString& source);
    SourceInfo described(const QString& source) { return description(source, false).info; }
    // The table as the catalogue spells it, quoted; UnknownName when there
    // is no such table or saved query, StoreFailure for a saved query.
    QString tableName(const QString& table, const QString& doing);
    QStringList quotedColumns(const QString& source, const QStringList& columns,
                              const QString& doing);
    // The quoted name of a column of a table that keeps every value as its
    // text; empty when it is not there, holds numbers, or is a saved query's.
    QString textColumn(const QString& table, const QString& column);
    // The table that keeps a saved query's rows ready (schema.h,
    // KeptTotals), when the books keep them; empty otherwise (the saved
    // query is read).
    QString keptTableOf(const SourceInfo& savedQuery);
    // A new row; with a `distinct` column only while no row holds the new
    // row's value there (AlreadyStored otherwise), in the same statement.
    RowKey insertGuarded(const QString& table, const QStringList& columns,
                         const std::vector<QVariant>& values, const QString& distinct);
    // The engine's condition that the table is the one first read, its
    // values appended to `values`.
    QString stillTheTable(const QString& table, std::vector<QVariant>& values);
    // Throws FileReplaced when that condition no longer holds.
    void requireNotMadeAnew(const QString& table);
    // Whether a statement sent again after a lost connection found the row
    // holding what the first try would have stored (so that try landed).
    bool holdsWhatWasStored(const QString& table, RowKey key, const QStringList& columns,
                            const std::vector<QVariant>& values, const QStringList& checked,
                            const std::vector<QVariant>& expected);
    // The keys a statement gives in its first column, noted as seen.
    std::vector<RowKey> keysOf(const QString& sql, const std::vector<QVariant>& values,
                               const QString& doing);
    void noteKeys(const QString& table, const std::vector<RowKey>& keys);
    void runNested(const std::function<void()>& work);
    QString placeholder(int n) const { return engine_->dialect().placeholder(n); }
    QString keyColumn() const { return engine_->dialect().rowOrder(); }

    std::unique_ptr<SqlEngine> engine_;
    // Descriptions by lower-case name; with an engine that keeps a version
    // of its catalogue, valid while it stays the one they were read at.
    QHash<QString, Described> described_;
    QHash<QString, QString> keptTables_;  // by lower-case saved query, as described_
    std::optional<qint64> describedAt_;
    // Per table (lower-case): the engine's number for it when first read
    // (never replaced), and the highest key this store has read or handed
    // out.
    QHash<QString, QVariant> tableNumbers_;
    QHash<QString, RowKey> highestKey_;
    quint64 removals_ = 0;      // rows this store deleted
    int transactionDepth_ = 0;  // inTransaction calls running now
};

}  // namespace ledger
