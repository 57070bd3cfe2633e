// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QVariant>
#include <functional>
#include <optional>
#include <vector>

#include "ledger/schema/schema.h"
#include "ledger/store/sql_dialect.h"
#include "ledger/store/store.h"

namespace ledger {

// One row of a statement's result, as an engine hands it over.
class SqlRow {
public:
    // A null QVariant (empty), a double for every number, or a QString.
    virtual QVariant value(int column) const = 0;
    // A whole number (a key, a count) to the last digit.
    virtual qint64 integer(int column) const = 0;

protected:
    ~SqlRow() = default;
};

// What the SQL store (sql_store.h) asks of an engine's connection to the
// books: statements with bound values, transactions, the catalogue, and the
// few things an engine does its own way (the check that a table is still
// the one first read, a count that moves with removals, the books still
// being the ones opened). Every failure throws LedgerError in the shop's
// words, the engine's own error mapping; the SQL text comes from the store,
// spelt by dialect().
//
// Threading: the user-interface thread only, like the store.
class SqlEngine {
public:
    using RowReader = std::function<bool(const SqlRow&)>;
    // When a statement may be sent again after a connection lost while it
    // ran (a file's never is): a read or a change that is the same when done
    // twice, or only when the server said it did not run it (an insert, an
    // addition). Inside a transaction nothing is sent again.
    enum class Resend { Always, IfRefused };
    struct Ran {
        qint64 changed = 0;      // rows an UPDATE or DELETE touched
        bool sentAgain = false;  // sent a second time, on a new session
    };

    virtual ~SqlEngine() = default;

    virtual const SqlDialect& dialect() const = 0;
    // The books as messages name them: a file's full path, a server
    // database's address without its password.
    virtual const QString& books() const = 0;

    // One statement, its values bound in order (numbered as the dialect's
    // placeholders); every row of its result is handed to `read` until it
    // returns false. `doing` leads the message of a failure.
    virtual Ran run(const QString& sql, const std::vector<QVariant>& values, const QString& doing,
                    const RowReader& read = {}, Resend resend = Resend::Always) = 0;
    // The same, each row handed over as it arrives, never the whole result
    // first; when `read` returns false (or throws) the rest is neither read
    // nor computed, and the connection is ready for the next statement.
    virtual void stream(const QString& sql, const std::vector<QVariant>& values,
                        const QString& doing, const RowReader& read) = 0;

    // A transaction's outer edges; the store nests savepoints inside. begin
    // takes what a write needs at once (a file's write lock). commit returns
    // how it went or throws, having undone everything, when it did not land;
    // a server asks, after a connection lost during the commit, whether it
    // landed (remembering `attempt` when that cannot be told yet).
    // rollBack undoes quietly: the failure on its way says more.
    virtual void begin() = 0;
    virtual Store::Outcome commit(const QString& attempt) = 0;
    virtual void rollBack() = 0;
    // What became of an earlier try of `attempt` whose commit was in doubt:
    // StoredEarlier when it landed, nullopt when it did not (or there was
    // none); throws OutcomeUnknown while the server still cannot say.
    virtual std::optional<Store::Outcome> settledEarlier(const QString& attempt) = 0;
    // Inside a transaction: another connection's look for `value` in
    // `table` (as qualified() spells it) waits until this one ends.
    virtual void holdBackOthersStoring(const QString& table, const QVariant& value) = 0;

    // The catalogue: the tables and saved queries where the books are kept,
    // as the engine spells them, with the engine's number for a table (a
    // table made anew gets another; empty where there is none), and a
    // source's columns with their declared types, in their order.
    struct Source {
        QString name;
        bool isTable = false;
        QVariant number;
    };
    struct Column {
        QString name;
        QString type;
    };
    virtual std::vector<Source> sources() = 0;
    virtual std::vector<Column> columnsOf(const Source& source) = 0;
    // A number that changes whenever the catalogue changes, when the engine
    // keeps one (a file does); nullopt when every look must read it anew.
    virtual std::optional<qint64> catalogueVersion() = 0;
    // A name of the catalogue, quoted, as a statement names it.
    virtual QString qualified(const QString& name) const = 0;
    // Whether the books keep a saved query's rows ready: the table that
    // keeps them and everything that keeps it up to date are in place.
    virtual bool keepsTotals(const schema::KeptTotals& kept) = 0;

    // Fails with FileReplaced when the books under their name are no longer
    // the ones opened, and makes sure the next statement reads them as they
    // are now, not as read before; asked before every write.
    virtual void requireSameBooks() = 0;
    // A table as this store first read it: its name, the engine's number for
    // it then, the highest key this store has read or handed out.
    struct TableSeen {
        QString name;
        QVariant number;
        Store::RowKey highestKey = 0;
        bool lastingKeys = false;
    };
    // A condition for a write's WHERE that holds while the table is the one
    // first read (not made anew: copied or restored over the one open), its
    // values appended to `values` (numbered after those already there);
    // empty when the engine cannot tell.
    virtual QString stillTheTable(const TableSeen& table, std::vector<QVariant>& values) = 0;
    // A count that moves whenever another program may have removed rows of
    // the table (as the catalogue names it) since it was last asked; the
    // store adds its own removals to it.
    virtual quint64 removalsElsewhere(const QString& table) = 0;
};

}  // namespace ledger
