// SPDX-License-Identifier: GPL-3.0-or-later
#include "ledger/store/sql_store.h"

#include <algorithm>
#include <limits>

#include "ledger/base/ledger_error.h"
#include "ledger/schema/schema.h"
#include "ledger/store/store_sql.h"

namespace ledger {

namespace {

using Resend = SqlEngine::Resend;

QString readingOf(const QString& source) { return QStringLiteral("Cannot read '%1'").arg(source); }
QString savingInto(const QString& table) {
    return QStringLiteral("Cannot save into '%1'").arg(table);
}

QString withColumns(const QString& first, const QStringList& quoted) {
    return quoted.isEmpty() ? first : first + QLatin1Char(',') + quoted.join(QLatin1Char(','));
}

}  // namespace

SqlStore::SqlStore(std::unique_ptr<SqlEngine> engine) : engine_(std::move(engine)) {}

// ------------------------------------------------------------- the catalogue

SqlStore::SourceInfo SqlStore::describe(const QString& source) {
    return description(source, true).info;
}

SqlStore::Described SqlStore::description(const QString& source, bool anew) {
    const QString key = source.toLower();
    // Every search and scan asks. A file says when its tables or saved
    // queries changed: what was read stands until then. A server keeps no
    // such version (a look would cost as much as reading them): a source
    // asked for is read as it is now, and the store's own statements go by
    // the description read last.
    const std::optional<qint64> version = engine_->catalogueVersion();
    if (version && version != describedAt_) {
        described_.clear();
        keptTables_.clear();
        describedAt_ = version;
    }
    if (version || !anew)
        if (auto found = described_.constFind(key); found != described_.constEnd()) return *found;
    // Whether the books keep its rows ready is looked at again with it (the
    // kept table may have been dropped or made since).
    if (!version) keptTables_.remove(key);
    Described read = readDescription(source);
    described_.insert(key, read);
    return read;
}

SqlStore::Described SqlStore::readDescription(const QString& source) {
    std::optional<SqlEngine::Source> found;
    for (SqlEngine::Source& s : engine_->sources())
        if (s.name.compare(source, Qt::CaseInsensitive) == 0) {
            found = std::move(s);
            break;
        }
    if (!found)
        fail(ErrorCode::UnknownName,
             QStringLiteral("The database '%1' has no table or query named '%2'.")
                 .arg(path(), source));
    Described read;
    SourceInfo& info = read.info;
    info.name = found->name;
    info.isTable = found->isTable;
    if (info.isTable && !tableNumbers_.contains(source.toLower()))
        tableNumbers_.insert(source.toLower(), found->number);
    // The program's own tables take their column kinds from the schema, a
    // column the schema does not know from the type the engine reports. A
    // saved query stores nothing typed: none of its columns is an amount.
    const SqlDialect& dialect = engine_->dialect();
    const schema::Table* known = info.isTable ? schema::findTable(info.name) : nullptr;
    for (const SqlEngine::Column& column : engine_->columnsOf(*found)) {
        if (dialect.declaresText(column.type)) read.texts << column.name;
        // The row key is the store's, never a field's.
        if (info.isTable && column.name.compare(schema::kRowKey, Qt::CaseInsensitive) == 0) {
            info.lastingKeys = true;
            continue;
        }
        info.columns << column.name;
        if (const schema::Column* c = known ? schema::findColumn(*known, column.name) : nullptr)
            info.isAmount.push_back(c->kind == schema::Kind::Amount);
        else
            info.isAmount.push_back(info.isTable && dialect.declaresNumber(column.type));
    }
    return read;
}

QString SqlStore::tableName(const QString& table, const QString& doing) {
    const SourceInfo info = described(table);
    requireTable(info, doing);
    return engine_->qualified(info.name);
}

QStringList SqlStore::quotedColumns(const QString& source, const QStringList& columns,
                                    const QString& doing) {
    return ledger::quotedColumns(described(source), columns, doing);
}

QString SqlStore::textColumn(const QString& table, const QString& column) {
    // Only a column that keeps every value as its text finds it by a
    // comparison of characters; in any other a number stays a number and
    // would never equal its own text.
    const Described read = description(table, false);
    const int at = read.info.indexOf(column);
    if (!read.info.isTable || at < 0 || !read.texts.contains(read.info.columns[at])) return {};
    return quoteName(read.info.columns[at]);
}

QString SqlStore::keptTableOf(const SourceInfo& savedQuery) {
    const schema::KeptTotals* kept = schema::keptTotalsOf(savedQuery.name);
    if (!kept) return {};
    const QString key = savedQuery.name.toLower();
    if (auto found = keptTables_.constFind(key); found != keptTables_.constEnd()) return *found;
    const QString table = engine_->keepsTotals(*kept) ? kept->table : QString();
    keptTables_.insert(key, table);
    return table;
}

// ------------------------------------------------------------------ keys

std::vector<SqlStore::RowKey> SqlStore::keysOf(const QString& sql,
                                               const std::vector<QVariant>& values,
                                               const QString& doing) {
    std::vector<RowKey> keys;
    engine_->run(sql, values, doing, [&](const SqlRow& row) {
        keys.push_back(row.integer(0));
        return true;
    });
    return keys;
}

void SqlStore::noteKeys(const QString& table, const std::vector<RowKey>& keys) {
    if (keys.empty()) return;
    RowKey& highest = highestKey_[table.toLower()];
    highest = std::max(highest, *std::max_element(keys.begin(), keys.end()));
}

std::vector<SqlStore::RowKey> SqlStore::rowKeys(const QString& table) {
    return rowKeysUpTo(table, std::numeric_limits<RowKey>::max());
}

std::vector<SqlStore::RowKey> SqlStore::rowKeysUpTo(const QString& table, RowKey highest) {
    // Without an order or a condition a file reads the keys from the
    // smallest index that holds them (the ledger's index of calendar days, a
    // tenth of the table's pages), not from the rows themselves; they are
    // put in order here, which for days entered day by day they mostly are
    // already.
    const QString doing = readingOf(table);
    std::vector<RowKey> keys = keysOf(
        QStringLiteral("SELECT %1 FROM %2").arg(keyColumn(), tableName(table, doing)), {}, doing);
    std::erase_if(keys, [highest](RowKey key) { return key > highest; });
    if (!std::is_sorted(keys.begin(), keys.end())) std::sort(keys.begin(), keys.end());
    noteKeys(table, keys);
    return keys;
}

std::optional<std::pair<SqlStore::RowKey, SqlStore::RowKey>> SqlStore::keyRange(
    const QString& table) {
    // Each end from the key's own order: both engines read one row for each.
    const QString doing = readingOf(table);
    std::optional<std::pair<RowKey, RowKey>> range;
    engine_->run(QStringLiteral("SELECT (SELECT %1 FROM %2 ORDER BY %1 LIMIT 1), "
                                "(SELECT %1 FROM %2 ORDER BY %1 DESC LIMIT 1)")
                     .arg(keyColumn(), tableName(table, doing)),
                 {}, doing, [&](const SqlRow& row) {
                     if (!row.value(0).isNull()) range = std::pair{row.integer(0), row.integer(1)};
                     return false;
                 });
    if (range) noteKeys(table, {range->second});
    return range;
}

std::vector<SqlStore::RowKey> SqlStore::rowKeysAbove(const QString& table, RowKey after) {
    const QString doing = readingOf(table);
    std::vector<RowKey> keys =
        keysOf(QStringLiteral("SELECT %1 FROM %2 WHERE %1 > %3 ORDER BY %1")
                   .arg(keyColumn(), tableName(table, doing), placeholder(1)),
               {after}, doing);
    noteKeys(table, keys);
    return keys;
}

quint64 SqlStore::removalMark(const QString& table) {
    const SourceInfo info = described(table);
    requireTable(info, readingOf(table));
    return removals_ + engine_->removalsElsewhere(info.name);
}

std::optional<std::vector<SqlStore::RowKey>> SqlStore::rowKeysHoldingText(const QString& table,
                                                                          const QString& column,
                                                                          const QString& text) {
    // The index on Date makes the look-up of a day cost the same in any size
    // of ledger.
    const QString name = textColumn(table, column);
    if (name.isEmpty()) return std::nullopt;
    const QString doing = readingOf(table);
    return keysOf(QStringLiteral("SELECT %1 FROM %2 WHERE %3 = %4 ORDER BY %1")
                      .arg(keyColumn(), tableName(table, doing), name, placeholder(1)),
                  {text}, doing);
}

std::vector<SqlStore::RowKey> SqlStore::rowKeysHoldingNumber(const QString& table,
                                                             const QString& column, qint64 number) {
    const Described read = description(table, false);
    const int at = read.info.indexOf(column);
    if (!read.info.isTable || at < 0) return {};
    const QString doing = readingOf(table);
    return keysOf(QStringLiteral("SELECT %1 FROM %2 WHERE %3 = %4 ORDER BY %1")
                      .arg(keyColumn(), tableName(table, doing), quoteName(read.info.columns[at]),
                           placeholder(1)),
                  {QVariant(number)}, doing);
}

std::optional<std::vector<SqlStore::TextRow>> SqlStore::rowsPerhapsMatching(
    const QString& table, const QString& column, const QString& pattern) {
    // The engine's own matching of characters as they are, with the same two
    // wildcards; a pattern with a fixed start takes the column's index.
    const QString name = textColumn(table, column);
    if (name.isEmpty()) return std::nullopt;
    const QString doing = readingOf(table);
    const SqlDialect& dialect = engine_->dialect();
    std::vector<TextRow> rows;
    engine_->run(
        QStringLiteral("SELECT %1, %3 FROM %2 WHERE %4 ORDER BY %1")
            .arg(keyColumn(), tableName(table, doing), name, dialect.matches(name, placeholder(1))),
        {dialect.pattern(pattern)}, doing, [&](const SqlRow& row) {
            rows.emplace_back(row.integer(0), row.value(1).toString());
            return true;
        });
    return rows;
}

// ------------------------------------------------------------------ rows

std::vector<QVariant> SqlStore::readRow(const QString& table, RowKey key,
                                        const QStringList& columns) {
    const QString doing = QStringLiteral("Cannot read a row of '%1'").arg(table);
    const QString name = tableName(table, doing);
    if (columns.isEmpty()) return {};  // nothing to read, whether the row is there or not
    std::vector<QVariant> values;
    engine_->run(QStringLiteral("SELECT %1 FROM %2 WHERE %3 = %4")
                     .arg(quotedColumns(table, columns, doing).join(QLatin1Char(',')), name,
                          keyColumn(), placeholder(1)),
                 {key}, doing, [&](const SqlRow& row) {
                     for (int i = 0; i < columns.size(); ++i) values.push_back(row.value(i));
                     return false;
                 });
    return values;
}

QString SqlStore::stillTheTable(const QString& table, std::vector<QVariant>& values) {
    const SourceInfo info = described(table);
    const QString key = table.toLower();
    return engine_->stillTheTable(
        {info.name, tableNumbers_.value(key), highestKey_.value(key), info.lastingKeys}, values);
}

void SqlStore::requireNotMadeAnew(const QString& table) {
    std::vector<QVariant> values;
    const QString condition = stillTheTable(table, values);
    if (condition.isEmpty()) return;
    qint64 holds = 0;
    engine_->run(QStringLiteral("SELECT count(*) WHERE ") + condition, values, readingOf(table),
                 [&](const SqlRow& row) {
                     holds = row.integer(0);
                     return false;
                 });
    if (holds == 0) failMadeAnew(path());
}

bool SqlStore::updateRow(const QString& table, RowKey key, const QStringList& columns,
                         const std::vector<QVariant>& values, const QStringList& checked,
                         const std::vector<QVariant>& expected) {
    const QString doing = savingInto(table);
    engine_->requireSameBooks();
    const QString name = tableName(table, doing);
    const QStringList stored = quotedColumns(table, columns, doing);
    const QStringList compared = quotedColumns(table, checked, doing);
    // The new values, then the key, the values this window read and the
    // engine's check that the table is the one first read: a table made anew
    // takes nothing, whatever its rows hold.
    std::vector<QVariant> parameters = values;
    parameters.push_back(key);
    parameters.insert(parameters.end(), expected.begin(), expected.end());
    const QString guard = stillTheTable(table, parameters);
    const QString sql =
        store_sql::guardedUpdate(engine_->dialect(), name, keyColumn(), stored, compared, guard);
    if (stored.isEmpty()) {
        // Nothing to store: the answer is whether the row is still there as read.
        qint64 count = 0;
        engine_->run(sql, parameters, doing, [&](const SqlRow& row) {
            count = row.integer(0);
            return false;
        });
        if (count == 1) return true;
        requireNotMadeAnew(table);
        return false;
    }
    // Sent again after a lost connection: if the first one was stored, the
    // second finds the new values in place of the expected ones.
    const SqlEngine::Ran ran = engine_->run(sql, parameters, doing, {}, Resend::Always);
    if (ran.changed == 1) return true;
    requireNotMadeAnew(table);
    return ran.sentAgain && holdsWhatWasStored(table, key, columns, values, checked, expected);
}

bool SqlStore::holdsWhatWasStored(const QString& table, RowKey key, const QStringList& columns,
                                  const std::vector<QVariant>& values, const QStringList& checked,
                                  const std::vector<QVariant>& expected) {
    // The row holding exactly these values, and still about the same day or
    // name, is what the first try stored before its answer was lost.
    QStringList identity;
    std::vector<QVariant> wanted = values;
    for (qsizetype i = 0; i < checked.size(); ++i)
        if (!columns.contains(checked[i], Qt::CaseInsensitive)) {
            identity << checked[i];
            wanted.push_back(expected[static_cast<size_t>(i)]);
        }
    const std::vector<QVariant> now = readRow(table, key, columns + identity);
    if (now.empty()) return false;
    for (size_t i = 0; i < now.size(); ++i)
        if (now[i].isNull() != wanted[i].isNull() || now[i] != wanted[i]) return false;
    return true;
}

SqlStore::RowKey SqlStore::insertRow(const QString& table, const QStringList& columns,
                                     const std::vector<QVariant>& values) {
    return insertGuarded(table, columns, values, QString());
}

SqlStore::RowKey SqlStore::insertRowUnlessStored(const QString& table, const QStringList& columns,
                                                 const std::vector<QVariant>& values,
                                                 const QString& column) {
    const QString doing = QStringLiteral("Cannot add a row to '%1'").arg(table);
    const QString name = tableName(table, doing);
    quotedColumns(table, {column}, doing);
    const QVariant value = valueIn(columns, values, column);
    if (value.isNull()) return insertRow(table, columns, values);
    // The look and the insert are one statement; the engine makes another
    // program storing the same value wait until this transaction ends, and
    // its look, made after, then finds this row.
    RowKey key = 0;
    inTransaction(
        [&] {
            engine_->holdBackOthersStoring(name, value);
            key = insertGuarded(table, columns, values, column);
        },
        QString());
    return key;
}

SqlStore::RowKey SqlStore::insertGuarded(const QString& table, const QStringList& columns,
                                         const std::vector<QVariant>& values,
                                         const QString& distinct) {
    const QString doing = QStringLiteral("Cannot add a row to '%1'").arg(table);
    engine_->requireSameBooks();
    const QString name = tableName(table, doing);
    const SqlDialect& dialect = engine_->dialect();
    const QStringList stored =
        columns.isEmpty()
            ? QStringList{dialect.emptyRowColumn(quoteName(described(table).columns.value(0)))}
            : quotedColumns(table, columns, doing);
    std::vector<QVariant> parameters = values;
    if (columns.isEmpty()) parameters.emplace_back();
    const QVariant value = valueIn(columns, values, distinct);
    QString distinctName;
    if (!distinct.isEmpty()) {
        distinctName = quotedColumns(table, {distinct}, doing).front();
        parameters.push_back(value);
    }
    // The row goes in only while the table is the one first read: a table
    // made anew would hand out its old keys again.
    const QString guard = stillTheTable(table, parameters);
    std::vector<RowKey> keys;
    engine_->run(
        store_sql::guardedInsert(dialect, name, keyColumn(), stored, distinctName, guard),
        parameters, doing,
        [&](const SqlRow& row) {
            keys.push_back(row.integer(0));
            return true;
        },
        Resend::IfRefused);
    if (keys.empty()) {
        // Held back by the table made anew, or else by the row holding the
        // value.
        if (distinct.isEmpty()) failMadeAnew(path());
        requireNotMadeAnew(table);
        const SourceInfo info = described(table);
        failAlreadyStored(info.name, info.columns[info.indexOf(distinct)], value);
    }
    if (keys.size() != 1)
        fail(ErrorCode::StoreFailure, doing + QStringLiteral(": no key returned"));
    noteKeys(table, keys);
    return keys.front();
}

void SqlStore::deleteRow(const QString& table, RowKey key) {
    const QString doing = QStringLiteral("Cannot delete from '%1'").arg(table);
    engine_->requireSameBooks();
    std::vector<QVariant> parameters{key};
    const QString name = tableName(table, doing);
    const QString guard = stillTheTable(table, parameters);
    const SqlEngine::Ran ran =
        engine_->run(QStringLiteral("DELETE FROM %1 WHERE %2 = %3%4")
                         .arg(name, keyColumn(), placeholder(1),
                              guard.isEmpty() ? QString() : QStringLiteral(" AND ") + guard),
                     parameters, doing);
    if (ran.changed == 0) requireNotMadeAnew(table);
    ++removals_;
}

std::optional<double> SqlStore::addToAmount(const QString& table, RowKey key, const QString& column,
                                            double amount, const QString& guardColumn,
                                            const QVariant& guardValue) {
    const QString doing = savingInto(table);
    engine_->requireSameBooks();
    const QString name = tableName(table, doing);
    const QStringList quoted = quotedColumns(table, {column, guardColumn}, doing);
    // The sum is made by the engine from what the row holds at this moment;
    // a second till's addition waits for this one's row lock, then adds to
    // the result. Not idempotent: sent again only when the server said it
    // did not run it. A table made anew takes nothing, as with updateRow.
    std::vector<QVariant> parameters{amount, key, guardValue};
    const QString guard = stillTheTable(table, parameters);
    std::optional<double> now;
    engine_->run(
        store_sql::guardedAddition(engine_->dialect(), name, keyColumn(), quoted[0], quoted[1],
                                   guard),
        parameters, doing,
        [&](const SqlRow& row) {
            now = row.value(0).toDouble();
            return true;
        },
        Resend::IfRefused);
    if (!now) requireNotMadeAnew(table);
    return now;
}

// ----------------------------------------------------------- transactions

SqlStore::Outcome SqlStore::inTransaction(const std::function<void()>& work,
                                          const QString& attempt) {
    if (transactionDepth_ > 0) {
        runNested(work);
        return Outcome::Stored;
    }
    if (!attempt.isEmpty())
        if (const std::optional<Outcome> earlier = engine_->settledEarlier(attempt))
            return *earlier;
    engine_->requireSameBooks();
    engine_->begin();
    // Keys handed out inside a transaction that is undone are handed out
    // again: the counter goes back with it, and that is no sign of the
    // books having been made anew.
    const QHash<QString, RowKey> keysSeen = highestKey_;
    transactionDepth_ = 1;
    try {
        work();
    } catch (...) {
        transactionDepth_ = 0;
        highestKey_ = keysSeen;
        engine_->rollBack();
        throw;
    }
    transactionDepth_ = 0;
    try {
        return engine_->commit(attempt);
    } catch (...) {
        highestKey_ = keysSeen;
        throw;
    }
}

void SqlStore::runNested(const std::function<void()>& work) {
    // An inner call is a savepoint in the transaction: undone alone.
    const QString savepoint = QStringLiteral("step%1").arg(transactionDepth_);
    const QString doing = savingInto(path());
    engine_->run(QStringLiteral("SAVEPOINT ") + savepoint, {}, doing);
    const QHash<QString, RowKey> keysSeen = highestKey_;
    auto undo = [&] {
        highestKey_ = keysSeen;
        // Whatever failed is reported, not the undoing (a lost connection
        // took the whole transaction with it).
        try {
            engine_->run(QStringLiteral("ROLLBACK TO SAVEPOINT ") + savepoint, {}, doing);
            engine_->run(QStringLiteral("RELEASE SAVEPOINT ") + savepoint, {}, doing);
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
        engine_->run(QStringLiteral("RELEASE SAVEPOINT ") + savepoint, {}, doing);
    } catch (...) {
        undo();
        throw;
    }
}

// ------------------------------------------------------------------ scans

void SqlStore::scan(const QString& source, const QStringList& columns, const RowVisitor& visit) {
    // Tables stream in key order with their keys; saved queries in their own
    // order, numbered from 0. A saved query whose rows the books keep ready
    // is read from the table that keeps them, in the saved query's order
    // (its texts in byte order, empty ones first).
    const QString doing = readingOf(source);
    const SourceInfo info = described(source);
    const QStringList list = quotedColumns(source, columns, doing);
    QString from = engine_->qualified(info.name);
    if (!info.isTable)
        if (const QString kept = keptTableOf(info); !kept.isEmpty()) {
            QStringList order;
            for (const QString& group : schema::keptTotalsOf(info.name)->groupColumns)
                order << engine_->dialect().inByteOrder(quoteName(group));
            order << quoteName(schema::kMonthNumber);
            from = engine_->qualified(kept) + QStringLiteral(" ORDER BY ") +
                   order.join(QLatin1Char(','));
        }
    QString sql =
        QStringLiteral("SELECT %1 FROM %2")
            .arg(withColumns(info.isTable ? keyColumn() : QStringLiteral("0"), list), from);
    if (info.isTable) sql += QStringLiteral(" ORDER BY ") + keyColumn();
    std::vector<QVariant> values(columns.size());
    RowKey ordinal = 0;
    engine_->stream(sql, {}, doing, [&](const SqlRow& row) {
        for (int i = 0; i < columns.size(); ++i) values[i] = row.value(i + 1);
        return visit(info.isTable ? row.integer(0) : ordinal++, values);
    });
}

void SqlStore::scanBelow(const QString& table, RowKey belowKey, const QStringList& columns,
                         const RowVisitor& visit) {
    const QString doing = readingOf(table);
    const QString name = tableName(table, doing);
    std::vector<QVariant> values(columns.size());
    engine_->stream(QStringLiteral("SELECT %1 FROM %2 WHERE %3 < %4 ORDER BY %3 DESC")
                        .arg(withColumns(keyColumn(), quotedColumns(table, columns, doing)), name,
                             keyColumn(), placeholder(1)),
                    {belowKey}, doing, [&](const SqlRow& row) {
                        for (int i = 0; i < columns.size(); ++i) values[i] = row.value(i + 1);
                        return visit(row.integer(0), values);
                    });
}

void SqlStore::scanHolding(const QString& table, const QString& column, const QStringList& columns,
                           const RowVisitor& visit) {
    const QString doing = readingOf(table);
    const QString name = tableName(table, doing);
    const QString held = quotedColumns(table, {column}, doing).front();
    std::vector<QVariant> values(columns.size());
    // "+key": ordering by the key itself would make SQLite read the whole
    // table in key order rather than the few rows an index on the column
    // (kept only for its rows holding a value) lists.
    engine_->stream(QStringLiteral("SELECT %1 FROM %2 WHERE %3 IS NOT NULL ORDER BY +%4")
                        .arg(withColumns(keyColumn(), quotedColumns(table, columns, doing)), name,
                             held, keyColumn()),
                    {}, doing, [&](const SqlRow& row) {
                        for (int i = 0; i < columns.size(); ++i) values[i] = row.value(i + 1);
                        return visit(row.integer(0), values);
                    });
}

}  // namespace ledger
