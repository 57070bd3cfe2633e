#include "record_source.h"

#include <QHash>
#include <QSet>
#include <algorithm>
#include <exception>

#include "amount.h"
#include "criteria.h"
#include "row_order.h"
#include "select_text.h"
#include "store.h"

namespace ledger {

// Rows of a read-only row set (a saved query or the SELECT text), read once
// at open/Refresh.
struct RecordSource::Snapshot {
    std::vector<std::vector<QVariant>> rows;
};

namespace {

QString fieldText(const QVariant& v) {
    if (v.isNull()) return {};
    if (v.typeId() == QMetaType::Double) return amountText(v.toDouble());
    return v.toString();
}

}  // namespace

RecordSource::RecordSource(const QString& objectName, QObject* parent) : QObject(parent) {
    setObjectName(objectName);
}

RecordSource::~RecordSource() = default;

void RecordSource::requireOpen() const {
    if (!store_)
        fail(ErrorCode::InvalidOperation,
             QStringLiteral("The record source '%1' is not open.").arg(objectName()));
}

bool RecordSource::isReadOnly() const { return snapshot_ != nullptr; }

void RecordSource::open() {
    store_.reset();
    snapshot_.reset();
    keys_.clear();
    current_ = -1;
    adding_ = false;
    rowGone_ = false;
    noMatch_ = false;
    fromSelectText_ = false;

    auto store = openStore(Connection{path_});
    if (SelectText::looksLikeSelect(source_)) {
        fromSelectText_ = true;
        SelectText select = SelectText::parse(source_);
        SourceInfo from = store->describe(select.source);
        info_ = SourceInfo{};
        info_.name = source_;
        for (const auto& c : select.columns) {
            int i = from.indexOf(c);
            if (i < 0)
                fail(ErrorCode::UnknownName,
                     QStringLiteral("The query '%1' has no column '%2'.").arg(from.name, c));
            info_.columns << from.columns[i];
            info_.isAmount.push_back(from.isAmount[i]);
        }
        QStringList needed = info_.columns;
        QStringList conditionColumns;
        for (const auto& c : select.where.conditions) {
            int i = from.indexOf(c.column);
            if (i < 0)
                fail(ErrorCode::UnknownName,
                     QStringLiteral("The query '%1' has no column '%2'.").arg(from.name, c.column));
            conditionColumns << from.columns[i];
        }
        int orderAt = -1;
        if (!select.orderBy.isEmpty()) {
            int i = from.indexOf(select.orderBy);
            if (i < 0)
                fail(ErrorCode::UnknownName, QStringLiteral("The query '%1' has no column '%2'.")
                                                 .arg(from.name, select.orderBy));
            orderAt = static_cast<int>(needed.size() + conditionColumns.size());
            needed << conditionColumns << from.columns[i];
        } else {
            needed << conditionColumns;
        }
        auto snapshot = std::make_unique<Snapshot>();
        const int shown = static_cast<int>(info_.columns.size());
        std::vector<std::pair<QVariant, std::vector<QVariant>>> kept;
        store->scan(from.name, needed, [&](Store::RowKey, const std::vector<QVariant>& values) {
            std::vector<QVariant> conditionValues(values.begin() + shown,
                                                  values.begin() + shown + conditionColumns.size());
            if (select.where.conditions.empty() || select.where.matches(conditionValues))
                kept.emplace_back(orderAt >= 0 ? values[orderAt] : QVariant(),
                                  std::vector<QVariant>(values.begin(), values.begin() + shown));
            return true;
        });
        if (orderAt >= 0)
            std::stable_sort(kept.begin(), kept.end(), [](const auto& a, const auto& b) {
                return rowValueLess(a.first, b.first);
            });
        for (auto& row : kept) snapshot->rows.push_back(std::move(row.second));
        snapshot_ = std::move(snapshot);
    } else {
        info_ = store->describe(source_);
        if (!info_.isTable) snapshot_ = std::make_unique<Snapshot>();
    }
    for (FieldBinding* f : fields_)
        if (info_.indexOf(f->boundColumn()) < 0)
            fail(ErrorCode::UnknownName,
                 QStringLiteral("'%1' has no column '%2'.").arg(info_.name, f->boundColumn()));

    store_ = std::move(store);
    loadKeys();
    if (keys_.empty())
        showEmpty();
    else
        makeCurrent(0);
}

void RecordSource::loadKeys() {
    if (snapshot_ && !fromSelectText_) {
        snapshot_->rows.clear();
        store_->scan(info_.name, info_.columns,
                     [&](Store::RowKey, const std::vector<QVariant>& values) {
                         snapshot_->rows.push_back(values);
                         return true;
                     });
    }
    keys_.clear();
    if (snapshot_) {
        keys_.resize(snapshot_->rows.size());
        for (size_t i = 0; i < keys_.size(); ++i) keys_[i] = static_cast<qint64>(i);
    } else {
        keys_ = store_->rowKeys(info_.name);
    }
    keysAscending_ = true;
    current_ = -1;
    rowGone_ = false;
    adding_ = false;
}

void RecordSource::close() {
    if (!store_) return;
    auto release = [this] {
        store_.reset();
        snapshot_.reset();
        keys_.clear();
        current_ = -1;
        adding_ = false;
    };
    try {
        writeBack();
    } catch (...) {
        release();
        throw;
    }
    release();
}

QStringList RecordSource::columnNames() const { return info_.columns; }

int RecordSource::indexOfKey(qint64 key) const {
    if (keysAscending_) {
        auto it = std::lower_bound(keys_.begin(), keys_.end(), key);
        return it != keys_.end() && *it == key ? static_cast<int>(it - keys_.begin()) : -1;
    }
    auto it = std::find(keys_.begin(), keys_.end(), key);
    return it == keys_.end() ? -1 : static_cast<int>(it - keys_.begin());
}

std::vector<QVariant> RecordSource::currentValues(const QStringList& columns) const {
    if (!hasCurrentRow() || adding_ || columns.isEmpty()) return {};
    if (snapshot_) {
        std::vector<QVariant> out;
        const auto& row = snapshot_->rows[keys_[current_]];
        for (const auto& c : columns) out.push_back(row[info_.indexOf(c)]);
        return out;
    }
    return store_->readRow(info_.name, keys_[current_], columns);
}

QString RecordSource::currentText(const QString& column) const {
    int i = info_.indexOf(column);
    if (i < 0) fail(ErrorCode::UnknownName, QStringLiteral("No column '%1'.").arg(column));
    auto values = currentValues({info_.columns[i]});
    return values.empty() ? QString() : fieldText(values[0]);
}

std::vector<QStringList> RecordSource::rowsAsText() const {
    std::vector<QStringList> out;
    if (!store_) return out;
    if (snapshot_) {
        for (qint64 k : keys_) {
            QStringList row;
            for (const auto& v : snapshot_->rows[k]) row << fieldText(v);
            out.push_back(row);
        }
        return out;
    }
    // One pass over the table for the whole list, then in the row set's own
    // order; a row deleted meanwhile by another window comes out empty.
    QHash<qint64, QStringList> byKey;
    byKey.reserve(static_cast<qsizetype>(keys_.size()));
    store_->scan(info_.name, info_.columns,
                 [&](Store::RowKey key, const std::vector<QVariant>& values) {
                     QStringList row;
                     row.reserve(static_cast<qsizetype>(values.size()));
                     for (const auto& v : values) row << fieldText(v);
                     byKey.insert(key, row);
                     return true;
                 });
    out.reserve(keys_.size());
    for (qint64 k : keys_) out.push_back(byKey.value(k));
    return out;
}

void RecordSource::showEmpty() { fillFields({}); }

void RecordSource::fillFields(const std::vector<QVariant>& values) {
    // Every field gets the row's value even when a field's change reaction
    // fails on the way (an overflowing stored figure): no field may keep the
    // previous row's text. The first failure is raised once all are filled.
    std::exception_ptr firstFailure;
    const std::vector<FieldBinding*> fields(fields_);
    for (size_t i = 0; i < fields.size(); ++i) {
        try {
            fields[i]->showValue(i < values.size() ? fieldText(values[i]) : QString());
        } catch (...) {
            if (!firstFailure) firstFailure = std::current_exception();
        }
    }
    Q_EMIT currentRowChanged();
    if (firstFailure) std::rethrow_exception(firstFailure);
}

void RecordSource::showCurrent() {
    QStringList columns;
    for (FieldBinding* f : fields_) columns << info_.columns[info_.indexOf(f->boundColumn())];
    // A row another window deleted meanwhile shows as empty fields.
    fillFields(currentValues(columns));
}

void RecordSource::makeCurrent(int index) {
    current_ = index;
    rowGone_ = false;
    adding_ = false;
    showCurrent();
}

void RecordSource::bind(FieldBinding* field) {
    if (std::find(fields_.begin(), fields_.end(), field) == fields_.end()) fields_.push_back(field);
}

void RecordSource::unbind(FieldBinding* field) {
    fields_.erase(std::remove(fields_.begin(), fields_.end(), field), fields_.end());
}

void RecordSource::setReadOnlyEdits(ReadOnlyEdits policy,
                                    std::function<void(const LedgerError&)> reporter) {
    readOnlyEdits_ = policy;
    reporter_ = std::move(reporter);
}

void RecordSource::writeBack() {
    if (!store_) return;
    std::vector<FieldBinding*> changed;
    for (FieldBinding* f : fields_)
        if (f->isChanged()) changed.push_back(f);

    if (changed.empty()) {
        if (adding_) {
            // A new row nobody typed into is dropped.
            adding_ = false;
            current_ = beforeAdd_;
        }
        return;
    }
    if (snapshot_) {
        LedgerError error(ErrorCode::ReadOnly,
                          QStringLiteral("Cannot update. '%1' is read-only: what was typed "
                                         "cannot be stored.")
                              .arg(info_.name));
        if (readOnlyEdits_ == ReadOnlyEdits::Fail) throw error;
        for (FieldBinding* f : changed) f->clearChanged();
        if (reporter_) reporter_(error);
        return;
    }
    if (!adding_ && !hasCurrentRow())
        fail(ErrorCode::NoCurrentRecord, QStringLiteral("No current record."));

    // Convert every field first: one that its column cannot take stops the
    // whole write, so nothing of the row is half stored.
    QStringList columns;
    std::vector<QVariant> values;
    for (FieldBinding* f : changed) {
        int i = info_.indexOf(f->boundColumn());
        columns << info_.columns[i];
        const QString text = f->editedText();
        if (!info_.isAmount[i]) {
            values.emplace_back(text);
            continue;
        }
        auto amount = parseStoredAmount(text);
        if (!amount)
            fail(ErrorCode::DataTypeConversion,
                 QStringLiteral("Data type conversion error: '%1' is not a number, so it cannot "
                                "be stored as '%2'. Correct it and try again.")
                     .arg(text, info_.columns[i]));
        values.push_back(amount->isEmpty ? QVariant() : QVariant(amount->value));
    }

    if (adding_) {
        qint64 key = store_->insertRow(info_.name, columns, values);
        if (!keys_.empty() && key <= keys_.back()) keysAscending_ = false;
        keys_.push_back(key);
        current_ = static_cast<int>(keys_.size()) - 1;
        adding_ = false;
        rowGone_ = false;
    } else {
        store_->updateRow(info_.name, keys_[current_], columns, values);
    }
    for (FieldBinding* f : changed) f->clearChanged();
}

void RecordSource::discardEdits() {
    for (FieldBinding* f : fields_) f->clearChanged();
    if (adding_) {
        adding_ = false;
        current_ = beforeAdd_;
    }
}

void RecordSource::refresh() {
    requireOpen();
    writeBack();
    if (fromSelectText_) return open();
    loadKeys();
    if (keys_.empty())
        showEmpty();
    else
        makeCurrent(0);
}

void RecordSource::addNew() {
    requireOpen();
    if (snapshot_)
        fail(ErrorCode::ReadOnly,
             QStringLiteral("Cannot add a row: '%1' is read-only.").arg(info_.name));
    writeBack();
    beforeAdd_ = hasCurrentRow() ? current_ : -1;
    adding_ = true;
    fillFields({});
}

void RecordSource::deleteCurrent() {
    requireOpen();
    if (snapshot_)
        fail(ErrorCode::ReadOnly,
             QStringLiteral("Cannot delete: '%1' is read-only.").arg(info_.name));
    if (adding_ || !hasCurrentRow())
        fail(ErrorCode::NoCurrentRecord, QStringLiteral("No current record."));
    store_->deleteRow(info_.name, keys_[current_]);
    keys_.erase(keys_.begin() + current_);
    rowGone_ = true;  // current_ now indexes the row after the deleted one
    for (FieldBinding* f : fields_) f->clearChanged();
}

void RecordSource::moveFirst() {
    requireOpen();
    writeBack();
    if (keys_.empty())
        showEmpty();
    else
        makeCurrent(0);
}

void RecordSource::moveLast() {
    requireOpen();
    writeBack();
    if (keys_.empty())
        showEmpty();
    else
        makeCurrent(static_cast<int>(keys_.size()) - 1);
}

void RecordSource::moveNext() {
    requireOpen();
    writeBack();
    if (keys_.empty()) return showEmpty();
    int last = static_cast<int>(keys_.size()) - 1;
    int target = rowGone_ ? current_ : current_ + 1;
    makeCurrent(std::clamp(target, 0, last));
}

void RecordSource::movePrevious() {
    requireOpen();
    writeBack();
    if (keys_.empty()) return showEmpty();
    int last = static_cast<int>(keys_.size()) - 1;
    makeCurrent(std::clamp(current_ - 1, 0, last));
}

Bookmark RecordSource::bookmark() const {
    requireOpen();
    if (adding_) {
        // While a new row is being typed the bookmark is the row shown before.
        if (beforeAdd_ >= 0) return Bookmark{keys_[beforeAdd_]};
        fail(ErrorCode::NoCurrentRecord, QStringLiteral("No current record."));
    }
    if (!hasCurrentRow()) fail(ErrorCode::NoCurrentRecord, QStringLiteral("No current record."));
    return Bookmark{keys_[current_]};
}

void RecordSource::setBookmark(const Bookmark& mark) {
    requireOpen();
    writeBack();
    int index = indexOfKey(mark.key);
    if (index < 0) fail(ErrorCode::InvalidOperation, QStringLiteral("Not a valid bookmark."));
    makeCurrent(index);
}

std::optional<int> RecordSource::find(const QString& criterionText, bool backwards) {
    requireOpen();
    // A malformed criterion fails before anything is stored.
    Criterion criterion = Criterion::parse(criterionText);
    QStringList columns;
    std::vector<int> at;
    for (const auto& c : criterion.conditions) {
        int i = info_.indexOf(c.column);
        if (i < 0)
            fail(ErrorCode::UnknownName,
                 QStringLiteral("'%1' is not a column of '%2'.").arg(c.column, info_.name));
        columns << info_.columns[i];
        at.push_back(i);
    }
    writeBack();

    const int count = static_cast<int>(keys_.size());
    // Where a backward search starts: before the current row.
    int start = hasCurrentRow() ? current_ : (rowGone_ ? current_ : count);

    if (snapshot_) {
        std::vector<QVariant> values(at.size());
        auto test = [&](int index) {
            const auto& row = snapshot_->rows[keys_[index]];
            for (size_t j = 0; j < at.size(); ++j) values[j] = row[at[j]];
            return criterion.matches(values);
        };
        if (backwards) {
            for (int i = start - 1; i >= 0; --i)
                if (test(i)) return i;
        } else {
            for (int i = 0; i < count; ++i)
                if (test(i)) return i;
        }
        return std::nullopt;
    }

    // A table: the values come in bulk, in rowid order, and our own evaluator
    // tests them; no SQL round trip per row.
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
        else if (start > 0)
            store_->scanBelow(info_.name, start < count ? keys_[start] : keys_.back() + 1, columns,
                              visit);
        return found;
    }
    QSet<qint64> matching;
    store_->scan(info_.name, columns, [&](Store::RowKey key, const std::vector<QVariant>& values) {
        if (criterion.matches(values)) matching.insert(key);
        return true;
    });
    if (backwards) {
        for (int i = start - 1; i >= 0; --i)
            if (matching.contains(keys_[i])) return i;
    } else {
        for (int i = 0; i < count; ++i)
            if (matching.contains(keys_[i])) return i;
    }
    return std::nullopt;
}

void RecordSource::findFirst(const QString& criterion) {
    auto index = find(criterion, false);
    noMatch_ = !index.has_value();
    if (index) makeCurrent(*index);
}

void RecordSource::findPrevious(const QString& criterion) {
    auto index = find(criterion, true);
    noMatch_ = !index.has_value();
    if (index) makeCurrent(*index);
}

bool guardedFind(RecordSource& source, const QString& criterion, FindDirection direction,
                 bool moveFirstBefore) {
    const Bookmark mark = source.bookmark();
    if (moveFirstBefore) source.moveFirst();
    if (direction == FindDirection::First)
        source.findFirst(criterion);
    else
        source.findPrevious(criterion);
    if (!source.noMatch()) return true;
    source.setBookmark(mark);
    return false;
}

}  // namespace ledger
