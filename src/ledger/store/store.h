// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>
#include <QVariant>
#include <functional>
#include <memory>
#include <optional>
#include <utility>
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
// query. Nothing above this interface knows which engine stands behind it,
// and both engines keep every promise below alike.
//
// Names. Tables, saved queries and columns are found without regard to case
// and used as the database spells them. A name that is no table or saved
// query fails with UnknownName ("... has no table or query named 'x'"), in
// every operation. A saved query given where a table is needed fails with
// StoreFailure ("'x' is a saved query, not a table"), a column its source
// lacks with StoreFailure naming the column; either before anything is
// read or stored.
//
// Values are a null QVariant (empty), a double or a QString, and come back
// as they went in: every double bit for bit, a whole number as a double,
// texts character for character (never read as SQL), an empty text as an
// empty text, not as empty.
//
// Row keys (tables whose description says lastingKeys) are handed out once
// and never again, not after the highest row is deleted by this store or by
// another program; every list of keys is in ascending key order, which is
// the order rows were added.
//
// Failures throw LedgerError with a message naming the database (an
// address without its password); a write that fails has stored nothing.
//
// Threading: a Store is used from the user-interface thread only; nothing
// here locks.
class Store {
public:
    using RowKey = qint64;
    using SourceInfo = ledger::SourceInfo;
    using RowVisitor = std::function<bool(RowKey, const std::vector<QVariant>&)>;

    virtual ~Store() = default;

    // The database as messages name it: a file's full path, a server
    // database's address without its password.
    virtual const QString& path() const = 0;

    // Table or saved query by name, as the database holds it now: another
    // program's added or dropped columns show at the next call, never the
    // row key column. The shop's own tables take their amounts from the
    // schema, another table's columns are amounts when declared a number
    // type; a saved query's never are (nothing typed is stored into one).
    virtual SourceInfo describe(const QString& source) = 0;

    // A table's row keys.
    virtual std::vector<RowKey> rowKeys(const QString& table) = 0;

    // A table's first and highest key, without reading the others; none
    // for a table without rows.
    virtual std::optional<std::pair<RowKey, RowKey>> keyRange(const QString& table) = 0;
    // The keys up to `highest`, that one included.
    virtual std::vector<RowKey> rowKeysUpTo(const QString& table, RowKey highest) = 0;

    // What a refresh needs to read only what changed. removalMark() changes
    // whenever rows may have been removed from the table (by this process or
    // any other) since it was last asked, and stays the same while this
    // store only adds rows; while it stays the same, the rows added since a
    // list of keys was read are exactly those above its highest key, since
    // keys only grow.
    virtual quint64 removalMark(const QString& table) = 0;
    virtual std::vector<RowKey> rowKeysAbove(const QString& table, RowKey after) = 0;

    // Keys of the rows whose `column` holds exactly `text`, character for
    // character (blanks and leading zeros count; an empty text finds empty
    // texts, not empty values); nullopt when the store cannot tell that
    // quickly and exactly: a column that holds no text or is not there, or
    // a saved query (the caller then reads the column itself).
    virtual std::optional<std::vector<RowKey>> rowKeysHoldingText(const QString& table,
                                                                  const QString& column,
                                                                  const QString& text) {
        (void)table, (void)column, (void)text;
        return std::nullopt;
    }

    // Keys of the rows whose whole-number `column` holds `number` (a row of
    // another table named by its key, say), in key order. A column the
    // table lacks holds nothing. The default reads the whole table; a store
    // with an index on the column answers at once.
    virtual std::vector<RowKey> rowKeysHoldingNumber(const QString& table, const QString& column,
                                                     qint64 number);

    // The rows whose `column` may match `pattern`, in key order, with the
    // column's text: every row whose text matches is among them. The pattern
    // holds digits, blanks and / - . : besides its wildcards, `*` (any run of
    // characters) and `?` (one character); such a pattern compares the same
    // whatever case folding and normalization the caller's criteria apply, so
    // the store's own pattern matching narrows a search that the caller
    // finishes with its own matcher. nullopt when the store cannot narrow:
    // a column that holds no text or is not there, or a saved query.
    using TextRow = std::pair<RowKey, QString>;
    virtual std::optional<std::vector<TextRow>> rowsPerhapsMatching(const QString& table,
                                                                    const QString& column,
                                                                    const QString& pattern) {
        (void)table, (void)column, (void)pattern;
        return std::nullopt;
    }

    // The row's values of `columns`, or an empty vector when the row is gone
    // (or no column is asked for).
    virtual std::vector<QVariant> readRow(const QString& table, RowKey key,
                                          const QStringList& columns) = 0;

    // The writes: one atomic statement each.
    //
    // updateRow stores `values` into `columns` of the row only while its
    // `checked` columns still hold `expected` (the values this window read:
    // the changed figures' old values and what the row is about, its day or
    // name), compared exactly: empty only matches empty, a text character
    // for character, a figure bit for bit. So another program's change is
    // never overwritten unseen (not even when it stored the very figure
    // typed here), and an edit never lands in another day. Returns true when
    // stored; false, having changed nothing, when the row is gone or holds
    // other values now. With no columns to store it stores nothing and
    // answers the same question: is the row there, holding what was read?
    // A statement sent again on a new session after a lost connection
    // counts as stored when the row holds exactly what the first try would
    // have stored (that first try landed before its answer was lost).
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
    // A new row holding `values` in `columns` and nothing elsewhere (no
    // columns: a row holding nothing). Returns its key, above every key the
    // table ever handed out.
    virtual RowKey insertRow(const QString& table, const QStringList& columns,
                             const std::vector<QVariant>& values) = 0;
    // The same new row, stored only while no row of the table holds in
    // `column` the value the new row holds there (one of `columns`), a text
    // compared character for character (blanks and leading zeros count), a
    // figure as a number: the look and the insert are one step for every
    // program on the books, so two tills storing the same value at once
    // store one row between them. When a row holds it, refuses with
    // AlreadyStored ("... already holds a row whose Date is "2002/12/1"
    // ..."), having stored nothing. A new row holding nothing there is
    // stored as insertRow stores it (nothing is no value to repeat). Called
    // inside inTransaction, it joins that transaction, and another till's
    // insert of the same value waits until it ends.
    virtual RowKey insertRowUnlessStored(const QString& table, const QStringList& columns,
                                         const std::vector<QVariant>& values,
                                         const QString& column) = 0;
    // Removes the row; a row already gone is no error.
    virtual void deleteRow(const QString& table, RowKey key) = 0;

    // Adds `amount` to the amount `column` of the row `key` as it is stored
    // now (an empty value counts 0), only while the row's `guardColumn`
    // still holds `guardValue` (compared as updateRow compares): one
    // statement, never a figure read earlier and written back, so two tills
    // adding to one day at once both count. Returns the value stored now,
    // or nullopt, having changed nothing, when the row is gone or its guard
    // column holds something else. Never sent twice.
    virtual std::optional<double> addToAmount(const QString& table, RowKey key,
                                              const QString& column, double amount,
                                              const QString& guardColumn,
                                              const QVariant& guardValue) = 0;

    // What a transaction came to: stored now, or found stored by an earlier
    // try of the same attempt (see inTransaction).
    enum class Outcome { Stored, StoredEarlier };

    // Runs `work` so that everything it stores lands together or not at all;
    // what it stores is read back inside it as stored. Returns once it is
    // committed. A call made while another one runs joins it: a failure
    // inside undoes only the inner call's part and is passed on. Throws what
    // `work` throws, unchanged, after undoing everything it stored, or
    // LedgerError when the commit fails (and nothing was stored).
    //
    // `attempt` names one piece of work the user may try again (a wage Save,
    // say). On a server, a connection lost during the commit leaves it open
    // whether the server stored it: the store asks the server (on a new
    // connection) and goes on as the answer says. When the server cannot be
    // asked, it throws OutcomeUnknown and remembers the attempt; the next
    // call with the same name asks again before anything else, and returns
    // StoredEarlier without running `work` when that first try landed. So
    // work is never stored twice. A file's commit is never in doubt, and an
    // attempt committed is forgotten: the same name runs its work again.
    virtual Outcome inTransaction(const std::function<void()>& work,
                                  const QString& attempt = QString()) = 0;

    // Streams the rows of a table (in key order, with their keys) or a saved
    // query (its own order, keys 0, 1, 2, ...; a saved query whose rows the
    // database keeps ready gives the kept rows, the same in the same order).
    // No columns: the keys alone. The visitor returns false to stop early:
    // nothing more is read (a server stops computing the rest), and the
    // store is ready for the next call at once; what the visitor throws
    // passes out the same way. scanBelow streams a table's rows below a
    // key, descending.
    virtual void scan(const QString& source, const QStringList& columns,
                      const RowVisitor& visit) = 0;
    virtual void scanBelow(const QString& table, RowKey belowKey, const QStringList& columns,
                           const RowVisitor& visit) = 0;
    // Streams, as scan does, only the rows of a table whose `column` holds
    // a value (is not empty): a column few rows fill is read without making
    // the values of every other row. The default scans every row.
    virtual void scanHolding(const QString& table, const QString& column,
                             const QStringList& columns, const RowVisitor& visit);
};

// Refuses a write into a table made anew since the store first read it:
// FileReplaced, with what to do.
[[noreturn]] void failMadeAnew(const QString& books);

// What a new row holds in `column`, one of `columns` (found without regard
// to case); empty when it is none of them.
QVariant valueIn(const QStringList& columns, const std::vector<QVariant>& values,
                 const QString& column);
// Refuses a new row whose `value` of `column` a row of `table` holds
// already: AlreadyStored, nothing stored.
[[noreturn]] void failAlreadyStored(const QString& table, const QString& column,
                                    const QVariant& value);

// Opens (or shares, within this process) the store a connection names: the
// server store for an address, the file store for anything else. Books that
// are not there fail with FileNotFound (nothing is made), a file that is no
// database with NotADatabase, anything else with StoreFailure; each message
// names the books (an address without its password).
std::shared_ptr<Store> openStore(const Connection& where);

// Begins opening a file's books on a thread of its own (connecting and
// reading its tables' descriptions, a few milliseconds), so that a program
// starting up builds its first window meanwhile. The next openStore on the
// calling thread waits for it and goes on with that store when it names the
// same file; whatever failed is said by openStore, as it would have been.
// A server's address is not opened ahead. Call from the user-interface
// thread.
void openStoreAhead(const Connection& where);

}  // namespace ledger
