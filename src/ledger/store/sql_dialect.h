// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

#include "ledger/calendar/calendar_sql.h"
#include "ledger/schema/schema.h"

namespace ledger {

// What SQLite and PostgreSQL spell differently, in one place: everything
// else of the SQL the program writes (the tables, the saved queries, the
// kept month totals, the store's statements) is written once for both.
class SqlDialect {
public:
    static const SqlDialect& sqlite();
    static const SqlDialect& postgres();

    // The calendar rule's SQL for this engine (calendar_sql.h).
    calendar::SqlDialect calendar() const { return calendar_; }

    // A table's key column: handed out once and never again, a deleted
    // row's key included.
    QString keyColumnDefinition() const;
    // The type a column of this kind is made with: amounts are doubles,
    // days and texts are kept as typed.
    QString columnType(schema::Kind kind) const;
    // What orders a table's rows as they were added (SQLite's rowid is the
    // key column itself; a file made before row keys has only the rowid).
    QString rowOrder() const;
    // The `n`th value of a statement (from 1).
    QString placeholder(int n) const;
    // The same, for a value added to an amount (the server is told it is a
    // double; a file takes any number as it comes).
    QString amountPlaceholder(int n) const;
    // The triggers that keep a saved query's rows ready (schema.h).
    QStringList keptTriggers(const schema::KeptTotals& kept) const;
    // Whether a column declared `type` (as the engine's catalogue reports
    // it) keeps numbers as numbers, and whether it keeps every value as its
    // text, so that "=" compares character for character. A file's rules
    // are SQLite's for a column's affinity; a server's its type names.
    bool declaresNumber(const QString& type) const;
    bool declaresText(const QString& type) const;
    // Whether a column declared `type` can keep the shop's amounts as
    // numbers: any of a file's number affinities (a flag or a date type
    // reads as NUMERIC), a server's number types.
    bool holdsAmounts(const QString& type) const;
    // True when both sides are empty or both hold the same value.
    QString sameValue(const QString& left, const QString& right) const;
    // `text` matching `pattern`, whose wildcards are `*` (any run of
    // characters) and `?` (one character), every other character compared
    // as it is (the pattern holds none of the engine's own wildcards); and
    // that pattern as the engine spells it.
    QString matches(const QString& text, const QString& pattern) const;
    QString pattern(const QString& wildcards) const;
    // A text column ordered by its bytes, empty ones first, as a file
    // orders texts.
    QString inByteOrder(const QString& column) const;
    // A text column as an index of days keeps it. A server's index compares
    // characters as they are, so that a pattern with a fixed start
    // (`LIKE '2002/%'`) reads a range of it as `=` does; a file's index of
    // the column itself already serves its GLOB so.
    QString indexedText(const QString& column) const;
    // The column a new row holding nothing is stored by, given an empty
    // value: a file's own row number (which hands out the key), or on a
    // server, whose key takes no value, the table's first column.
    QString emptyRowColumn(const QString& firstColumn) const;

private:
    explicit SqlDialect(calendar::SqlDialect calendar) : calendar_(calendar) {}
    bool isSqlite() const { return calendar_ == calendar::SqlDialect::Sqlite; }

    calendar::SqlDialect calendar_;
};

}  // namespace ledger
