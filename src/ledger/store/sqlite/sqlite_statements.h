// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>
#include <QVariant>
#include <functional>

struct sqlite3;
struct sqlite3_stmt;

// The program's one SQLite wrapper outside the store's own statements: a
// connection that owns its handle, statements built by our own code from the
// schema's names with values always bound as parameters, and savepoints. Used
// to make, check, back up and restore database files, and by the tests.
// Every failure becomes a LedgerError (StoreFailure).
namespace ledger::statements {

// A connection to a database file, closed with the object. Threading: one
// thread at a time, like every SQLite connection here.
class Connection {
public:
    enum class Mode { ReadWrite, ReadOnly, Create };
    explicit Connection(const QString& path, Mode mode = Mode::ReadWrite);
    // Says a failure to open as `failure` does (given SQLite's result code,
    // it throws); the store names the books in the shop's words.
    Connection(const QString& path, Mode mode, const std::function<void(int resultCode)>& failure);
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    sqlite3* handle() const { return db_; }
    const QString& path() const { return path_; }
    // Closes now and reports a failure (the destructor cannot).
    void close();

    // How long a statement waits for another connection's lock before it
    // fails as busy.
    void waitWhenBusy(int milliseconds);
    // Whether another connection holds the file's write lock now (a
    // program writing it): asked without waiting and without keeping any
    // lock. False when the file can be locked, and for any other failure.
    bool lockedByAnother();
    // Undoes the transaction open on this connection, if any; a failure to
    // undo is not said (the failure on its way says more).
    void rollBackQuietly();

private:
    [[noreturn]] void failHere(const QString& doing) const;

    QString path_;
    sqlite3* db_ = nullptr;
};

// Runs one or more statements that return no rows.
void run(sqlite3* db, const QString& sql, const QString& doing);

// The first column of every row a query with one text parameter returns,
// as text: the names of a table's columns or triggers, say.
QStringList textsOf(sqlite3* db, const QString& sql, const QString& value, const QString& doing);

// The one rule for values going into a file and coming out of it, for the
// store and for everything that makes or copies a file. Binds an empty
// value as NULL, a double as a double, a whole number (int, qint64 and
// their unsigned kinds) as an integer, and anything else as its text, with
// its length (a text may hold a NUL character). Returns SQLite's result code.
int bindValue(sqlite3_stmt* statement, int position, const QVariant& value);
// A column of the current row: a null QVariant, a double for every number
// (whole or not), or a QString.
QVariant columnValue(sqlite3_stmt* statement, int column);

class Statement {
public:
    // How a failure is said: given SQLite's result code, throws. By default
    // a StoreFailure that names what was being done and SQLite's words; the
    // store says its own (a locked, full or read-only file in the shop's
    // words).
    using Failure = std::function<void(int resultCode)>;

    Statement(sqlite3* db, const QString& sql, const QString& doing);
    Statement(sqlite3* db, const QString& sql, Failure failure);
    ~Statement();
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    // Values as bindValue binds them.
    void bind(int position, const QVariant& value);
    // True while a row is available; throws on failure.
    bool step();
    void reset();

    int columnCount() const;
    QString columnName(int column) const;
    QVariant value(int column) const;  // as columnValue reads it
    // As value reads it, but a text (or a blob) as the bytes stored, a
    // QByteArray never decoded: what a file holds, byte for byte.
    QVariant storedValue(int column) const;
    qint64 integer(int column) const;  // a whole number (a key, a count) to the last digit
    sqlite3_stmt* handle() const { return stmt_; }

private:
    [[noreturn]] void failWith(int resultCode) const;

    sqlite3* db_;
    sqlite3_stmt* stmt_ = nullptr;
    Failure failure_;
};

// A savepoint: nests inside an open transaction and acts as one on its own.
// Rolled back unless released.
class Savepoint {
public:
    Savepoint(sqlite3* db, const QString& name);
    ~Savepoint();
    Savepoint(const Savepoint&) = delete;
    Savepoint& operator=(const Savepoint&) = delete;
    void release();

private:
    sqlite3* db_;
    QString name_;
    bool open_ = true;
};

}  // namespace ledger::statements
