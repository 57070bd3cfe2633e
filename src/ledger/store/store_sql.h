// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

#include "ledger/store/sql_dialect.h"

// The statements that carry the store's conflict rules, written once for
// both engines: a write lands only in the row as it was read. Names come
// quoted (the table as the database spells it); the values are numbered
// from 1 in the order each function names, and a `guard` (an engine's own
// check that the table is still the one first read, empty when there is
// none) follows as it stands, its values after those.
namespace ledger::store_sql {

// Stores the first values into `columns` of the row whose key is the next
// value, only while each `checked` column holds the value after it (empty
// matching only empty). With no columns to store, counts the rows that
// match instead: one while the row is there as it was read.
QString guardedUpdate(const SqlDialect& dialect, const QString& table, const QString& key,
                      const QStringList& columns, const QStringList& checked, const QString& guard);

// Adds the first value to `amount` of the row whose key is the second, an
// empty amount counting 0, only while `guardColumn` holds the third value;
// gives back the amount stored now.
QString guardedAddition(const SqlDialect& dialect, const QString& table, const QString& key,
                        const QString& amount, const QString& guardColumn, const QString& guard);

// Adds a row holding the values in `columns` (the first values) and gives
// back its key. With a `distinct` column, only while no row of the table
// holds the value after them there, compared with "=" (a text character for
// character, a figure as a number): the look and the insert are one
// statement. Nothing is added when the guard does not hold either.
QString guardedInsert(const SqlDialect& dialect, const QString& table, const QString& key,
                      const QStringList& columns, const QString& distinct, const QString& guard);

}  // namespace ledger::store_sql
