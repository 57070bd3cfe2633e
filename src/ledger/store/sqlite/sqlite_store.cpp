// SPDX-License-Identifier: GPL-3.0-or-later
#include "ledger/store/sqlite/sqlite_store.h"

#include <sqlite3.h>
#include <sys/stat.h>

#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <algorithm>
#include <limits>
#include <memory>

#include "ledger/base/ledger_error.h"
#include "ledger/schema/schema.h"
#include "ledger/store/file_kind.h"
#include "ledger/store/sql_dialect.h"
#include "ledger/store/sqlite/sqlite_statements.h"
#include "ledger/store/store_sql.h"

namespace ledger {

namespace {

bool identityOf(const QString& path, quint64& device, quint64& inode) {
    struct stat status {};
    if (::stat(QFile::encodeName(path).constData(), &status) != 0) return false;
    device = static_cast<quint64>(status.st_dev);
    inode = static_cast<quint64>(status.st_ino);
    return true;
}

// Connections shared per file within this process.
QHash<QString, std::weak_ptr<SqliteStore>>& openFileStores() {
    static QHash<QString, std::weak_ptr<SqliteStore>> stores;
    return stores;
}

using statements::Statement;

// What a file that is not an SQLite database is, from its first bytes.
QString describeForeignFile(const QString& path) {
    switch (fileKindOf(path)) {
        case FileKind::Sqlite:
        case FileKind::Unreadable:  // opening it says why
            return {};
        case FileKind::Empty:
            return QStringLiteral(
                       "The database file '%1' is empty. Replace it with a new one: "
                       "tallowbrook-db create --force \"%1\"")
                .arg(path);
        case FileKind::Access:
            return QStringLiteral(
                       "The database file '%1' is a Microsoft Access (Jet) database. This "
                       "program keeps its data in an SQLite database: the file must be "
                       "converted first.")
                .arg(path);
        case FileKind::Foreign:
            break;
    }
    return QStringLiteral(
               "The file '%1' is not a database this program recognizes, or it is "
               "damaged.")
        .arg(path);
}

}  // namespace

SqliteStore::SqliteStore(QString path, std::unique_ptr<statements::Connection> connection)
    : path_(std::move(path)), connection_(std::move(connection)) {}

SqliteStore::~SqliteStore() {
    // Only its own entry: a store never shared leaves the file's shared one.
    if (shared_) openFileStores().remove(path_);
}

std::shared_ptr<SqliteStore> SqliteStore::open(const QString& path) {
    QFileInfo info(path);
    QString key = info.exists() ? info.canonicalFilePath() : info.absoluteFilePath();
    if (auto existing = openFileStores().value(key).lock()) return existing;
    std::shared_ptr<SqliteStore> store = openUnshared(path);
    adopt(store);
    return store;
}

void SqliteStore::adopt(const std::shared_ptr<SqliteStore>& store) {
    if (openFileStores().value(store->path_).lock()) return;
    store->shared_ = true;
    openFileStores().insert(store->path_, store);
}

std::shared_ptr<SqliteStore> SqliteStore::openUnshared(const QString& path) {
    QFileInfo info(path);
    QString full = info.absoluteFilePath();
    QString key = info.exists() ? info.canonicalFilePath() : full;
    if (!info.exists())
        fail(ErrorCode::FileNotFound,
             QStringLiteral("Could not find file '%1'. Create the shop's database with: "
                            "tallowbrook-db create \"%1\" (or tallowbrook-db demo \"%1\" for "
                            "a sample shop).")
                 .arg(full));
    if (QString foreign = describeForeignFile(full); !foreign.isEmpty())
        fail(ErrorCode::NotADatabase, foreign);

    auto connection = std::make_unique<statements::Connection>(
        full, statements::Connection::Mode::ReadWrite, [&full](int rc) {
            fail(ErrorCode::StoreFailure, QStringLiteral("Cannot open the database file '%1': %2")
                                              .arg(full, QString::fromUtf8(sqlite3_errstr(rc))));
        });
    // A second program on the same file waits briefly instead of failing at
    // once; FULL sync so that a stored row survives a crash or power loss.
    sqlite3_busy_timeout(connection->handle(), 5000);
    sqlite3_extended_result_codes(connection->handle(), 1);
    std::shared_ptr<SqliteStore> store(new SqliteStore(key, std::move(connection)));
    identityOf(key, store->device_, store->inode_);
    store->execute(QStringLiteral("PRAGMA synchronous=FULL"));
    // A full day row takes about 500 bytes: 8 MiB of page cache holds ten
    // years of a shop's days (and then some) so a search that matches
    // nothing does not read the file again; pages are taken only as used.
    store->execute(QStringLiteral("PRAGMA cache_size=-8192"));
    // Reading the schema tells a damaged file from a good one now rather
    // than at the first row.
    store->execute(QStringLiteral("SELECT count(*) FROM sqlite_schema"));
    return store;
}

void SqliteStore::failFromSqlite(int rc, const QString& doing) const {
    QString detail = QString::fromUtf8(sqlite3_errmsg(connection_->handle()));
    switch (rc & 0xff) {
        case SQLITE_READONLY:
            fail(ErrorCode::StoreFailure,
                 QStringLiteral("Cannot save: the database file '%1' is read-only. Nothing "
                                "already stored was changed. The file and its folder must be "
                                "writable by the shop's user: install the program into a "
                                "folder of that user (for example with cmake --install BUILD "
                                "--prefix ~/.local) or give the user the folder.")
                     .arg(path_));
        case SQLITE_FULL:
            fail(ErrorCode::StoreFailure,
                 QStringLiteral("Cannot save: the disk holding '%1' is full. Nothing already "
                                "stored was changed; free some space and try again.")
                     .arg(path_));
        case SQLITE_BUSY:
        case SQLITE_LOCKED:
            fail(ErrorCode::StoreFailure,
                 QStringLiteral("The database file '%1' is in use by another program; try "
                                "again in a moment.")
                     .arg(path_));
        case SQLITE_CORRUPT:
        case SQLITE_NOTADB:
            fail(ErrorCode::NotADatabase,
                 QStringLiteral("The database file '%1' is damaged (%2).").arg(path_, detail));
        case SQLITE_CANTOPEN:
        case SQLITE_IOERR:
            fail(ErrorCode::StoreFailure,
                 QStringLiteral("Cannot read or write the database file '%1' (%2).")
                     .arg(path_, detail));
        default:
            fail(ErrorCode::StoreFailure, QStringLiteral("%1: %2").arg(doing, detail));
    }
}

Statement SqliteStore::statement(const QString& sql, const QString& doing) const {
    return Statement(connection_->handle(), sql,
                     [this, doing](int rc) { failFromSqlite(rc, doing); });
}

void SqliteStore::execute(const QString& sql) {
    char* message = nullptr;
    int rc =
        sqlite3_exec(connection_->handle(), sql.toUtf8().constData(), nullptr, nullptr, &message);
    sqlite3_free(message);
    if (rc != SQLITE_OK) failFromSqlite(rc, QStringLiteral("Database statement failed"));
}

qint64 SqliteStore::schemaVersion() {
    Statement q = statement(QStringLiteral("PRAGMA schema_version"),
                            QStringLiteral("Cannot read the database's tables"));
    if (!q.step())
        failFromSqlite(SQLITE_ERROR, QStringLiteral("Cannot read the database's tables"));
    return q.integer(0);
}

SqliteStore::SourceInfo SqliteStore::describe(const QString& source) {
    // Every search and scan asks; the catalogue is read again only when
    // another program changed the file's tables or saved queries.
    const qint64 version = schemaVersion();
    if (version != describedAt_) {
        described_.clear();
        keptTables_.clear();
        describedAt_ = version;
    }
    const QString key = source.toLower();
    if (auto found = described_.constFind(key); found != described_.constEnd()) return *found;
    SourceInfo info = readDescription(source);
    described_.insert(key, info);
    return info;
}

SqliteStore::SourceInfo SqliteStore::readDescription(const QString& source) {
    Statement find = statement(
        QStringLiteral("SELECT name, type FROM sqlite_schema WHERE type IN ('table','view')"),
        QStringLiteral("Cannot read the database's tables"));
    SourceInfo info;
    while (find.step()) {
        const QString name = find.value(0).toString();
        if (name.compare(source, Qt::CaseInsensitive) != 0) continue;
        info.name = name;
        info.isTable = find.value(1).toString() == QLatin1String("table");
        break;
    }
    if (info.name.isEmpty())
        fail(ErrorCode::UnknownName,
             QStringLiteral("The database '%1' has no table or query named '%2'.")
                 .arg(path_, source));

    Statement columns = statement(QStringLiteral("SELECT name, type FROM pragma_table_info(?)"),
                                  QStringLiteral("Cannot read the columns"));
    columns.bind(1, info.name);
    // The program's own tables take their column kinds from the schema, a
    // column the schema does not know from the type the file declares. A
    // saved query stores nothing typed: none of its columns is an amount.
    const schema::Table* known = info.isTable ? schema::findTable(info.name) : nullptr;
    while (columns.step()) {
        const QString name = columns.value(0).toString();
        // The row key is the store's, never a field's.
        if (info.isTable && name.compare(schema::kRowKey, Qt::CaseInsensitive) == 0) {
            info.lastingKeys = true;
            continue;
        }
        info.columns << name;
        if (const schema::Column* column = known ? schema::findColumn(*known, name) : nullptr)
            info.isAmount.push_back(column->kind == schema::Kind::Amount);
        else
            info.isAmount.push_back(
                info.isTable && SqlDialect::sqlite().declaresNumber(columns.value(1).toString()));
    }
    return info;
}

QString SqliteStore::tableName(const QString& table, const QString& doing) {
    const SourceInfo info = describe(table);
    requireTable(info, doing);
    return quoteName(info.name);
}

QString SqliteStore::columnNames(const QString& source, const QStringList& columns,
                                 const QString& doing) {
    return quotedColumns(describe(source), columns, doing).join(QLatin1Char(','));
}

std::vector<SqliteStore::RowKey> SqliteStore::rowKeys(const QString& table) {
    return rowKeysUpTo(table, std::numeric_limits<RowKey>::max());
}

std::vector<SqliteStore::RowKey> SqliteStore::rowKeysUpTo(const QString& table, RowKey highest) {
    // Without an order SQLite reads the keys from the smallest index that
    // holds them (the ledger's index of calendar days, a tenth of the
    // table's pages), not from the rows themselves; they are put in order
    // here, which for days entered day by day they mostly are already.
    const QString doing = QStringLiteral("Cannot read '%1'").arg(table);
    Statement q =
        statement(QStringLiteral("SELECT rowid FROM %1").arg(tableName(table, doing)), doing);
    std::vector<RowKey> keys;
    while (q.step()) {
        const RowKey key = q.integer(0);
        if (key <= highest) keys.push_back(key);
    }
    if (!std::is_sorted(keys.begin(), keys.end())) std::sort(keys.begin(), keys.end());
    noteKeys(table, keys);
    return keys;
}

std::optional<std::pair<SqliteStore::RowKey, SqliteStore::RowKey>> SqliteStore::keyRange(
    const QString& table) {
    const QString doing = QStringLiteral("Cannot read '%1'").arg(table);
    Statement q = statement(QStringLiteral("SELECT (SELECT rowid FROM %1 ORDER BY rowid LIMIT 1), "
                                           "(SELECT rowid FROM %1 ORDER BY rowid DESC LIMIT 1)")
                                .arg(tableName(table, doing)),
                            doing);
    if (!q.step()) failFromSqlite(SQLITE_ERROR, doing);
    if (q.value(0).isNull()) return std::nullopt;
    const std::pair<RowKey, RowKey> range{q.integer(0), q.integer(1)};
    noteKeys(table, {range.second});
    return range;
}

void SqliteStore::noteKeys(const QString& table, const std::vector<RowKey>& keys) {
    if (keys.empty()) return;
    RowKey& highest = highestKey_[table.toLower()];
    highest = std::max(highest, *std::max_element(keys.begin(), keys.end()));
}

// A table with lasting keys takes them from its counter in sqlite_sequence,
// which only grows while the file is the same ledger. Found lower than a key
// already seen, the file was overwritten in place by another ledger (a copy
// written into the same file): its keys may name other rows.
SqliteStore::KeyGuard SqliteStore::keyGuard(const QString& table) {
    const SourceInfo info = describe(table);
    if (!info.lastingKeys) return {};
    return {QStringLiteral("coalesce((SELECT seq FROM sqlite_sequence WHERE name=?),0)>=?"),
            info.name, highestKey_.value(table.toLower())};
}

void SqliteStore::KeyGuard::bind(Statement& statement, int& at) const {
    if (condition.isEmpty()) return;
    statement.bind(at++, table);
    statement.bind(at++, highest);
}

void SqliteStore::requireNotMadeAnew(const KeyGuard& guard) {
    if (guard.condition.isEmpty()) return;
    const QString doing = QStringLiteral("Cannot read '%1'").arg(guard.table);
    Statement q = statement(QStringLiteral("SELECT ") + guard.condition, doing);
    int at = 1;
    guard.bind(q, at);
    if (!q.step()) failFromSqlite(SQLITE_ERROR, doing);
    if (q.integer(0) == 0) failMadeAnew(path_);
}

std::vector<QVariant> SqliteStore::readRow(const QString& table, RowKey key,
                                           const QStringList& columns) {
    const QString doing = QStringLiteral("Cannot read a row of '%1'").arg(table);
    const QString name = tableName(table, doing);
    if (columns.isEmpty()) return {};  // nothing to read, whether the row is there or not
    Statement q = statement(QStringLiteral("SELECT %1 FROM %2 WHERE rowid=?")
                                .arg(columnNames(table, columns, doing), name),
                            doing);
    q.bind(1, key);
    std::vector<QVariant> values;
    if (q.step()) {
        values.reserve(columns.size());
        for (int i = 0; i < columns.size(); ++i) values.push_back(q.value(i));
    }
    return values;
}

bool SqliteStore::updateRow(const QString& table, RowKey key, const QStringList& columns,
                            const std::vector<QVariant>& values, const QStringList& checked,
                            const std::vector<QVariant>& expected) {
    const QString doing = QStringLiteral("Cannot save into '%1'").arg(table);
    requireSameFile();
    const QString name = tableName(table, doing);
    const KeyGuard guard = keyGuard(table);
    QStringList stored, compared;
    for (const QString& c : columns) stored << columnNames(table, {c}, doing);
    for (const QString& c : checked) compared << columnNames(table, {c}, doing);
    // Nothing to store: the answer is whether the row is still there as read.
    const QString sql = store_sql::guardedUpdate(
        SqlDialect::sqlite(), name, QStringLiteral("rowid"), stored, compared, guard.condition);
    Statement q = statement(sql, doing);
    int at = 1;
    for (const auto& v : values) q.bind(at++, v);
    q.bind(at++, key);
    for (const auto& v : expected) q.bind(at++, v);
    guard.bind(q, at);
    const bool row = q.step();
    const bool found =
        columns.isEmpty() ? row && q.integer(0) == 1 : sqlite3_changes(connection_->handle()) == 1;
    if (found) return true;
    requireNotMadeAnew(guard);
    return false;
}

SqliteStore::RowKey SqliteStore::insertRow(const QString& table, const QStringList& columns,
                                           const std::vector<QVariant>& values) {
    return insertGuarded(table, columns, values, QString());
}

SqliteStore::RowKey SqliteStore::insertRowUnlessStored(const QString& table,
                                                       const QStringList& columns,
                                                       const std::vector<QVariant>& values,
                                                       const QString& column) {
    const QString doing = QStringLiteral("Cannot add a row to '%1'").arg(table);
    tableName(table, doing);
    columnNames(table, {column}, doing);
    if (valueIn(columns, values, column).isNull()) return insertRow(table, columns, values);
    // The transaction takes the file's write lock before the statement looks
    // for the value (BEGIN IMMEDIATE): another program storing the same value
    // waits for it, then finds this row.
    RowKey key = 0;
    inTransaction([&] { key = insertGuarded(table, columns, values, column); }, QString());
    return key;
}

SqliteStore::RowKey SqliteStore::insertGuarded(const QString& table, const QStringList& columns,
                                               const std::vector<QVariant>& values,
                                               const QString& distinct) {
    const QString doing = QStringLiteral("Cannot add a row to '%1'").arg(table);
    requireSameFile();
    const QString name = tableName(table, doing);
    const KeyGuard guard = keyGuard(table);
    // A row with no values takes SQLite's own key and nothing else.
    const QStringList list = columns.isEmpty() ? QStringList{QStringLiteral("rowid")}
                                               : quotedColumns(describe(table), columns, doing);
    const QString distinctName =
        distinct.isEmpty() ? QString() : columnNames(table, {distinct}, doing);
    Statement q =
        statement(store_sql::guardedInsert(SqlDialect::sqlite(), name, QStringLiteral("rowid"),
                                           list, distinctName, guard.condition),
                  doing);
    int at = 1;
    for (const auto& v : values) q.bind(at++, v);
    if (columns.isEmpty()) q.bind(at++, QVariant());
    const QVariant value = valueIn(columns, values, distinct);
    if (!distinct.isEmpty()) q.bind(at++, value);
    guard.bind(q, at);
    if (!q.step()) {
        // Held back by the file made anew, or else by the row holding the value.
        if (distinct.isEmpty()) failMadeAnew(path_);
        requireNotMadeAnew(guard);
        const SourceInfo info = describe(table);
        failAlreadyStored(info.name, info.columns[info.indexOf(distinct)], value);
    }
    const RowKey key = q.integer(0);
    q.step();  // the statement's end
    noteKeys(table, {key});
    return key;
}

void SqliteStore::deleteRow(const QString& table, RowKey key) {
    const QString doing = QStringLiteral("Cannot delete from '%1'").arg(table);
    requireSameFile();
    const QString name = tableName(table, doing);
    const KeyGuard guard = keyGuard(table);
    QString sql =
        QStringLiteral("DELETE FROM %1 WHERE rowid=?%2")
            .arg(name,
                 guard.condition.isEmpty() ? QString() : QStringLiteral(" AND ") + guard.condition);
    Statement q = statement(sql, doing);
    q.bind(1, key);
    int at = 2;
    guard.bind(q, at);
    q.step();
    if (sqlite3_changes(connection_->handle()) == 0) requireNotMadeAnew(guard);
    ++removals_;
}

std::optional<double> SqliteStore::addToAmount(const QString& table, RowKey key,
                                               const QString& column, double amount,
                                               const QString& guardColumn,
                                               const QVariant& guardValue) {
    const QString doing = QStringLiteral("Cannot save into '%1'").arg(table);
    requireSameFile();
    const QString name = tableName(table, doing);
    const QString figure = columnNames(table, {column}, doing);
    const KeyGuard guard = keyGuard(table);
    // The sum is made by SQLite from what the row holds at this moment.
    const QString sql =
        store_sql::guardedAddition(SqlDialect::sqlite(), name, QStringLiteral("rowid"), figure,
                                   columnNames(table, {guardColumn}, doing), guard.condition);
    Statement q = statement(sql, doing);
    q.bind(1, amount);
    q.bind(2, key);
    q.bind(3, guardValue);
    int at = 4;
    guard.bind(q, at);
    if (!q.step()) {
        requireNotMadeAnew(guard);
        return std::nullopt;
    }
    const double now = q.value(0).toDouble();
    q.step();  // the statement's end
    return now;
}

SqliteStore::Outcome SqliteStore::inTransaction(const std::function<void()>& work, const QString&) {
    // The outer call takes the file's write lock at once (another program
    // waits for it, as for any write); inner calls are savepoints in it.
    const int depth = transactionDepth_;
    const QString savepoint = QStringLiteral("step%1").arg(depth);
    if (depth == 0) {
        requireSameFile();
        execute(QStringLiteral("BEGIN IMMEDIATE"));
    } else {
        execute(QStringLiteral("SAVEPOINT ") + savepoint);
    }
    // Keys handed out inside a transaction that is undone are handed out
    // again: the counter goes back with it, and that is no sign of the file
    // having been made anew.
    const QHash<QString, RowKey> keysSeen = highestKey_;
    auto undo = [&] {
        highestKey_ = keysSeen;
        // Whatever failed is reported, not the undoing; SQLite undoes a
        // transaction it could not finish by itself at the next statement.
        try {
            if (depth == 0) {
                if (!sqlite3_get_autocommit(connection_->handle()))
                    execute(QStringLiteral("ROLLBACK"));
            } else {
                execute(QStringLiteral("ROLLBACK TO ") + savepoint);
                execute(QStringLiteral("RELEASE ") + savepoint);
            }
        } catch (...) {
        }
    };
    ++transactionDepth_;
    try {
        work();
    } catch (...) {
        --transactionDepth_;
        undo();
        throw;
    }
    --transactionDepth_;
    try {
        execute(depth == 0 ? QStringLiteral("COMMIT") : QStringLiteral("RELEASE ") + savepoint);
    } catch (...) {
        undo();
        throw;
    }
    return Outcome::Stored;
}

quint64 SqliteStore::removalMark(const QString& table) {
    tableName(table, QStringLiteral("Cannot read '%1'").arg(table));
    // data_version changes when another connection (another program, or the
    // backup at start-up) committed anything; this store's own deletions are
    // counted as they happen.
    // Not read: taken for a change, which costs a full read of the keys.
    qint64 version = -1;
    try {
        Statement q = statement(QStringLiteral("PRAGMA data_version"), QString());
        if (q.step()) version = q.integer(0);
    } catch (const LedgerError&) {
    }
    if (version != othersVersion_ || version < 0) ++removals_;
    othersVersion_ = version;
    return removals_;
}

std::vector<SqliteStore::RowKey> SqliteStore::rowKeysAbove(const QString& table, RowKey after) {
    const QString doing = QStringLiteral("Cannot read '%1'").arg(table);
    Statement q = statement(QStringLiteral("SELECT rowid FROM %1 WHERE rowid>? ORDER BY rowid")
                                .arg(tableName(table, doing)),
                            doing);
    q.bind(1, after);
    std::vector<RowKey> keys;
    while (q.step()) keys.push_back(q.integer(0));
    noteKeys(table, keys);
    return keys;
}

std::optional<std::pair<QString, QString>> SqliteStore::textColumn(const QString& table,
                                                                   const QString& column) {
    // Only a column of text affinity holds every value as text, so that a
    // comparison of characters finds it; in any other a number stays a
    // number and would never equal its own text.
    const SourceInfo info = describe(table);
    const int at = info.indexOf(column);
    if (!info.isTable || at < 0) return std::nullopt;
    Statement type =
        statement(QStringLiteral("SELECT upper(type) FROM pragma_table_info(?) WHERE name=?"),
                  QStringLiteral("Cannot read '%1'").arg(table));
    type.bind(1, info.name);
    type.bind(2, info.columns[at]);
    if (!type.step()) return std::nullopt;
    if (!SqlDialect::sqlite().declaresText(type.value(0).toString())) return std::nullopt;
    return std::pair{quoteName(info.name), quoteName(info.columns[at])};
}

std::optional<std::vector<SqliteStore::RowKey>> SqliteStore::rowKeysHoldingText(
    const QString& table, const QString& column, const QString& text) {
    const auto names = textColumn(table, column);
    if (!names) return std::nullopt;
    Statement q = statement(QStringLiteral("SELECT rowid FROM %1 WHERE %2=? ORDER BY rowid")
                                .arg(names->first, names->second),
                            QStringLiteral("Cannot read '%1'").arg(table));
    q.bind(1, text);
    std::vector<RowKey> keys;
    while (q.step()) keys.push_back(q.integer(0));
    return keys;
}

std::optional<std::vector<SqliteStore::TextRow>> SqliteStore::rowsPerhapsMatching(
    const QString& table, const QString& column, const QString& pattern) {
    // GLOB compares characters as they are, with the same two wildcards, and
    // a pattern with a fixed start takes the column's index.
    const auto names = textColumn(table, column);
    if (!names) return std::nullopt;
    Statement q =
        statement(QStringLiteral("SELECT rowid, %2 FROM %1 WHERE %2 GLOB ? ORDER BY rowid")
                      .arg(names->first, names->second),
                  QStringLiteral("Cannot read '%1'").arg(table));
    q.bind(1, pattern);
    std::vector<TextRow> rows;
    while (q.step()) rows.emplace_back(q.integer(0), q.value(1).toString());
    return rows;
}

QString SqliteStore::keptTableOf(const SourceInfo& savedQuery) {
    const schema::KeptTotals* kept = schema::keptTotalsOf(savedQuery.name);
    if (!kept) return {};
    const QString key = savedQuery.name.toLower();
    if (auto found = keptTables_.constFind(key); found != keptTables_.constEnd()) return *found;
    // The table and the triggers that keep it, on the table it adds up.
    const QStringList triggers = schema::keptFileTriggers(*kept);
    const QString doing = QStringLiteral("Cannot read the database's tables");
    Statement q = statement(
        QStringLiteral("SELECT count(*) FROM sqlite_schema WHERE (type = 'table' AND name = ?) OR "
                       "(type = 'trigger' AND tbl_name = ? AND name IN (%1))")
            .arg(QStringList(triggers.size(), QStringLiteral("?")).join(QLatin1Char(','))),
        doing);
    q.bind(1, kept->table);
    q.bind(2, kept->source);
    for (int i = 0; i < triggers.size(); ++i) q.bind(3 + i, triggers[i]);
    if (!q.step()) failFromSqlite(SQLITE_ERROR, doing);
    const QString table = q.integer(0) == 1 + triggers.size() ? kept->table : QString();
    keptTables_.insert(key, table);
    return table;
}

void SqliteStore::scan(const QString& source, const QStringList& columns, const RowVisitor& visit) {
    // Tables stream in rowid order with their keys; saved queries in their own
    // order, numbered from 0. A saved query whose rows the file keeps ready
    // is read from the table that keeps them, in the saved query's order.
    const QString doing = QStringLiteral("Cannot read '%1'").arg(source);
    SourceInfo info = describe(source);
    const QString list = columnNames(source, columns, doing);
    QString from = quoteName(info.name);
    if (!info.isTable) {
        if (const QString kept = keptTableOf(info); !kept.isEmpty()) {
            QStringList order;
            for (const QString& group : schema::keptTotalsOf(info.name)->groupColumns)
                order << quoteName(group);
            order << quoteName(schema::kMonthNumber);
            from = quoteName(kept) + QStringLiteral(" ORDER BY ") + order.join(QLatin1Char(','));
        }
    }
    QString sql = info.isTable ? QStringLiteral("SELECT rowid,%1 FROM %2 ORDER BY rowid")
                                     .arg(list, quoteName(info.name))
                               : QStringLiteral("SELECT 0,%1 FROM %2").arg(list, from);
    if (columns.isEmpty())
        sql = info.isTable
                  ? QStringLiteral("SELECT rowid FROM %1 ORDER BY rowid").arg(quoteName(info.name))
                  : QStringLiteral("SELECT 0 FROM %1").arg(from);
    Statement q = statement(sql, doing);
    std::vector<QVariant> values(columns.size());
    RowKey ordinal = 0;
    while (q.step()) {
        for (int i = 0; i < columns.size(); ++i) values[i] = q.value(i + 1);
        RowKey key = info.isTable ? q.integer(0) : ordinal++;
        if (!visit(key, values)) return;
    }
}

void SqliteStore::scanBelow(const QString& table, RowKey belowKey, const QStringList& columns,
                            const RowVisitor& visit) {
    const QString doing = QStringLiteral("Cannot read '%1'").arg(table);
    const QString name = tableName(table, doing);
    QString sql =
        QStringLiteral("SELECT rowid%1 FROM %2 WHERE rowid<? ORDER BY rowid DESC")
            .arg(columns.isEmpty() ? QString()
                                   : QLatin1Char(',') + columnNames(table, columns, doing),
                 name);
    Statement q = statement(sql, doing);
    q.bind(1, belowKey);
    std::vector<QVariant> values(columns.size());
    while (q.step()) {
        for (int i = 0; i < columns.size(); ++i) values[i] = q.value(i + 1);
        if (!visit(q.integer(0), values)) return;
    }
}

void SqliteStore::requireSameFile() const {
    quint64 device = 0, inode = 0;
    if (identityOf(path_, device, inode) && device == device_ && inode == inode_) return;
    fail(ErrorCode::FileReplaced,
         QStringLiteral("The database file '%1' was replaced or removed by another program "
                        "since it was opened, so what was typed cannot be stored safely. The "
                        "text stays in the window: note it, then close the window and open it "
                        "again.")
             .arg(path_));
}

}  // namespace ledger
