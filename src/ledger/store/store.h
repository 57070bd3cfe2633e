#pragma once

#include <QString>
#include <QStringList>
#include <QVariant>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "ledger/store/source_info.h"

namespace ledger {

// Where a ledger lives: an SQLite database file, or a PostgreSQL database
// named by a postgresql:// (or postgres://) address in libpq's form.
struct Connection {
    QString path;
};

// The ledger behind every record source: row keys, reading a row, writing
// the changed columns of a row, adding and deleting rows, and reading a saved
// query. Nothing above this interface knows which engine stands behind it.
// Names are resolved without regard to case; values are a null QVariant
// (empty), a double or a QString. Failures throw LedgerError with a message
// naming the database.
//
// Threading: a Store is used from the user-interface thread only; nothing
// here locks.
class Store {
public:
    using RowKey = qint64;
    using SourceInfo = ledger::SourceInfo;
    using RowVisitor = std::function<bool(RowKey, const std::vector<QVariant>&)>;

    virtual ~Store() = default;

    // The database as messages name it.
    virtual const QString& path() const = 0;

    // Table or saved query by name. Throws UnknownName.
    virtual SourceInfo describe(const QString& source) = 0;

    // A table's row keys in the order rows were added.
    virtual std::vector<RowKey> rowKeys(const QString& table) = 0;

    // A table's first and highest key, without reading the others; none
    // for a table without rows.
    virtual std::optional<std::pair<RowKey, RowKey>> keyRange(const QString& table) {
        const std::vector<RowKey> keys = rowKeys(table);
        if (keys.empty()) return std::nullopt;
        return std::pair{keys.front(), keys.back()};
    }
    // The keys up to `highest`, in the order rows were added.
    virtual std::vector<RowKey> rowKeysUpTo(const QString& table, RowKey highest) {
        std::vector<RowKey> keys = rowKeys(table);
        std::erase_if(keys, [highest](RowKey key) { return key > highest; });
        return keys;
    }

    // What a refresh needs to read only what changed. removalMark() changes
    // whenever rows may have been removed from the table (by this process or
    // any other) since it was last asked; while it stays the same, the rows
    // added since a list of keys was read are exactly those above its highest
    // key, since keys only grow. The defaults always report a change, which
    // makes every refresh read all keys: correct, only slower.
    virtual quint64 removalMark(const QString& table) {
        (void)table;
        return ++unknownRemovals_;
    }
    virtual std::vector<RowKey> rowKeysAbove(const QString& table, RowKey after) {
        std::vector<RowKey> keys = rowKeys(table);
        std::erase_if(keys, [after](RowKey key) { return key <= after; });
        return keys;
    }

    // Keys, ascending, of the rows whose `column` holds exactly `text`,
    // character for character; nullopt when the store cannot tell that
    // quickly and exactly (the caller then reads the column itself).
    virtual std::optional<std::vector<RowKey>> rowKeysHoldingText(const QString& table,
                                                                  const QString& column,
                                                                  const QString& text) {
        (void)table, (void)column, (void)text;
        return std::nullopt;
    }

    // The row's values of `columns`, or an empty vector when the row is gone.
    virtual std::vector<QVariant> readRow(const QString& table, RowKey key,
                                          const QStringList& columns) = 0;

    // One atomic statement each.
    //
    // updateRow stores `values` into `columns` of the row only while its
    // `checked` columns still hold `expected` (the values this window read:
    // the changed figures' old values and what the row is about, its day or
    // name): another program's change is never overwritten unseen, and an
    // edit never lands in another day. Returns false, and changes nothing,
    // when the row is gone or holds other values now.
    //
    // Every write refuses, with FileReplaced, a table that was made anew
    // since this store first read it (the ledger copied or restored over the
    // one open here), whose keys may name other rows: nothing is written.
    virtual bool updateRow(const QString& table, RowKey key, const QStringList& columns,
                           const std::vector<QVariant>& values, const QStringList& checked,
                           const std::vector<QVariant>& expected) = 0;
    // The changed columns alone checked.
    bool updateRow(const QString& table, RowKey key, const QStringList& columns,
                   const std::vector<QVariant>& values, const std::vector<QVariant>& expected) {
        return updateRow(table, key, columns, values, columns, expected);
    }
    virtual RowKey insertRow(const QString& table, const QStringList& columns,
                             const std::vector<QVariant>& values) = 0;
    virtual void deleteRow(const QString& table, RowKey key) = 0;

    // Adds `amount` to the amount `column` of the row `key` as it is stored
    // now (an empty value counts 0), only while the row's `guardColumn`
    // still holds `guardValue`: one statement, never a figure read earlier
    // and written back, so two tills adding to one day at once both count.
    // Returns the value stored now, or nullopt, having changed nothing, when
    // the row is gone or its guard column holds something else.
    virtual std::optional<double> addToAmount(const QString& table, RowKey key,
                                              const QString& column, double amount,
                                              const QString& guardColumn,
                                              const QVariant& guardValue) = 0;

    // What a transaction came to: stored now, or found stored by an earlier
    // try of the same attempt (see inTransaction).
    enum class Outcome { Stored, StoredEarlier };

    // Runs `work` so that everything it stores lands together or not at all.
    // Returns once it is committed. A call made while another one runs joins
    // it: a failure inside undoes only the inner call's part and is passed
    // on. Throws what `work` throws, after undoing everything it stored, or
    // LedgerError when the commit fails (and nothing was stored).
    //
    // `attempt` names one piece of work the user may try again (a wage Save,
    // say). On a server, a connection lost during the commit leaves it open
    // whether the server stored it: the store asks the server (on a new
    // connection) and goes on as the answer says. When the server cannot be
    // asked, it throws OutcomeUnknown and remembers the attempt; the next
    // call with the same name asks again before anything else, and returns
    // StoredEarlier without running `work` when that first try landed. So
    // work is never stored twice. A file's commit is never in doubt.
    virtual Outcome inTransaction(const std::function<void()>& work,
                                  const QString& attempt = QString()) = 0;

    // Streams the rows of a table (in key order, with their keys) or a saved
    // query (its own order, keys 0, 1, 2, ...). The visitor returns false to
    // stop early. scanBelow streams a table's rows below a key, descending.
    virtual void scan(const QString& source, const QStringList& columns,
                      const RowVisitor& visit) = 0;
    virtual void scanBelow(const QString& table, RowKey belowKey, const QStringList& columns,
                           const RowVisitor& visit) = 0;

private:
    quint64 unknownRemovals_ = 0;
};

// Refuses a write into a table made anew since the store first read it:
// FileReplaced, with what to do.
[[noreturn]] void failMadeAnew(const QString& books);

// Opens (or shares, within this process) the store a connection names: the
// server store for an address, the file store for anything else. Throws
// FileNotFound, NotADatabase or StoreFailure with a message naming it (an
// address without its password).
std::shared_ptr<Store> openStore(const Connection& where);

}  // namespace ledger
