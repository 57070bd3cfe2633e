// SPDX-License-Identifier: GPL-3.0-or-later
#include "ledger/records/record_source.h"

#include <QUuid>
#include <algorithm>
#include <cmath>
#include <exception>

#include "ledger/amount/amount.h"
#include "ledger/query/criteria.h"
#include "ledger/records/row_set.h"
#include "ledger/store/store.h"

namespace ledger {

[[noreturn]] void failStoredButUnread(const LedgerError& e) {
    // The row is in the books: saying only that the disk or the network
    // failed would send the user to type it again.
    fail(e.code(), QStringLiteral("What was typed is stored, but reading it back afterwards "
                                  "failed: %1 Show the row again (move to it, or Inquiry) to see "
                                  "it as stored; there is no need to save it again.")
                       .arg(e.message()));
}

RecordSource::RecordSource(const QString& objectName, QObject* parent) : QObject(parent) {
    setObjectName(objectName);
}

RecordSource::~RecordSource() = default;

void RecordSource::requireOpen() const {
    if (!rows_)
        fail(ErrorCode::InvalidOperation,
             QStringLiteral("The record source '%1' is not open.").arg(objectName()));
}

bool RecordSource::isReadOnly() const { return rows_ && rows_->isReadOnly(); }

int RecordSource::rowCount() const { return rows_ ? rows_->count() : 0; }

void RecordSource::forgetRow() {
    current_ = -1;
    rowGone_ = false;
    adding_ = false;
}

void RecordSource::open() {
    rows_.reset();
    forgetRow();
    noMatch_ = false;

    std::shared_ptr<Store> store = openStore(Connection{path_});
    auto rows = openRowSet(store, source_);
    for (FieldBinding* f : fields_)
        if (rows->info().indexOf(f->boundColumn()) < 0)
            fail(ErrorCode::UnknownName, QStringLiteral("'%1' has no column '%2'.")
                                             .arg(rows->info().name, f->boundColumn()));
    rows_ = std::move(rows);
    identity_ = rowIdentityOf(rows_->info());
    store_ = std::move(store);
    showFirstOrEmpty();
}

void RecordSource::showFirstOrEmpty() {
    if (rows_->isEmpty())
        showEmpty();
    else
        makeCurrent(0);
}

void RecordSource::close() {
    if (!rows_) return;
    auto release = [this] {
        rows_.reset();
        store_.reset();
        forgetRow();
    };
    try {
        writeBack();
    } catch (...) {
        release();
        throw;
    }
    release();
}

QStringList RecordSource::columnNames() const {
    return rows_ ? rows_->info().columns : QStringList();
}

std::vector<QVariant> RecordSource::currentValues(const QStringList& columns) const {
    if (!hasCurrentRow() || adding_ || columns.isEmpty()) return {};
    return rows_->values(current_, columns);
}

QString RecordSource::currentText(const QString& column) const {
    requireOpen();
    const SourceInfo& info = rows_->info();
    int i = info.indexOf(column);
    if (i < 0) fail(ErrorCode::UnknownName, QStringLiteral("No column '%1'.").arg(column));
    auto values = currentValues({info.columns[i]});
    return values.empty() ? QString() : fieldText(values[0]);
}

std::vector<QStringList> RecordSource::rowsAsText() const {
    return rows_ ? rows_->rowsAsText() : std::vector<QStringList>();
}

std::vector<std::vector<QVariant>> RecordSource::rowValues() const {
    return rows_ ? rows_->rowValues() : std::vector<std::vector<QVariant>>();
}

QStringList RecordSource::columnTexts(const QString& column) const {
    if (!rows_) return {};
    const int at = rows_->info().indexOf(column);
    if (at < 0) fail(ErrorCode::UnknownName, QStringLiteral("No column '%1'.").arg(column));
    QStringList texts;
    // A row removed by another program meanwhile has nothing to list.
    rows_->visitRows({rows_->info().columns[at]}, [&](int, const std::vector<QVariant>& values) {
        if (!values.empty()) texts << fieldText(values.front());
    });
    return texts;
}

void RecordSource::showEmpty() {
    readValues_.clear();
    agreedText_.reset();
    fillFields({});
}

void RecordSource::fillFields(const std::vector<QVariant>& values) {
    // Every field gets the row's value even when a field's change reaction
    // fails on the way (an overflowing stored figure): no field may keep the
    // previous row's text. The first failure is raised once all are filled.
    std::exception_ptr firstFailure;
    const std::vector<FieldBinding*> fields(fields_);
    for (size_t i = 0; i < fields.size(); ++i) {
        try {
            const QVariant value = i < values.size() ? values[i] : QVariant();
            if (value.typeId() == QMetaType::Double && !std::isfinite(value.toDouble())) {
                // A sum beyond the range of a number (two days of 1E+308):
                // never shown as "Infinity" nor counted silently as 0.
                fields[i]->showValue(QString());
                fail(ErrorCode::Overflow,
                     QStringLiteral("Overflow: '%1' is beyond the range of a number, so it is "
                                    "shown empty and the figures computed from it are wrong.")
                         .arg(fields[i]->boundColumn()));
            }
            fields[i]->showValue(fieldText(value));
        } catch (...) {
            if (!firstFailure) firstFailure = std::current_exception();
        }
    }
    Q_EMIT currentRowChanged();
    if (firstFailure) std::rethrow_exception(firstFailure);
}

void RecordSource::showCurrent() {
    const SourceInfo& info = rows_->info();
    QStringList columns;
    for (FieldBinding* f : fields_) columns << info.columns[info.indexOf(f->boundColumn())];
    const qsizetype bound = columns.size();
    // What the row is about is read with it, bound or not: a write-back
    // checks that the row still holds it.
    columns << identityBeyond(columns);
    // A row another window deleted meanwhile shows as empty fields.
    std::vector<QVariant> values = currentValues(columns);
    readValues_.clear();
    for (size_t i = 0; i < values.size(); ++i)
        readValues_.insert(columns[static_cast<qsizetype>(i)].toLower(), values[i]);
    if (values.size() > static_cast<size_t>(bound)) values.resize(static_cast<size_t>(bound));
    fillFields(values);
}

void RecordSource::makeCurrent(int index) {
    current_ = index;
    rowGone_ = false;
    adding_ = false;
    agreedText_.reset();
    showCurrent();
}

QStringList RecordSource::identityBeyond(const QStringList& columns) const {
    QStringList beyond;
    for (const QString& column : identity_.columns)
        if (!columns.contains(column, Qt::CaseInsensitive)) beyond << column;
    return beyond;
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

bool RecordSource::hasEdits() const {
    return std::any_of(fields_.begin(), fields_.end(),
                       [](const FieldBinding* f) { return f->isChanged(); });
}

void RecordSource::setConflictAdvice(const QString& column, const QString& advice) {
    conflictAdvice_.insert(column.toLower(), advice);
}

void RecordSource::setDistinctColumn(const QString& column, const QString& advice) {
    distinctColumn_ = column;
    repeatAdvice_ = advice;
}

void RecordSource::setStoringQuestion(const QString& column,
                                      std::function<bool(const QString&)> agrees) {
    askedColumn_ = column;
    agrees_ = std::move(agrees);
    agreedText_.reset();
}

void RecordSource::askBeforeStoring(const PendingRow& row) {
    if (!agrees_) return;
    const bool typedThere = row.columns.contains(askedColumn_, Qt::CaseInsensitive);
    // A stored row keeps what it holds there unless that was changed.
    if (!adding_ && !typedThere) return;
    const QString text =
        typedThere ? fieldText(valueIn(row.columns, row.values, askedColumn_)) : QString();
    if (agreedText_ == text) return;
    if (!agrees_(text))
        fail(ErrorCode::CancelledByUser,
             QStringLiteral("Nothing was stored, as asked: what was typed stays in the window."));
    agreedText_ = text;
}

void RecordSource::writeBack() { storeEdits(false); }

void RecordSource::writeBackAllowingRepeat() { storeEdits(true); }

void RecordSource::storeEdits(bool allowRepeat) {
    if (!rows_) return;
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
    const SourceInfo& info = rows_->info();
    if (rows_->isReadOnly()) {
        LedgerError error(ErrorCode::ReadOnly,
                          QStringLiteral("Cannot update. '%1' is read-only: what was typed "
                                         "cannot be stored.")
                              .arg(info.name));
        if (readOnlyEdits_ == ReadOnlyEdits::Fail) throw error;
        for (FieldBinding* f : changed) f->clearChanged();
        if (reporter_) reporter_(error);
        return;
    }
    if (!adding_ && !hasCurrentRow()) failNoCurrentRow();

    const PendingRow row = converted(changed);
    askBeforeStoring(row);
    const QStringList& columns = row.columns;
    const std::vector<QVariant>& values = row.values;

    if (adding_) {
        storeNewRow(row, allowRepeat);
    } else {
        // A stored row changed to repeat another's value is asked about
        // like a new one (looked for first: an edit is one till's own).
        if (const QVariant repeated = allowRepeat ? QVariant() : distinctValueOf(row);
            !repeated.isNull() && anotherRowHolds(repeated))
            failRepeated(repeated, false);
        // The changed figures' old values, and what the row is about.
        const QStringList checked = columns + identityBeyond(columns);
        std::vector<QVariant> expected;
        expected.reserve(static_cast<size_t>(checked.size()));
        for (const QString& column : checked)
            expected.push_back(readValues_.value(column.toLower()));
        if (!rows_->update(current_, columns, values, checked, expected))
            failLostUpdate(columns, checked, expected);
    }
    // What is stored now is what the next write-back expects to find.
    for (qsizetype i = 0; i < columns.size(); ++i)
        readValues_.insert(columns[i].toLower(), values[static_cast<size_t>(i)]);
    for (FieldBinding* f : changed) f->clearChanged();
    agreedText_.reset();
}

PendingRow RecordSource::converted(const std::vector<FieldBinding*>& changed) const {
    // Convert every field first: one that its column cannot take stops the
    // whole write, so nothing of the row is half stored.
    const SourceInfo& info = rows_->info();
    PendingRow row;
    for (FieldBinding* f : changed) {
        int i = info.indexOf(f->boundColumn());
        row.columns << info.columns[i];
        const QString text = f->editedText();
        if (!info.isAmount[i]) {
            row.values.emplace_back(text);
            continue;
        }
        auto amount = parseStoredAmount(text);
        if (!amount)
            fail(ErrorCode::DataTypeConversion,
                 QStringLiteral("'%1' is not a number, so it cannot be stored as '%2'. Nothing "
                                "was stored; correct it and try again.")
                     .arg(text, info.columns[i]));
        row.values.push_back(amount->isEmpty ? QVariant() : QVariant(amount->value));
    }
    return row;
}

void RecordSource::failRepeated(const QVariant& value, bool newRow) const {
    const QString noun = identity_.noun.isEmpty() ? QStringLiteral("row") : identity_.noun;
    const int at = rows_->info().indexOf(distinctColumn_);
    const QString column = at >= 0 ? rows_->info().columns[at] : distinctColumn_;
    QString message = newRow
                          ? QStringLiteral(
                                "A %1 whose %2 is \"%3\" is already stored (by this till or "
                                "another), so this new %1 was not stored: it would be a second one "
                                "for the same %2. Nothing was stored; what was typed stays in the "
                                "window.")
                                .arg(noun, column, fieldText(value))
                          : QStringLiteral(
                                "A %1 whose %2 is \"%3\" is already stored (by this till or "
                                "another), so this %1 was not stored with that %2: there would be "
                                "two for the same %2. Nothing was stored; what was typed stays in "
                                "the window.")
                                .arg(noun, column, fieldText(value));
    if (!repeatAdvice_.isEmpty()) message += QLatin1Char(' ') + repeatAdvice_;
    fail(ErrorCode::AlreadyStored, message);
}

bool RecordSource::anotherRowHolds(const QVariant& value) const {
    const QString table = rows_->info().name;
    const Store::RowKey own = rows_->keyAt(current_);
    if (value.typeId() == QMetaType::QString)
        if (const auto keys = store_->rowKeysHoldingText(table, distinctColumn_, value.toString()))
            return std::any_of(keys->begin(), keys->end(),
                               [own](Store::RowKey key) { return key != own; });
    bool found = false;
    store_->scan(table, {distinctColumn_},
                 [&](Store::RowKey key, const std::vector<QVariant>& values) {
                     found = key != own && !values.empty() && values.front() == value;
                     return !found;
                 });
    return found;
}

QVariant RecordSource::distinctValueOf(const PendingRow& row) const {
    if (distinctColumn_.isEmpty()) return {};
    const QVariant value = valueIn(row.columns, row.values, distinctColumn_);
    // An empty text shows as nothing: no value to repeat either.
    if (value.typeId() == QMetaType::QString && value.toString().isEmpty()) return {};
    return value;
}

void RecordSource::storeNewRow(const PendingRow& row, bool allowRepeat,
                               const std::function<void()>& alongside) {
    const QString table = rows_->info().name;
    const QVariant distinct = allowRepeat ? QVariant() : distinctValueOf(row);
    // One transaction named after the new row: on a server whose connection
    // went during the commit, a second write-back of the same row (Save
    // again, or closing the window) finds the first one if it landed and
    // never stores the row twice.
    Store::Outcome outcome = Store::Outcome::Stored;
    try {
        outcome = store_->inTransaction(
            [&] {
                attemptKey_ = distinct.isNull()
                                  ? store_->insertRow(table, row.columns, row.values)
                                  : store_->insertRowUnlessStored(table, row.columns, row.values,
                                                                  distinctColumn_);
                attemptRow_ = row;
                if (alongside) alongside();
            },
            attempt_);
    } catch (const LedgerError& e) {
        if (e.code() != ErrorCode::AlreadyStored) throw;
        failRepeated(distinct, true);
    }
    // The row is stored. Should reading it back fail (the disk, the
    // network), the next write-back must not store it a second time: what
    // was typed counts as stored, and no row is current until the next move.
    adding_ = false;
    rowGone_ = false;
    attempt_.clear();
    try {
        current_ = rows_->adopt(attemptKey_);
    } catch (const LedgerError& e) {
        forgetStoredEdits();
        failStoredButUnread(e);
    }
    if (outcome == Store::Outcome::StoredEarlier) storeOverEarlierTry(row);
    // The new row is about what it holds now: what was typed, and whatever
    // the store put in the identity columns nobody typed.
    readValues_.clear();
    const QStringList untyped = identityBeyond(row.columns);
    std::vector<QVariant> stored;
    try {
        stored = currentValues(untyped);
    } catch (const LedgerError& e) {
        forgetStoredEdits();
        failStoredButUnread(e);
    }
    for (size_t i = 0; i < stored.size(); ++i)
        readValues_.insert(untyped[static_cast<qsizetype>(i)].toLower(), stored[i]);
}

void RecordSource::forgetStoredEdits() {
    forgetRow();
    readValues_.clear();
    for (FieldBinding* f : fields_) f->clearChanged();
}

void RecordSource::storeOverEarlierTry(const PendingRow& row) {
    // The first try landed with what was typed then: the row holds that, and
    // what was changed since goes into it like any edit.
    readValues_.clear();
    for (qsizetype i = 0; i < attemptRow_.columns.size(); ++i)
        readValues_.insert(attemptRow_.columns[i].toLower(),
                           attemptRow_.values[static_cast<size_t>(i)]);
    std::vector<QVariant> expected;
    for (const QString& column : row.columns)
        expected.push_back(readValues_.value(column.toLower()));
    if (!rows_->update(current_, row.columns, row.values, row.columns, expected))
        failLostUpdate(row.columns, row.columns, expected);
}

Store& RecordSource::store() const {
    requireOpen();
    return *store_;
}

void RecordSource::storeNewRowWith(const std::function<void()>& alongside) {
    requireOpen();
    if (!adding_)
        fail(ErrorCode::NoCurrentRecord, QStringLiteral("No new record is being entered."));
    std::vector<FieldBinding*> changed;
    for (FieldBinding* f : fields_)
        if (f->isChanged()) changed.push_back(f);
    const PendingRow row = converted(changed);
    askBeforeStoring(row);
    storeNewRow(row, false, alongside);
    for (qsizetype i = 0; i < row.columns.size(); ++i)
        readValues_.insert(row.columns[i].toLower(), row.values[static_cast<size_t>(i)]);
    for (FieldBinding* f : changed) f->clearChanged();
    agreedText_.reset();
}

void RecordSource::deleteCurrentWith(const std::function<void()>& alongside) {
    requireRemovableRow();
    const SourceInfo& info = rows_->info();
    QStringList read;
    std::vector<QVariant> values;
    for (auto at = readValues_.cbegin(); at != readValues_.cend(); ++at)
        if (const int i = info.indexOf(at.key()); i >= 0) {
            read << info.columns[i];
            values.push_back(at.value());
        }
    const Store::RowKey key = rows_->keyAt(current_);
    // The set's keys are read now, not when the row is dropped from it:
    // once the removal has landed, nothing may fail and say it did not.
    rows_->count();
    if (removalKey_ != key) {
        removal_ = QUuid::createUuid().toString(QUuid::WithoutBraces);
        removalKey_ = key;
    }
    try {
        store_->inTransaction(
            [&] {
                // The row is first written over with what it was read with:
                // a server then holds it for this transaction, so another
                // till removing or changing it meanwhile waits and afterwards
                // finds it gone, and a file is held whole anyway. The look
                // and the removal are one step for every till.
                if (!rows_->update(current_, read, values, read, values)) failRemovedOrChanged();
                store_->deleteRow(info.name, key);
                if (alongside) alongside();
            },
            removal_);
    } catch (const LedgerError& e) {
        // Changed elsewhere: the row is shown as it is now, so what is
        // removed next is what the user sees.
        if (e.code() == ErrorCode::ChangedElsewhere) makeCurrent(current_);
        throw;
    }
    // Removed now, or by an earlier try whose commit was not confirmed.
    rows_->forget(current_);
    removal_.clear();
    removalKey_ = -1;
    rowGone_ = true;  // current_ now indexes the row after the removed one
    for (FieldBinding* f : fields_) f->clearChanged();
}

void RecordSource::failRemovedOrChanged() {
    const QString noun = identity_.noun.isEmpty() ? QStringLiteral("record") : identity_.noun;
    if (rows_->values(current_, {rows_->info().columns.value(0)}).empty())
        fail(ErrorCode::RecordDeleted,
             QStringLiteral("This %1 was removed by another program or till after it was shown "
                            "here. Nothing was removed now, and nothing went with it.")
                 .arg(noun));
    fail(ErrorCode::ChangedElsewhere,
         QStringLiteral("This %1 was changed by another program or till after it was shown here. "
                        "Nothing was removed, and nothing went with it; it is shown now as it "
                        "is stored. Remove it again only if it is still the one to remove.")
             .arg(noun));
}

QVariant RecordSource::readValue(const QString& column) const {
    return readValues_.value(column.toLower());
}

void RecordSource::showStored(const QString& column) {
    requireOpen();
    if (adding_ || !hasCurrentRow()) return;
    const SourceInfo& info = rows_->info();
    const int at = info.indexOf(column);
    if (at < 0) fail(ErrorCode::UnknownName, QStringLiteral("No column '%1'.").arg(column));
    const std::vector<QVariant> now = rows_->values(current_, {info.columns[at]});
    if (now.empty()) return;  // gone meanwhile: the next move says so
    readValues_.insert(info.columns[at].toLower(), now[0]);
    for (FieldBinding* f : std::vector<FieldBinding*>(fields_))
        if (!f->isChanged() && f->boundColumn().compare(column, Qt::CaseInsensitive) == 0)
            f->showValue(fieldText(now[0]));
}

void RecordSource::takeInNewRows() {
    requireOpen();
    const int count = rows_->count();
    const qint64 currentKey =
        (current_ >= 0 && current_ < count && !rowGone_ && !adding_) ? rows_->keyAt(current_) : -1;
    const qint64 beforeKey =
        (adding_ && beforeAdd_ >= 0 && beforeAdd_ < count) ? rows_->keyAt(beforeAdd_) : -1;
    rows_->reload();
    if (adding_) {
        beforeAdd_ = beforeKey >= 0 ? rows_->indexOfKey(beforeKey) : -1;
    } else if (currentKey >= 0) {
        const int index = rows_->indexOfKey(currentKey);
        if (index >= 0) {
            current_ = index;
        } else {
            // Deleted elsewhere meanwhile: as after Delete, no current row.
            rowGone_ = true;
            current_ = std::min(current_, rows_->count());
        }
    }
}

QStringList RecordSource::columnsOf(const Criterion& criterion) const {
    // The columns a criterion names, as the row set spells them.
    const SourceInfo& info = rows_->info();
    QStringList columns;
    for (const auto& c : criterion.conditions) {
        int i = info.indexOf(c.column);
        if (i < 0)
            fail(ErrorCode::UnknownName,
                 QStringLiteral("'%1' is not a column of '%2'.").arg(c.column, info.name));
        columns << info.columns[i];
    }
    return columns;
}

std::optional<Bookmark> RecordSource::lookUp(const QString& criterionText) const {
    requireOpen();
    Criterion criterion = Criterion::parse(criterionText);
    const QStringList columns = columnsOf(criterion);
    const std::optional<int> index = rows_->find(criterion, columns, 0, false);
    if (!index) return std::nullopt;
    return Bookmark{rows_->keyAt(*index)};
}

Bookmark RecordSource::bookmarkAt(int index) const {
    requireOpen();
    if (index < 0 || index >= rows_->count())
        fail(ErrorCode::NoCurrentRecord, QStringLiteral("No current record."));
    return Bookmark{rows_->keyAt(index)};
}

bool RecordSource::holds(const Bookmark& mark) const {
    return rows_ && rows_->indexOfKey(mark.key) >= 0;
}

void RecordSource::failLostUpdate(const QStringList& columns, const QStringList& checked,
                                  const std::vector<QVariant>& expected) {
    const std::vector<QVariant> now = rows_->values(current_, checked);
    if (now.empty())
        fail(ErrorCode::RecordDeleted,
             QStringLiteral("This record was deleted by another program or window after it was "
                            "shown here, so what was typed cannot be stored in it. The text stays "
                            "in the window; move to another record or close the window (and "
                            "answer whether to give the text up)."));
    const SourceInfo& info = rows_->info();
    auto differs = [&](qsizetype i) {
        const auto at = static_cast<size_t>(i);
        return now[at].isNull() != expected[at].isNull() ||
               fieldText(now[at]) != fieldText(expected[at]);
    };
    // A secret's values are never written into a message.
    auto change = [&](qsizetype i) {
        const auto at = static_cast<size_t>(i);
        if (holdsSecret(info, checked[i])) return checked[i] + QStringLiteral(" (changed)");
        return QStringLiteral("%1 from \"%2\" to \"%3\"")
            .arg(checked[i], fieldText(expected[at]), fieldText(now[at]));
    };

    // The row is about another day or person now (another window or program
    // changed its date or name, or the books were copied or restored over
    // the ones read): nothing is stored without the user being told which
    // one it holds. Told, storing again puts the text into the row as it is
    // now, on purpose, as with another figure's change.
    QStringList moved;
    for (qsizetype i = 0; i < checked.size(); ++i) {
        if (!identity_.columns.contains(checked[i], Qt::CaseInsensitive) || !differs(i)) continue;
        moved << change(i);
        readValues_.insert(checked[i].toLower(), now[static_cast<size_t>(i)]);
    }
    if (!moved.isEmpty()) {
        for (qsizetype i = 0; i < columns.size(); ++i)
            readValues_.insert(columns[i].toLower(), now[static_cast<size_t>(i)]);
        fail(ErrorCode::ChangedElsewhere,
             QStringLiteral("This record no longer holds the %1 shown here: %2 (another window "
                            "or program changed it, or the books were copied or restored "
                            "meanwhile). Nothing was stored, so no other %1 was changed; your "
                            "text stays in the window. Store again (Save, or move to another "
                            "record) only if your text belongs to the record as it is now; "
                            "otherwise close the window without storing it and find the %1.")
                 .arg(identity_.noun, moved.join(QStringLiteral("; "))));
    }

    QStringList changes;
    QStringList advice;
    for (qsizetype i = 0; i < columns.size(); ++i) {
        if (!differs(i)) continue;
        changes << change(i);
        if (const QString special = conflictAdvice_.value(columns[i].toLower()); !special.isEmpty())
            advice << special.arg(fieldText(now[static_cast<size_t>(i)]));
        // Seen now: storing the same text again is the user's deliberate choice.
        readValues_.insert(columns[i].toLower(), now[static_cast<size_t>(i)]);
    }
    const QString nextStep =
        advice.isEmpty() ? QStringLiteral(
                               "To keep their figure, type it in place of yours; to put yours in "
                               "its place, store again (Save, or move to another record).")
                         : advice.join(QLatin1Char(' '));
    fail(ErrorCode::ChangedElsewhere,
         QStringLiteral("Another program or window changed this record while it was being "
                        "edited here: %1. Nothing was stored, so their change is not lost; your "
                        "text stays in the window. %2")
             .arg(changes.join(QStringLiteral("; ")), nextStep));
}

void RecordSource::discardEdits() {
    for (FieldBinding* f : fields_) f->clearChanged();
    agreedText_.reset();
    if (adding_) {
        adding_ = false;
        current_ = beforeAdd_;
        attempt_.clear();
    }
}

void RecordSource::refresh() {
    requireOpen();
    const bool typed = adding_ || hasEdits();
    writeBack();
    try {
        rows_->reload();
        forgetRow();
        showFirstOrEmpty();
    } catch (const LedgerError& e) {
        if (!typed) throw;
        forgetRow();
        failStoredButUnread(e);
    }
}

void RecordSource::addNew() {
    requireOpen();
    if (rows_->isReadOnly())
        fail(ErrorCode::ReadOnly,
             QStringLiteral("Cannot add a row: '%1' is read-only.").arg(rows_->info().name));
    writeBack();
    beforeAdd_ = hasCurrentRow() ? current_ : -1;
    adding_ = true;
    attempt_ = QUuid::createUuid().toString(QUuid::WithoutBraces);
    attemptKey_ = -1;
    readValues_.clear();
    agreedText_.reset();
    fillFields({});
}

void RecordSource::requireRemovableRow() const {
    requireOpen();
    if (rows_->isReadOnly())
        fail(ErrorCode::ReadOnly,
             QStringLiteral("Cannot delete: '%1' is read-only.").arg(rows_->info().name));
    if (adding_ || !hasCurrentRow())
        fail(ErrorCode::NoCurrentRecord, QStringLiteral("No current record."));
}

void RecordSource::deleteCurrent() {
    requireRemovableRow();
    rows_->remove(current_);
    rowGone_ = true;  // current_ now indexes the row after the deleted one
    for (FieldBinding* f : fields_) f->clearChanged();
}

void RecordSource::moveFirst() {
    requireOpen();
    writeBack();
    showFirstOrEmpty();
}

void RecordSource::moveLast() {
    requireOpen();
    writeBack();
    if (rows_->count() == 0)
        showEmpty();
    else
        makeCurrent(rows_->count() - 1);
}

void RecordSource::moveNext() {
    requireOpen();
    writeBack();
    if (rows_->count() == 0) return showEmpty();
    int last = rows_->count() - 1;
    int target = rowGone_ ? current_ : current_ + 1;
    makeCurrent(std::clamp(target, 0, last));
}

void RecordSource::movePrevious() {
    requireOpen();
    writeBack();
    if (rows_->count() == 0) return showEmpty();
    int last = rows_->count() - 1;
    makeCurrent(std::clamp(current_ - 1, 0, last));
}

void RecordSource::showNoRow() {
    requireOpen();
    writeBack();
    forgetRow();
    showEmpty();
}

Bookmark RecordSource::bookmark() const {
    requireOpen();
    if (adding_) {
        // While a new row is being typed the bookmark is the row shown before.
        if (beforeAdd_ >= 0) return Bookmark{rows_->keyAt(beforeAdd_)};
        failNoCurrentRow();
    }
    if (!hasCurrentRow()) failNoCurrentRow();
    return Bookmark{rows_->keyAt(current_)};
}

void RecordSource::failNoCurrentRow() const {
    if (!rows_->isEmpty()) fail(ErrorCode::NoCurrentRecord, QStringLiteral("No current record."));
    // Books with no rows here yet (a new shop): say how to begin.
    const QString noun = identity_.noun.isEmpty() ? QStringLiteral("record") : identity_.noun;
    QString words = emptyAdvice_;
    if (words.isEmpty())
        words = rows_->isReadOnly()
                    ? QStringLiteral("there is nothing here yet.")
                    : QStringLiteral("there is no %1 in the books yet. %2")
                          .arg(noun, adding_ ? QStringLiteral("Save the new %1 first.").arg(noun)
                                             : QStringLiteral("Press New first to begin one."));
    fail(ErrorCode::NoCurrentRecord, QStringLiteral("No current record: ") + words);
}

void RecordSource::showRow(const Bookmark& mark) {
    requireOpen();
    // Read afresh: a row stored since is found, one deleted since is said.
    takeInNewRows();
    if (!holds(mark)) {
        const QString noun = identity_.noun.isEmpty() ? QStringLiteral("record") : identity_.noun;
        fail(ErrorCode::RecordDeleted,
             QStringLiteral("This %1 is no longer in the books: another window or program "
                            "deleted it after it was shown. Nothing was stored or moved.")
                 .arg(noun));
    }
    setBookmark(mark);
}

void RecordSource::setBookmark(const Bookmark& mark) {
    requireOpen();
    writeBack();
    int index = rows_->indexOfKey(mark.key);
    if (index < 0) fail(ErrorCode::InvalidOperation, QStringLiteral("Not a valid bookmark."));
    makeCurrent(index);
}

std::optional<int> RecordSource::find(const QString& criterionText, bool backwards) {
    requireOpen();
    // A malformed criterion fails before anything is stored.
    Criterion criterion = Criterion::parse(criterionText);
    const QStringList columns = columnsOf(criterion);
    writeBack();
    // Where a backward search starts: before the current row.
    const int before = (hasCurrentRow() || rowGone_) ? current_ : rows_->count();
    return rows_->find(criterion, columns, before, backwards);
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
