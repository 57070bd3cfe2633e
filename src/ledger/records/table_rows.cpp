// SPDX-License-Identifier: GPL-3.0-or-later
#include "ledger/records/table_rows.h"

#include <QHash>
#include <QSet>
#include <algorithm>

#include "ledger/query/criteria.h"
#include "ledger/store/store.h"

namespace ledger {

TableRows::TableRows(std::shared_ptr<Store> store, SourceInfo info) : store_(std::move(store)) {
    info_ = std::move(info);
    openFirstKeyOnly();
}

void TableRows::openFirstKeyOnly() {
    // The mark is read before the keys, as at every reload.
    removalMark_ = store_->removalMark(info_.name);
    const auto range = store_->keyRange(info_.name);
    keys_.clear();
    keysAscending_ = true;
    firstKeyOnly_ = true;
    firstKey_ = range ? range->first : -1;
    highestAtOpen_ = range ? range->second : -1;
}

void TableRows::readKeys() const {
    // The rows there were when the set opened: rows added since come in at
    // the next Refresh, as they always did. The first row, shown already,
    // keeps its place even when another program removed it meanwhile (it
    // then shows as gone).
    keys_ = firstKey_ < 0 ? std::vector<qint64>() : store_->rowKeysUpTo(info_.name, highestAtOpen_);
    if (firstKey_ >= 0 && (keys_.empty() || keys_.front() != firstKey_))
        keys_.insert(keys_.begin(), firstKey_);
    firstKeyOnly_ = false;
}

void TableRows::reload() {
    if (firstKeyOnly_) {
        // Nothing but the first row was looked at: open afresh.
        openFirstKeyOnly();
        return;
    }
    // The mark is read before the keys: a removal while they are read shows
    // as a change at the next reload.
    const quint64 mark = store_->removalMark(info_.name);
    if (removalMark_ == mark && keysAscending_ && !keys_.empty()) {
        // Nothing removed since the keys were read: the new rows are the
        // ones above the highest key, and Save does not read the whole
        // table's keys again.
        const std::vector<qint64> added = store_->rowKeysAbove(info_.name, keys_.back());
        keys_.insert(keys_.end(), added.begin(), added.end());
    } else {
        keys_ = store_->rowKeys(info_.name);
        keysAscending_ = true;
    }
    removalMark_ = mark;
}

std::vector<QVariant> TableRows::values(int index, const QStringList& columns) const {
    return store_->readRow(info_.name, keyAt(index), columns);
}

void TableRows::visitRows(const QStringList& columns, const RowValuesVisitor& visit) const {
    // One pass over the table for the whole list, in the set's own order; a
    // row deleted meanwhile by another window is passed no values. The
    // table streams in key order: with the set's keys ascending the two
    // walk side by side.
    const std::vector<QVariant> none;
    if (firstKeyOnly_) {
        visitRowsReadingKeys(columns, visit);
        return;
    }
    if (keysAscending_) {
        size_t next = 0;
        store_->scan(info_.name, columns,
                     [&](Store::RowKey key, const std::vector<QVariant>& values) {
                         while (next < keys_.size() && keys_[next] < key)
                             visit(static_cast<int>(next++), none);
                         if (next == keys_.size()) return false;
                         if (keys_[next] == key) visit(static_cast<int>(next++), values);
                         return true;
                     });
        while (next < keys_.size()) visit(static_cast<int>(next++), none);
        return;
    }
    QHash<qint64, std::vector<QVariant>> byKey;
    byKey.reserve(static_cast<qsizetype>(keys_.size()));
    store_->scan(info_.name, columns, [&](Store::RowKey key, const std::vector<QVariant>& values) {
        byKey.insert(key, values);
        return true;
    });
    for (size_t i = 0; i < keys_.size(); ++i) visit(static_cast<int>(i), byKey.value(keys_[i]));
}

void TableRows::visitRowsReadingKeys(const QStringList& columns,
                                     const RowValuesVisitor& visit) const {
    // The keys were left unread at open: the one pass that reads the values
    // reads them too, the same keys readKeys would (up to the highest there
    // was at open, the first row first even when it is gone).
    const std::vector<QVariant> none;
    std::vector<qint64> keys;
    if (firstKey_ >= 0) {
        auto firstRowGone = [&] {
            keys.push_back(firstKey_);
            visit(0, none);
        };
        store_->scan(info_.name, columns,
                     [&](Store::RowKey key, const std::vector<QVariant>& values) {
                         if (key > highestAtOpen_) return false;
                         if (keys.empty() && key != firstKey_) firstRowGone();
                         keys.push_back(key);
                         visit(static_cast<int>(keys.size() - 1), values);
                         return true;
                     });
        if (keys.empty()) firstRowGone();
    }
    keys_ = std::move(keys);
    firstKeyOnly_ = false;
}

std::vector<QStringList> TableRows::rowsAsText() const {
    std::vector<QStringList> out;
    for (const std::vector<QVariant>& values : rowValues()) {
        QStringList row;
        row.reserve(static_cast<qsizetype>(values.size()));
        for (const auto& v : values) row << fieldText(v);
        out.push_back(std::move(row));
    }
    return out;
}

std::optional<int> TableRows::find(const Criterion& criterion, const QStringList& columns,
                                   int before, bool backwards) const {
    requireKeys();
    if (std::optional<int> found; !backwards && findEqualText(criterion, found)) return found;
    if (std::optional<int> found; findByNarrowing(criterion, before, backwards, found))
        return found;
    // The values come in bulk, in key order, and our own evaluator tests
    // them; no round trip per row.
    const int total = count();
    std::optional<int> found;
    if (keysAscending_) {
        auto visit = [&](Store::RowKey key, const std::vector<QVariant>& values) {
            if (!criterion.matches(values)) return true;
            int index = indexOfKey(key);
            if (index < 0) return true;  // added by another window after our open
            found = index;
            return false;
        };
        if (!backwards)
            store_->scan(info_.name, columns, visit);
        else if (before > 0)
            store_->scanBelow(info_.name, before < total ? keyAt(before) : keys_.back() + 1,
                              columns, visit);
        return found;
    }
    QSet<qint64> matching;
    store_->scan(info_.name, columns, [&](Store::RowKey key, const std::vector<QVariant>& values) {
        if (criterion.matches(values)) matching.insert(key);
        return true;
    });
    if (backwards) {
        for (int i = before - 1; i >= 0; --i)
            if (matching.contains(keyAt(i))) return i;
    } else {
        for (int i = 0; i < total; ++i)
            if (matching.contains(keyAt(i))) return i;
    }
    return std::nullopt;
}

namespace {

// Whether a character means itself whatever case folding and normalization
// the criteria apply: no letter, and none of the few characters that
// normalize to another. Day texts like "2002/2/12" hold only such.
bool isExactCharacter(QChar c) {
    return (c >= u'0' && c <= u'9') || QStringLiteral(" /-.:").contains(c);
}

// Whether "=" (or LIKE) with this constant means the same characters.
bool comparesExactly(const QString& literal) {
    return std::all_of(literal.begin(), literal.end(), isExactCharacter);
}

// The pattern the store may narrow a LIKE search by: the criterion's own
// with its wildcards as `*` and `?` (a digit `#` and a class `[...]` become
// any one character, which can only widen the match), when every other
// character compares exactly. Empty when it cannot be written so.
QString narrowingPattern(const QString& like) {
    QString pattern;
    for (qsizetype i = 0; i < like.size(); ++i) {
        const QChar c = like.at(i);
        if (c == u'*' || c == u'?') {
            pattern += c;
        } else if (c == u'#') {
            pattern += u'?';
        } else if (c == u'[') {
            const qsizetype end = like.indexOf(u']', i + 1);
            if (end < 0) return {};
            pattern += u'?';
            i = end;
        } else if (isExactCharacter(c)) {
            pattern += c;
        } else {
            return {};
        }
    }
    return pattern;
}

}  // namespace

bool TableRows::findByNarrowing(const Criterion& criterion, int before, bool backwards,
                                std::optional<int>& found) const {
    // A wildcard search of one column (Inquiry's "2002/1*") asks the store
    // for the rows that may match, and tests only those with the criteria's
    // own matcher, instead of reading the column of every row.
    if (criterion.conditions.size() != 1) return false;
    const Condition& condition = criterion.conditions.front();
    if (condition.op != Condition::Op::Like) return false;
    const QString pattern = narrowingPattern(condition.literal);
    if (pattern.isEmpty()) return false;
    const auto rows = store_->rowsPerhapsMatching(info_.name, condition.column, pattern);
    if (!rows) return false;
    found.reset();
    for (const auto& [key, text] : *rows) {
        if (!criterion.matches({QVariant(text)})) continue;
        const int index = indexOfKey(key);
        if (index < 0) continue;  // added by another window after our open
        if (backwards ? index < before && (!found || index > *found) : (!found || index < *found))
            found = index;
    }
    return true;
}

bool TableRows::findEqualText(const Criterion& criterion, std::optional<int>& found) const {
    if (criterion.conditions.size() != 1) return false;
    const Condition& condition = criterion.conditions.front();
    // Such a constant holds none of LIKE's wildcards either, so "like" means
    // "=" for it: the daily window's Save and Inquiry look days up that way.
    if (!comparesExactly(condition.literal)) return false;
    const auto keys = store_->rowKeysHoldingText(info_.name, condition.column, condition.literal);
    if (!keys) return false;
    // The first in the set's order among the rows that hold the text.
    found.reset();
    for (qint64 key : *keys) {
        const int index = indexOfKey(key);
        if (index >= 0 && (!found || index < *found)) found = index;
        if (found && keysAscending_) break;
    }
    return true;
}

int TableRows::insert(const QStringList& columns, const std::vector<QVariant>& values) {
    return adopt(store_->insertRow(info_.name, columns, values));
}

int TableRows::adopt(qint64 key) {
    requireKeys();
    if (const int there = indexOfKey(key); there >= 0) return there;
    if (!keys_.empty() && key <= keys_.back()) keysAscending_ = false;
    keys_.push_back(key);
    return count() - 1;
}

bool TableRows::update(int index, const QStringList& columns, const std::vector<QVariant>& values,
                       const QStringList& checked, const std::vector<QVariant>& expected) {
    return store_->updateRow(info_.name, keyAt(index), columns, values, checked, expected);
}

void TableRows::remove(int index) {
    requireKeys();
    store_->deleteRow(info_.name, keyAt(index));
    keys_.erase(keys_.begin() + index);
}

}  // namespace ledger
