// SPDX-License-Identifier: GPL-3.0-or-later
#include "ledger/store/postgres/postgres_store.h"

#include <QElapsedTimer>
#include <QThread>

#include "ledger/base/ledger_error.h"
#include "ledger/schema/schema.h"
#include "ledger/store/sql_dialect.h"
#include "ledger/store/store_sql.h"

namespace ledger {

namespace {

// Connections shared per address within this process.
QHash<QString, std::weak_ptr<PostgresStore>>& openServerStores() {
    static QHash<QString, std::weak_ptr<PostgresStore>> stores;
    return stores;
}

using Resend = ServerConnection::Resend;

const QString kKey = SqlDialect::postgres().rowOrder();

}  // namespace

PostgresStore::PostgresStore(const QString& address) : address_(address), connection_(address) {
    auto rows = connection_.run(QStringLiteral("SELECT current_schema()"), {},
                                QStringLiteral("Cannot read the database's tables"));
    schema_ = rows.count() == 1 ? rows.value(0, 0).toString() : QString();
}

PostgresStore::~PostgresStore() { openServerStores().remove(address_); }

std::shared_ptr<PostgresStore> PostgresStore::open(const QString& address) {
    if (auto existing = openServerStores().value(address).lock()) return existing;
    std::shared_ptr<PostgresStore> store(new PostgresStore(address));
    openServerStores().insert(address, store);
    return store;
}

PostgresStore::SourceInfo PostgresStore::describe(const QString& source) {
    // Asked for, the source is read from the catalogue as it is now: another
    // program may have changed its columns (the server keeps no version of
    // its tables that a look would cost less than reading them).
    SourceInfo info = readDescription(source);
    described_.insert(source.toLower(), info);
    // And whether the books keep its rows ready, as they are now too (the
    // kept table may have been dropped or made since).
    keptTables_.remove(source.toLower());
    return info;
}

PostgresStore::SourceInfo PostgresStore::described(const QString& source) {
    // The store's own statements go by the description read last.
    if (auto found = described_.constFind(source.toLower()); found != described_.constEnd())
        return *found;
    return describe(source);
}

PostgresStore::SourceInfo PostgresStore::readDescription(const QString& source) {
    const QString doing = QStringLiteral("Cannot read the database's tables");
    // Tables and views of the schema the connection works in; the name is
    // matched here, without regard to case, as the file store does.
    auto found = connection_.run(
        QStringLiteral(
            "SELECT c.oid, c.relname, c.relkind IN ('r', 'p') FROM pg_catalog.pg_class c "
            "JOIN pg_catalog.pg_namespace n ON n.oid = c.relnamespace "
            "WHERE n.nspname = $1 AND c.relkind IN ('r', 'p', 'v', 'm')"),
        {schema_}, doing);
    SourceInfo info;
    QString oid;
    for (int i = 0; i < found.count(); ++i) {
        if (found.text(i, 1).compare(source, Qt::CaseInsensitive) != 0) continue;
        oid = found.text(i, 0);
        info.name = found.text(i, 1);
        info.isTable = found.text(i, 2) == QLatin1String("t");
        break;
    }
    if (info.name.isEmpty())
        fail(ErrorCode::UnknownName,
             QStringLiteral("The database '%1' has no table or query named '%2'.")
                 .arg(path(), source));
    if (info.isTable && !tableNumbers_.contains(source.toLower()))
        tableNumbers_.insert(source.toLower(), oid);

    auto columns = connection_.run(
        QStringLiteral("SELECT attname, format_type(atttypid, atttypmod) FROM "
                       "pg_catalog.pg_attribute WHERE attrelid = $1::oid AND attnum > 0 AND NOT "
                       "attisdropped ORDER BY attnum"),
        {oid}, QStringLiteral("Cannot read the columns"));
    // The program's own tables take their column kinds from the schema, a
    // column the schema does not know from the type the server reports. A
    // saved query stores nothing typed: none of its columns is an amount.
    const schema::Table* known = info.isTable ? schema::findTable(info.name) : nullptr;
    QStringList& texts = textColumns_[source.toLower()];
    texts.clear();
    for (int i = 0; i < columns.count(); ++i) {
        const QString name = columns.text(i, 0);
        if (SqlDialect::postgres().declaresText(columns.text(i, 1))) texts << name;
        if (info.isTable && name.compare(schema::kRowKey, Qt::CaseInsensitive) == 0) {
            info.lastingKeys = true;
            continue;
        }
        info.columns << name;
        if (const schema::Column* column = known ? schema::findColumn(*known, name) : nullptr) {
            info.isAmount.push_back(column->kind == schema::Kind::Amount);
            continue;
        }
        info.isAmount.push_back(info.isTable &&
                                SqlDialect::postgres().declaresNumber(columns.text(i, 1)));
    }
    return info;
}

QString PostgresStore::tableName(const QString& table, const QString& doing) {
    const SourceInfo info = described(table);
    requireTable(info, doing);
    return quoteName(schema_) + QLatin1Char('.') + quoteName(info.name);
}

QStringList PostgresStore::quotedColumns(const QString& source, const QStringList& columns,
                                         const QString& doing) {
    return ledger::quotedColumns(described(source), columns, doing);
}

QString PostgresStore::columnNames(const QString& source, const QStringList& columns,
                                   const QString& doing) {
    return quotedColumns(source, columns, doing).join(QLatin1Char(','));
}

std::vector<PostgresStore::RowKey> PostgresStore::rowKeys(const QString& table) {
    const QString doing = QStringLiteral("Cannot read '%1'").arg(table);
    auto rows = connection_.run(
        QStringLiteral("SELECT %1 FROM %2 ORDER BY %1").arg(kKey, tableName(table, doing)), {},
        doing);
    std::vector<RowKey> keys;
    keys.reserve(rows.count());
    for (int i = 0; i < rows.count(); ++i) keys.push_back(rows.number(i, 0));
    return keys;
}

std::optional<std::pair<PostgresStore::RowKey, PostgresStore::RowKey>> PostgresStore::keyRange(
    const QString& table) {
    const QString doing = QStringLiteral("Cannot read '%1'").arg(table);
    auto rows = connection_.run(
        QStringLiteral("SELECT min(%1), max(%1) FROM %2").arg(kKey, tableName(table, doing)), {},
        doing);
    if (rows.count() != 1 || rows.value(0, 0).isNull()) return std::nullopt;
    return std::pair{rows.number(0, 0), rows.number(0, 1)};
}

std::vector<PostgresStore::RowKey> PostgresStore::rowKeysUpTo(const QString& table,
                                                              RowKey highest) {
    const QString doing = QStringLiteral("Cannot read '%1'").arg(table);
    auto rows = connection_.run(QStringLiteral("SELECT %1 FROM %2 WHERE %1 <= $1 ORDER BY %1")
                                    .arg(kKey, tableName(table, doing)),
                                {highest}, doing);
    std::vector<RowKey> keys;
    keys.reserve(rows.count());
    for (int i = 0; i < rows.count(); ++i) keys.push_back(rows.number(i, 0));
    return keys;
}

// Keys are handed out by the table's sequence and never again, so the keys
// handed out minus the rows there are the rows ever removed (plus inserts
// that were rolled back, which only cost a full read): the count grows with
// every removal, by this program or any other, and stays put while rows are
// only added.
quint64 PostgresStore::removalMark(const QString& table) {
    const QString doing = QStringLiteral("Cannot read '%1'").arg(table);
    const QString name = tableName(table, doing);
    auto rows = connection_.run(
        QStringLiteral("SELECT COALESCE(pg_sequence_last_value(pg_get_serial_sequence($1, $2)), 0) "
                       "- (SELECT count(*) FROM %1)")
            .arg(name),
        {name, schema::kRowKey}, doing);
    return static_cast<quint64>(rows.number(0, 0));
}

std::vector<PostgresStore::RowKey> PostgresStore::rowKeysAbove(const QString& table, RowKey after) {
    const QString doing = QStringLiteral("Cannot read '%1'").arg(table);
    auto rows = connection_.run(QStringLiteral("SELECT %1 FROM %2 WHERE %1 > $1 ORDER BY %1")
                                    .arg(kKey, tableName(table, doing)),
                                {after}, doing);
    std::vector<RowKey> keys;
    keys.reserve(rows.count());
    for (int i = 0; i < rows.count(); ++i) keys.push_back(rows.number(i, 0));
    return keys;
}

std::optional<std::vector<PostgresStore::RowKey>> PostgresStore::rowKeysHoldingText(
    const QString& table, const QString& column, const QString& text) {
    // Only a text column compares character for character with "=" (the
    // server's collations here are deterministic); the index on Date makes
    // the look-up of a day cost the same in any size of ledger.
    const SourceInfo info = described(table);
    const int at = info.indexOf(column);
    if (!info.isTable || at < 0 || !textColumns_.value(table.toLower()).contains(info.columns[at]))
        return std::nullopt;
    const QString doing = QStringLiteral("Cannot read '%1'").arg(table);
    auto rows =
        connection_.run(QStringLiteral("SELECT %1 FROM %2 WHERE %3 = $1 ORDER BY %1")
                            .arg(kKey, tableName(table, doing), quoteName(info.columns[at])),
                        {text}, doing);
    std::vector<RowKey> keys;
    keys.reserve(rows.count());
    for (int i = 0; i < rows.count(); ++i) keys.push_back(rows.number(i, 0));
    return keys;
}

std::optional<std::vector<PostgresStore::TextRow>> PostgresStore::rowsPerhapsMatching(
    const QString& table, const QString& column, const QString& pattern) {
    // LIKE with the pattern's two wildcards spelled as the server's; the
    // pattern holds neither of its own wildcards nor its escape character.
    const SourceInfo info = described(table);
    const int at = info.indexOf(column);
    if (!info.isTable || at < 0 || !textColumns_.value(table.toLower()).contains(info.columns[at]))
        return std::nullopt;
    QString like = pattern;
    like.replace(QLatin1Char('*'), QLatin1Char('%')).replace(QLatin1Char('?'), QLatin1Char('_'));
    const QString doing = QStringLiteral("Cannot read '%1'").arg(table);
    const QString name = quoteName(info.columns[at]);
    auto rows = connection_.run(QStringLiteral("SELECT %1, %3 FROM %2 WHERE %3 LIKE $1 ORDER BY %1")
                                    .arg(kKey, tableName(table, doing), name),
                                {like}, doing);
    std::vector<TextRow> found;
    found.reserve(rows.count());
    for (int i = 0; i < rows.count(); ++i)
        found.emplace_back(rows.number(i, 0), rows.value(i, 1).toString());
    return found;
}

std::vector<QVariant> PostgresStore::readRow(const QString& table, RowKey key,
                                             const QStringList& columns) {
    const QString doing = QStringLiteral("Cannot read a row of '%1'").arg(table);
    const QString list = columns.isEmpty() ? kKey : columnNames(table, columns, doing);
    auto rows = connection_.run(
        QStringLiteral("SELECT %1 FROM %2 WHERE %3 = $1").arg(list, tableName(table, doing), kKey),
        {key}, doing);
    std::vector<QVariant> values;
    if (rows.count() == 0) return values;
    values.reserve(columns.size());
    for (int i = 0; i < columns.size(); ++i) values.push_back(rows.value(0, i));
    return values;
}

QString PostgresStore::tableNumber(const QString& table) {
    described(table);
    return tableNumbers_.value(table.toLower());
}

void PostgresStore::requireNotMadeAnew(const QString& table, const QString& doing) {
    const QString name = tableName(table, doing);
    auto now = connection_.run(QStringLiteral("SELECT to_regclass($1)::oid"), {name}, doing);
    if (now.count() != 1 || now.text(0, 0) != tableNumber(table)) failMadeAnew(path());
}

bool PostgresStore::updateRow(const QString& table, RowKey key, const QStringList& columns,
                              const std::vector<QVariant>& values, const QStringList& checked,
                              const std::vector<QVariant>& expected) {
    const QString doing = QStringLiteral("Cannot save into '%1'").arg(table);
    const QString name = tableName(table, doing);
    const QStringList quoted = quotedColumns(table, columns, doing);
    const QStringList quotedChecked = quotedColumns(table, checked, doing);
    const QString number = tableNumber(table);
    // The new values, then the key, the values this window read and the
    // table's number: a table made anew (another number) takes nothing,
    // whatever its rows hold.
    const SqlDialect& server = SqlDialect::postgres();
    const QString guard =
        QStringLiteral("tableoid = %1::oid")
            .arg(server.placeholder(static_cast<int>(quoted.size() + quotedChecked.size()) + 2));
    std::vector<QVariant> parameters = values;
    parameters.push_back(key);
    parameters.insert(parameters.end(), expected.begin(), expected.end());
    parameters.push_back(number);
    const QString sql = store_sql::guardedUpdate(server, name, kKey, quoted, quotedChecked, guard);
    if (quoted.isEmpty()) {  // nothing to store: true while the row is there
        if (connection_.run(sql, parameters, doing).number(0, 0) == 1) return true;
        requireNotMadeAnew(table, doing);
        return false;
    }
    // Sent again after a lost connection: if the first one was stored, the
    // second finds the new values in place of the expected ones.
    const auto updated = connection_.run(sql, parameters, doing, Resend::Always);
    if (updated.changedCount() == 1) return true;
    requireNotMadeAnew(table, doing);
    if (!updated.wasSentAgain()) return false;
    // Sent again: the row holding exactly these values, and still about the
    // same day or name, is what the first try stored before its answer was
    // lost.
    QStringList identity;
    std::vector<QVariant> identityValues;
    for (qsizetype i = 0; i < checked.size(); ++i)
        if (!columns.contains(checked[i], Qt::CaseInsensitive)) {
            identity << checked[i];
            identityValues.push_back(expected[static_cast<size_t>(i)]);
        }
    const std::vector<QVariant> now = readRow(table, key, columns + identity);
    if (now.empty()) return false;
    std::vector<QVariant> wanted = values;
    wanted.insert(wanted.end(), identityValues.begin(), identityValues.end());
    for (size_t i = 0; i < now.size(); ++i)
        if (now[i].isNull() != wanted[i].isNull() || now[i] != wanted[i]) return false;
    return true;
}

PostgresStore::RowKey PostgresStore::insertRow(const QString& table, const QStringList& columns,
                                               const std::vector<QVariant>& values) {
    return insertGuarded(table, columns, values, QString());
}

PostgresStore::RowKey PostgresStore::insertRowUnlessStored(const QString& table,
                                                           const QStringList& columns,
                                                           const std::vector<QVariant>& values,
                                                           const QString& column) {
    const QString doing = QStringLiteral("Cannot add a row to '%1'").arg(table);
    const QString name = tableName(table, doing);
    quotedColumns(table, {column}, doing);
    const QVariant value = valueIn(columns, values, column);
    if (value.isNull()) return insertRow(table, columns, values);
    RowKey key = 0;
    inTransaction(
        [&] {
            // Under READ COMMITTED each statement sees what was committed
            // before it began, so two tills looking at once would both find
            // no such row and both insert. The lock on this table and value,
            // held until the transaction ends, makes the second till wait
            // here until the first one's row is committed; its look, a
            // statement begun after the lock was granted, then finds that
            // row. (So the lock is a statement of its own, not part of the
            // insert.)
            connection_.run(
                QStringLiteral("SELECT pg_advisory_xact_lock(hashtext($1), hashtext($2))"),
                {name, value}, doing, Resend::Never);
            key = insertGuarded(table, columns, values, column);
        },
        QString());
    return key;
}

PostgresStore::RowKey PostgresStore::insertGuarded(const QString& table, const QStringList& columns,
                                                   const std::vector<QVariant>& values,
                                                   const QString& distinct) {
    const QString doing = QStringLiteral("Cannot add a row to '%1'").arg(table);
    const QString name = tableName(table, doing);
    // A row with no values holds nothing in its first column either.
    const QStringList stored =
        columns.isEmpty() ? QStringList{described(table).columns.value(0)} : columns;
    std::vector<QVariant> parameters = values;
    if (columns.isEmpty()) parameters.emplace_back();
    QString distinctName;
    const QVariant value = valueIn(columns, values, distinct);
    if (!distinct.isEmpty()) {
        distinctName = quotedColumns(table, {distinct}, doing).front();
        parameters.push_back(value);
    }
    // The row goes in only while the table under that name is the one first
    // read: a table made anew would hand out its old keys again.
    const int next = static_cast<int>(parameters.size()) + 1;
    const QString guard =
        QStringLiteral("to_regclass($%1)::oid = $%2::oid").arg(next).arg(next + 1);
    parameters.push_back(name);
    parameters.push_back(tableNumber(table));
    auto rows = connection_.run(
        store_sql::guardedInsert(SqlDialect::postgres(), name, kKey,
                                 quotedColumns(table, stored, doing), distinctName, guard),
        parameters, doing, Resend::IfServerRefused);
    if (rows.count() == 0) {
        // Held back by the table made anew, or else by the row holding the
        // value.
        if (distinct.isEmpty()) failMadeAnew(path());
        requireNotMadeAnew(table, doing);
        const SourceInfo info = described(table);
        failAlreadyStored(info.name, info.columns[info.indexOf(distinct)], value);
    }
    if (rows.count() != 1)
        fail(ErrorCode::StoreFailure, doing + QStringLiteral(": no key returned"));
    return rows.number(0, 0);
}

void PostgresStore::deleteRow(const QString& table, RowKey key) {
    const QString doing = QStringLiteral("Cannot delete from '%1'").arg(table);
    const auto deleted =
        connection_.run(QStringLiteral("DELETE FROM %1 WHERE %2 = $1 AND tableoid = $2::oid")
                            .arg(tableName(table, doing), kKey),
                        {key, tableNumber(table)}, doing);
    if (deleted.changedCount() == 0) requireNotMadeAnew(table, doing);
}

QString PostgresStore::keptTableOf(const SourceInfo& savedQuery) {
    const schema::KeptTotals* kept = schema::keptTotalsOf(savedQuery.name);
    if (!kept) return {};
    const QString key = savedQuery.name.toLower();
    if (auto found = keptTables_.constFind(key); found != keptTables_.constEnd()) return *found;
    // The table, and the triggers that keep it on the table it adds up.
    const QStringList triggers = schema::keptServerTriggers(*kept);
    auto rows = connection_.run(
        QStringLiteral(
            "SELECT (SELECT count(*) FROM pg_catalog.pg_class c JOIN pg_catalog.pg_namespace n "
            "ON n.oid = c.relnamespace WHERE n.nspname = $1 AND c.relname = $2 AND c.relkind = "
            "'r') + (SELECT count(*) FROM pg_catalog.pg_trigger t JOIN pg_catalog.pg_class c ON "
            "c.oid = t.tgrelid JOIN pg_catalog.pg_namespace n ON n.oid = c.relnamespace WHERE "
            "n.nspname = $1 AND c.relname = $3 AND t.tgname IN ($4, $5) AND t.tgenabled <> 'D')"),
        {schema_, kept->table, kept->source, triggers[0], triggers[1]},
        QStringLiteral("Cannot read the database's tables"));
    const QString table = rows.number(0, 0) == 1 + triggers.size()
                              ? quoteName(schema_) + QLatin1Char('.') + quoteName(kept->table)
                              : QString();
    keptTables_.insert(key, table);
    return table;
}

void PostgresStore::scan(const QString& source, const QStringList& columns,
                         const RowVisitor& visit) {
    // Tables stream in key order with their keys; saved queries in their own
    // order, numbered from 0. A saved query whose rows the database keeps
    // ready is read from the table that keeps them, in the saved query's
    // order (its texts in byte order, empty ones first, as in a file).
    const QString doing = QStringLiteral("Cannot read '%1'").arg(source);
    const SourceInfo info = described(source);
    QString name = quoteName(schema_) + QLatin1Char('.') + quoteName(info.name);
    if (!info.isTable) {
        if (const QString kept = keptTableOf(info); !kept.isEmpty()) {
            QStringList order;
            for (const QString& group : schema::keptTotalsOf(info.name)->groupColumns)
                order << quoteName(group) + QStringLiteral(" COLLATE \"C\" NULLS FIRST");
            order << quoteName(schema::kMonthNumber);
            name = kept + QStringLiteral(" ORDER BY ") + order.join(QLatin1Char(','));
        }
    }
    const QString list = columns.isEmpty() ? QString() : columnNames(source, columns, doing);
    QString sql;
    if (info.isTable)
        sql = QStringLiteral("SELECT %1%2 FROM %3 ORDER BY %1")
                  .arg(kKey, list.isEmpty() ? QString() : QLatin1Char(',') + list, name);
    else
        sql = QStringLiteral("SELECT 0%1 FROM %2")
                  .arg(list.isEmpty() ? QString() : QLatin1Char(',') + list, name);
    std::vector<QVariant> values(columns.size());
    RowKey ordinal = 0;
    connection_.stream(sql, {}, doing, [&](const ServerConnection::Rows& row) {
        for (int i = 0; i < columns.size(); ++i) values[i] = row.value(0, i + 1);
        return visit(info.isTable ? row.number(0, 0) : ordinal++, values);
    });
}

void PostgresStore::scanBelow(const QString& table, RowKey belowKey, const QStringList& columns,
                              const RowVisitor& visit) {
    const QString doing = QStringLiteral("Cannot read '%1'").arg(table);
    const QString list = columns.isEmpty() ? QString() : columnNames(table, columns, doing);
    std::vector<QVariant> values(columns.size());
    connection_.stream(QStringLiteral("SELECT %1%2 FROM %3 WHERE %1 < $1 ORDER BY %1 DESC")
                           .arg(kKey, list.isEmpty() ? QString() : QLatin1Char(',') + list,
                                tableName(table, doing)),
                       {belowKey}, doing, [&](const ServerConnection::Rows& row) {
                           for (int i = 0; i < columns.size(); ++i) values[i] = row.value(0, i + 1);
                           return visit(row.number(0, 0), values);
                       });
}

std::optional<double> PostgresStore::addToAmount(const QString& table, RowKey key,
                                                 const QString& column, double amount,
                                                 const QString& guardColumn,
                                                 const QVariant& guardValue) {
    const QString doing = QStringLiteral("Cannot save into '%1'").arg(table);
    const QStringList quoted = quotedColumns(table, {column, guardColumn}, doing);
    // The sum is made by the server from what the row holds at this moment;
    // a second till's addition waits for this one's row lock, then adds to
    // the result. Not idempotent: sent again only when the server said it
    // did not run it.
    // A table made anew (another number) takes nothing, as with updateRow.
    auto rows = connection_.run(
        store_sql::guardedAddition(SqlDialect::postgres(), tableName(table, doing), kKey, quoted[0],
                                   quoted[1], QStringLiteral("tableoid = $4::oid")),
        {amount, key, guardValue, tableNumber(table)}, doing, Resend::IfServerRefused);
    if (rows.count() == 1) return rows.value(0, 0).toDouble();
    requireNotMadeAnew(table, doing);
    return std::nullopt;
}

PostgresStore::Outcome PostgresStore::inTransaction(const std::function<void()>& work,
                                                    const QString& attempt) {
    if (transactionDepth_ > 0) {
        runNested(work);
        return Outcome::Stored;
    }
    if (!attempt.isEmpty()) {
        if (auto earlier = unconfirmed_.constFind(attempt); earlier != unconfirmed_.constEnd()) {
            switch (statusOf(*earlier)) {
                case CommitStatus::Committed:
                    unconfirmed_.remove(attempt);
                    return Outcome::StoredEarlier;
                case CommitStatus::Aborted:
                    unconfirmed_.remove(attempt);
                    break;
                case CommitStatus::Unknown:
                    fail(ErrorCode::OutcomeUnknown,
                         QStringLiteral("The database server %1 still cannot say whether it "
                                        "stored what was saved before the connection was lost. "
                                        "Nothing was stored now, and nothing will be stored "
                                        "twice: try again in a moment.")
                             .arg(connection_.serverName()));
            }
        }
    }
    return runTransaction(work, attempt);
}

void PostgresStore::runNested(const std::function<void()>& work) {
    const QString savepoint = QStringLiteral("step%1").arg(transactionDepth_);
    const QString doing = QStringLiteral("Cannot save into '%1'").arg(path());
    connection_.run(QStringLiteral("SAVEPOINT ") + savepoint, {}, doing);
    ++transactionDepth_;
    try {
        work();
    } catch (...) {
        --transactionDepth_;
        if (!connection_.isLost()) {
            try {
                connection_.run(QStringLiteral("ROLLBACK TO SAVEPOINT ") + savepoint, {}, doing);
                connection_.run(QStringLiteral("RELEASE SAVEPOINT ") + savepoint, {}, doing);
            } catch (...) {
            }
        }
        throw;
    }
    --transactionDepth_;
    connection_.run(QStringLiteral("RELEASE SAVEPOINT ") + savepoint, {}, doing);
}

PostgresStore::Outcome PostgresStore::runTransaction(const std::function<void()>& work,
                                                     const QString& attempt) {
    const QString doing = QStringLiteral("Cannot save into '%1'").arg(path());
    // Nothing is open yet: a session that ended while idle is reconnected.
    connection_.run(QStringLiteral("BEGIN"), {}, doing);
    connection_.setInTransaction(true);
    Commit commit;
    auto abandon = [&] {
        transactionDepth_ = 0;
        connection_.setInTransaction(false);
        // A lost connection took the transaction with it.
        if (connection_.isLost()) return;
        try {
            connection_.run(QStringLiteral("ROLLBACK"), {}, doing);
        } catch (...) {
        }
    };
    try {
        commit.transaction =
            connection_.run(QStringLiteral("SELECT txid_current()"), {}, doing).number(0, 0);
        commit.process = connection_.backendPid();
        transactionDepth_ = 1;
        work();
    } catch (...) {
        abandon();
        throw;
    }
    transactionDepth_ = 0;
    try {
        connection_.run(QStringLiteral("COMMIT"), {}, doing);
        connection_.setInTransaction(false);
        return Outcome::Stored;
    } catch (const LedgerError&) {
        const bool lost = connection_.isLost();
        abandon();
        if (!lost) throw;  // the server refused it: nothing was stored
    }
    // The connection went while the commit ran: ask the server.
    switch (statusOf(commit)) {
        case CommitStatus::Committed:
            return Outcome::Stored;
        case CommitStatus::Aborted:
            fail(ErrorCode::StoreFailure,
                 QStringLiteral("The connection to the database server %1 was lost while saving "
                                "into '%2', and the server did not store it. Nothing was stored; "
                                "what was typed stays in the window. Save again when the server "
                                "can be reached.")
                     .arg(connection_.serverName(), path()));
        case CommitStatus::Unknown:
            break;
    }
    if (!attempt.isEmpty()) unconfirmed_.insert(attempt, commit);
    fail(ErrorCode::OutcomeUnknown,
         QStringLiteral("The connection to the database server %1 was lost while saving into "
                        "'%2', and the server cannot be asked yet whether it stored it. What was "
                        "typed stays in the window. Nothing will be stored twice: when the server "
                        "can be reached again, save again (it checks first and stores only what "
                        "is not stored yet).")
             .arg(connection_.serverName(), path()));
}

PostgresStore::CommitStatus PostgresStore::statusOf(const Commit& commit) {
    const QString doing = QStringLiteral("Cannot read '%1'").arg(path());
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

}  // namespace ledger
