// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QStringList>
#include <QVariant>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "ledger/store/source_info.h"

namespace ledger {

class Store;
struct Criterion;

// The rows a record source moves through, addressed by their position in the
// set (0 .. count()-1). Two kinds stand behind the same operations: a table's
// rows (a dynaset: keys fixed at open and Refresh, values read afresh from the
// store) and a read-only snapshot (a saved query or the one accepted SELECT
// text, read whole at open and Refresh).
class RowSet {
public:
    virtual ~RowSet() = default;

    const SourceInfo& info() const { return info_; }
    virtual bool isReadOnly() const = 0;

    // Reads the set afresh (open and Refresh).
    virtual void reload() = 0;

    int count() const;
    bool isEmpty() const;
    qint64 keyAt(int index) const;
    int indexOfKey(qint64 key) const;  // -1 when the key is not in the set

    // The row's values of `columns` (names as info() spells them); empty when
    // the row is gone.
    virtual std::vector<QVariant> values(int index, const QStringList& columns) const = 0;
    // All rows as fields show them, in the set's order; a gone row is empty.
    virtual std::vector<QStringList> rowsAsText() const = 0;
    // Every row's values of `columns` (names as info() spells them), in the
    // set's order, passed to `visit` with the row's position; a row gone
    // meanwhile is passed no values.
    using RowValuesVisitor = std::function<void(int, const std::vector<QVariant>&)>;
    virtual void visitRows(const QStringList& columns, const RowValuesVisitor& visit) const = 0;
    // All rows' values of `columns` (every column when empty), in the set's
    // order; a gone row is empty.
    std::vector<std::vector<QVariant>> rowValues(const QStringList& columns = {}) const;

    // The first row satisfying `criterion` (whose conditions name `columns`),
    // or, backwards, the last one before position `before`.
    virtual std::optional<int> find(const Criterion& criterion, const QStringList& columns,
                                    int before, bool backwards) const = 0;

    // A table's rows only; a snapshot fails with ReadOnly. insert() appends
    // the new row to the set and returns its position.
    virtual int insert(const QStringList& columns, const std::vector<QVariant>& values);
    // Appends a row the caller stored itself (in a transaction, once it is
    // committed) and returns its position.
    virtual int adopt(qint64 key);
    // Stores `values` into `columns` only while the row still holds
    // `expected` in `checked`; false (nothing changed) when it is gone or
    // holds other values now.
    virtual bool update(int index, const QStringList& columns, const std::vector<QVariant>& values,
                        const QStringList& checked, const std::vector<QVariant>& expected);
    virtual void remove(int index);
    // Drops a row the caller removed from the store itself (in a
    // transaction, once it is committed) from the set, as remove() does.
    void forget(int index);

protected:
    // Reads the keys the set left unread at open (see firstKeyOnly_).
    virtual void readKeys() const {}
    void requireKeys() const {
        if (firstKeyOnly_) readKeys();
    }

    SourceInfo info_;
    mutable std::vector<qint64> keys_;
    bool keysAscending_ = true;  // false once a key came back lower than the last
    // A set may read only its first key when it opens, and the others when
    // they are first needed: showing the first row does not read them all.
    mutable bool firstKeyOnly_ = false;
    qint64 firstKey_ = -1;  // while firstKeyOnly_: the first row's key, -1 without rows
};

// The row set of a table, a saved query or a SELECT text, on an open store.
std::unique_ptr<RowSet> openRowSet(std::shared_ptr<Store> store, const QString& source);

// A field's text for a stored value: empty, an amount's text, or the text.
QString fieldText(const QVariant& value);

}  // namespace ledger
