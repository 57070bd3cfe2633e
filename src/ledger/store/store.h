#pragma once

#include <QHash>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <functional>
#include <memory>
#include <vector>

#include "source_info.h"

struct sqlite3;

namespace ledger {

// The database file behind every record source. One Store per file per
// process, shared by every record source opened on that file, so a row stored
// by one window is seen by the next read of another.
//
// Threading: a Store and its connection are used from the user-interface
// thread only; nothing here locks.
//
// The interface is deliberately narrow (row keys, read a row, write changed
// columns, read a saved query) so another engine can stand behind it.
// Everything sent to SQLite is built from names the file itself reports,
// quoted, and bound parameters; no user-typed text is ever SQL.
class Store {
public:
    using RowKey = qint64;

    using SourceInfo = ledger::SourceInfo;

    using RowVisitor = std::function<bool(RowKey, const std::vector<QVariant>&)>;

    // Opens (or shares) the connection to an existing database file. Throws
    // FileNotFound, NotADatabase or StoreFailure with a message naming the file.
    static std::shared_ptr<Store> open(const QString& path);

    ~Store();
    Store(const Store&) = delete;
    Store& operator=(const Store&) = delete;

    const QString& path() const { return path_; }

    // Table or saved query by name, case-insensitive. Throws UnknownName.
    SourceInfo describe(const QString& source);

    std::vector<RowKey> rowKeys(const QString& table);

    // The row's values of `columns`, or an empty vector when the row is gone.
    std::vector<QVariant> readRow(const QString& table, RowKey key, const QStringList& columns);

    // One atomic statement each.
    void updateRow(const QString& table, RowKey key, const QStringList& columns,
                   const std::vector<QVariant>& values);
    RowKey insertRow(const QString& table, const QStringList& columns,
                     const std::vector<QVariant>& values);
    void deleteRow(const QString& table, RowKey key);

    // Streams the rows of a table (rowid order, from `fromKey` on when given;
    // descending below `belowKey` when given) or a saved query (its own order,
    // keys 0, 1, 2, ...). The visitor returns false to stop early.
    void scan(const QString& source, const QStringList& columns, const RowVisitor& visit);
    void scanBelow(const QString& table, RowKey belowKey, const QStringList& columns,
                   const RowVisitor& visit);

    // Runs a statement built by our own code (schema creation, tools).
    void execute(const QString& sql);
    sqlite3* handle() const { return db_.get(); }

private:
    struct Closer {
        void operator()(sqlite3* db) const;
    };

    Store(QString path, std::unique_ptr<sqlite3, Closer> db);
    [[noreturn]] void failFromSqlite(int rc, const QString& doing) const;

    SourceInfo readDescription(const QString& source);
    qint64 schemaVersion();

    QString path_;
    std::unique_ptr<sqlite3, Closer> db_;
    // Descriptions read from the catalogue, by lower-case name, valid while
    // the file's schema version stays the one they were read at.
    QHash<QString, SourceInfo> described_;
    qint64 describedAt_ = -1;
};

}  // namespace ledger
