// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QVariant>
#include <vector>

namespace ledger {

class Store;

// One value a recorded change touched: the column, what it held before and
// what it held after (empty for a row added or removed). An amount is a
// figure, a text its text, whichever engine kept it.
struct RecordedValue {
    QString column;
    QVariant before;
    QVariant after;
};

// One row added, changed or removed, as the books' history (schema.h,
// kHistory) recorded it.
struct RecordedChange {
    qint64 key = -1;  // the change's own row in the history
    QString when;     // "2026-12-09 09:12:41", the books' local time
    QString till;     // the till's name; empty for another program
    QString program;  // "tallowbrook", or "another program"
    QString staff;    // who was logged in; empty when nobody said
    QString table;    // the shop's table the row is in
    qint64 row = -1;  // the row's key in that table
    QString date;     // the row's date
    QString name;     // a staff or wage row's name
    QString change;   // "added", "changed" or "removed"
    std::vector<RecordedValue> values;

    bool isRemoval() const { return change == QLatin1String("removed"); }
    bool isAddition() const { return change == QLatin1String("added"); }
    // What the row held in `column` before the change; empty when nothing.
    QVariant before(const QString& column) const;
};

// Everything recorded of the day `date`: its day sheet (with the supply
// items kept in it) and its wage rows, newest first. None when the books
// keep no history. Throws LedgerError when the books cannot be read.
std::vector<RecordedChange> historyOfDay(Store& books, const QString& date);

}  // namespace ledger
