// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QHash>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "ledger/base/ledger_error.h"
#include "ledger/records/field_binding.h"
#include "ledger/records/row_identity.h"
#include "ledger/store/source_info.h"
#include "ledger/store/store.h"

namespace ledger {

class RowSet;
struct Criterion;
class Store;

// A new row's values, converted for their columns and not stored yet.
struct PendingRow {
    QStringList columns;
    std::vector<QVariant> values;
};

// One open row set of the database with one current row: a table (a dynaset:
// keys fixed at open/Refresh, rows read afresh when they become current), a
// saved query or the one accepted SELECT text (read-only snapshots).
//
// Every operation that leaves the current row first performs the write-back:
// the changed bound fields, and only those, are stored into the current row.
// Says that what was typed is stored although reading it back afterwards
// failed (`e`, the disk or the network), so that nobody types it again.
[[noreturn]] void failStoredButUnread(const LedgerError& e);

class RecordSource : public QObject {
    Q_OBJECT
public:
    // What a write-back does with edits on a read-only row set.
    enum class ReadOnlyEdits {
        Fail,              // throw ReadOnly; the move does not happen
        ReportAndDiscard,  // report through the reporter, drop the edits, go on
    };

    explicit RecordSource(const QString& objectName, QObject* parent = nullptr);
    ~RecordSource() override;

    void setDatabasePath(const QString& path) { path_ = path; }
    const QString& databasePath() const { return path_; }
    void setSource(const QString& source) { source_ = source; }
    const QString& source() const { return source_; }

    void open();
    // Write-back, then closes. The row set is closed even when the write-back
    // fails (the error is still thrown, after closing).
    void close();
    bool isOpen() const { return rows_ != nullptr; }
    bool isReadOnly() const;

    void refresh();
    void addNew();
    void deleteCurrent();
    void moveFirst();
    void movePrevious();
    void moveNext();
    void moveLast();
    void findFirst(const QString& criterion);
    void findPrevious(const QString& criterion);
    bool noMatch() const { return noMatch_; }

    // Stores the changed fields, then shows no row: the bound fields go
    // empty and take no typing (acceptsEdits) until a move or setBookmark
    // brings a row, as after Delete. For a window whose other row set names
    // nothing here (a month of an employee the register lacks): it shows
    // nobody's values rather than the last row's.
    void showNoRow();

    // Throws NoCurrentRecord; on a row set with no rows yet its message
    // says what to do first (the empty advice, or New for a table).
    Bookmark bookmark() const;
    void setBookmark(const Bookmark& mark);
    // Moves to the row `mark` names, as setBookmark does (what was typed
    // here is stored first). The mark may come from another record source
    // on the same table: its rows share their keys, so this is that very
    // row, never another one holding the same date or name. The row set's
    // rows are read afresh first, so a row stored since is found. Throws
    // RecordDeleted, moving nowhere and storing nothing, when the table no
    // longer holds it.
    void showRow(const Bookmark& mark);
    // What the message of a row set with no rows yet says after "No current
    // record: ", what is missing and what to do (for a table the default
    // says to press New first).
    void setEmptyAdvice(const QString& advice) { emptyAdvice_ = advice; }

    bool hasCurrentRow() const { return current_ >= 0 && !rowGone_; }
    bool isNewRow() const { return adding_; }
    // Whether what is typed into a bound field has a row to go to: a current
    // row or a new row being entered. On an empty table, or after Delete,
    // there is none until New or a move.
    bool acceptsEdits() const { return isOpen() && (adding_ || hasCurrentRow()); }
    int rowCount() const;
    int currentIndex() const { return current_; }

    // Column names of the open row set (as the file spells them), and the
    // current row's values as fields show them.
    QStringList columnNames() const;
    QString currentText(const QString& column) const;
    // All rows as text, for the grid (read-only row sets).
    std::vector<QStringList> rowsAsText() const;
    // All rows' values (the grid shows each as fieldText when drawn).
    std::vector<std::vector<QVariant>> rowValues() const;
    // One column of every row, as fields show it (a list reads only the
    // column it lists).
    QStringList columnTexts(const QString& column) const;

    void bind(FieldBinding* field);
    void unbind(FieldBinding* field);

    void setReadOnlyEdits(ReadOnlyEdits policy,
                          std::function<void(const LedgerError&)> reporter = {});

    // Whether any bound field holds an edit not stored yet.
    bool hasEdits() const;
    // What the message about another program's change advises for this
    // figure instead of storing again (a figure other windows add to, whose
    // replacement would drop what they added). "%1" stands for the figure
    // stored now.
    void setConflictAdvice(const QString& column, const QString& advice);

    // Stores the changed fields now (what every move does first).
    void writeBack();

    // Rows must not repeat a value another row holds in `column` (a day's
    // date, say): a write-back of a new row whose value there another row
    // holds, stored before or by another till a moment ago, refuses with
    // AlreadyStored and stores nothing; the row stays new, with what was
    // typed. The look and the insert are one step of the store
    // (Store::insertRowUnlessStored). A stored row whose value there was
    // changed to another row's is refused the same way (looked for first,
    // then updated: an edit is one till's own). `advice` ends the message:
    // what the user can do. A row with nothing there (or an empty text) is
    // stored as ever. An empty column lets every value repeat (the
    // default).
    void setDistinctColumn(const QString& column, const QString& advice = QString());
    // Values of `column` the user must agree to before they are stored: a
    // write-back that would store a new row, or a changed value of
    // `column`, first calls `agrees` with the text it would store there
    // (empty when nothing was typed). When it returns false nothing is
    // stored, what was typed stays (a new row stays new) and the write-back
    // throws CancelledByUser, which windows do not report again: the user
    // has just answered. However the row is stored (Save, a move, New,
    // closing the window), it is the same question. A yes holds for that
    // text of the row until it is stored, given up or left, so a second
    // question about the same row does not bring this one back.
    void setStoringQuestion(const QString& column, std::function<bool(const QString&)> agrees);
    // The write-back, storing the row even when another row holds its
    // value of that column: the user chose to have both.
    void writeBackAllowingRepeat();
    // Gives up the pending edits without storing them (the user chose to
    // close a window whose edits cannot be stored); a new row nobody stored
    // is dropped. What is stored already stays as it is.
    void discardEdits();

    // --- for a write that must land together with another one ------------
    // The store the row set lives in (open only).
    Store& store() const;
    // The same store, shared: whoever holds it keeps the books open after
    // this source closes (nothing when closed).
    std::shared_ptr<Store> sharedStore() const { return store_; }
    // Stores the new row being entered and runs `alongside` in the same
    // transaction: both land or neither (`alongside` throws to undo the row
    // too, and nothing is stored). Afterwards the new row is the current row,
    // its fields unchanged. A try after a connection lost during the commit
    // is recognised (Store::inTransaction): the row and what `alongside`
    // stored are never stored twice. Not a new row: NoCurrentRecord.
    void storeNewRowWith(const std::function<void()>& alongside);
    // Removes the current row and runs `alongside` in the same transaction:
    // both land or neither (`alongside` throws to keep the row too).
    // Removed only while the row still holds every value it was read with
    // here (its bound columns and what it is about): changed or removed by
    // another window, program or till meanwhile, it throws ChangedElsewhere
    // or RecordDeleted and nothing is removed. Another till removing the
    // same row at the same moment waits, then finds it gone: a row is
    // removed once. A try after a connection lost during the commit is
    // recognised (Store::inTransaction): what `alongside` stored is never
    // stored twice. Afterwards there is no current row, as after Delete.
    // Not a stored row: NoCurrentRecord.
    void deleteCurrentWith(const std::function<void()>& alongside);
    // The current row's value of `column` as last read or stored here.
    QVariant readValue(const QString& column) const;
    // Reads the current row's `column` again as the store holds it now and
    // shows it in the fields bound to it that hold no edit of their own.
    void showStored(const QString& column);

    // Takes in rows that other windows or tills added since the row set
    // was read, staying on the row (or the new row) shown; nothing stored.
    void takeInNewRows();
    // The first row satisfying the criterion, without storing anything or
    // moving: nullopt when none does.
    std::optional<Bookmark> lookUp(const QString& criterion) const;
    // The row at a position of the row set.
    Bookmark bookmarkAt(int index) const;
    // Whether the row set holds the row of this bookmark.
    bool holds(const Bookmark& mark) const;

Q_SIGNALS:
    // After a new current row (or none) was loaded into the bound fields.
    void currentRowChanged();

private:
    // A stored row is shown and the row set takes removals; throws otherwise.
    void requireRemovableRow() const;
    void requireOpen() const;
    void forgetRow();
    // After a new row was stored and could not be read back.
    void forgetStoredEdits();
    void makeCurrent(int index);
    void showFirstOrEmpty();
    void showCurrent();
    void showEmpty();
    void fillFields(const std::vector<QVariant>& values);
    std::optional<int> find(const QString& criterion, bool backwards);
    QStringList columnsOf(const Criterion& criterion) const;
    std::vector<QVariant> currentValues(const QStringList& columns) const;
    PendingRow converted(const std::vector<FieldBinding*>& changed) const;
    void storeEdits(bool allowRepeat);
    void storeNewRow(const PendingRow& row, bool allowRepeat,
                     const std::function<void()>& alongside = {});
    // The row's value that must not repeat; empty when there is none.
    QVariant distinctValueOf(const PendingRow& row) const;
    // Whether a row other than the current one holds `value` in the
    // distinct column.
    bool anotherRowHolds(const QVariant& value) const;
    // Asks the storing question about the row about to be stored, when it
    // has one; throws CancelledByUser when the user says no.
    void askBeforeStoring(const PendingRow& row);
    [[noreturn]] void failNoCurrentRow() const;
    // AlreadyStored, in the shop's words, for a new row or a stored one.
    [[noreturn]] void failRepeated(const QVariant& value, bool newRow) const;
    void storeOverEarlierTry(const PendingRow& row);
    [[noreturn]] void failRemovedOrChanged();
    [[noreturn]] void failLostUpdate(const QStringList& columns, const QStringList& checked,
                                     const std::vector<QVariant>& expected);
    // The identity columns not among `columns`, as the current row was read.
    QStringList identityBeyond(const QStringList& columns) const;

    QString path_;
    QString source_;
    std::shared_ptr<Store> store_;  // while open
    std::unique_ptr<RowSet> rows_;  // while open
    RowIdentity identity_;          // what a row of the open set is about
    // The new row's name for the store, and what its last storing try put
    // in (the key comes back before the commit that may not be confirmed).
    QString attempt_;
    Store::RowKey attemptKey_ = -1;
    PendingRow attemptRow_;
    // The current row's removal, named for the store while it may be tried
    // again, and the row it removes.
    QString removal_;
    Store::RowKey removalKey_ = -1;
    // The current row's values as they were read (its bound columns and its
    // identity), by lower-case column: what a write-back expects to find
    // still stored.
    QHash<QString, QVariant> readValues_;
    int current_ = -1;
    bool rowGone_ = false;  // after Delete: no current row until the next move
    bool adding_ = false;
    int beforeAdd_ = -1;
    bool noMatch_ = false;
    std::vector<FieldBinding*> fields_;
    ReadOnlyEdits readOnlyEdits_ = ReadOnlyEdits::Fail;
    QHash<QString, QString> conflictAdvice_;  // by lower-case column
    QString distinctColumn_;                  // new rows do not repeat its values
    QString repeatAdvice_;
    QString emptyAdvice_;
    QString askedColumn_;  // values stored only once the user agrees
    std::function<bool(const QString&)> agrees_;
    std::optional<QString> agreedText_;  // what the user agreed to for the row
    std::function<void(const LedgerError&)> reporter_;
};

// The search every command uses: remember the current row, (optionally move to
// the first row,) find, and go back to the remembered row when nothing
// matched. No message either way. Returns whether a row matched.
bool guardedFind(RecordSource& source, const QString& criterion,
                 FindDirection direction = FindDirection::First, bool moveFirstBefore = false);

}  // namespace ledger
