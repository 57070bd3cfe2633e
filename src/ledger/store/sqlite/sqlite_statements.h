#pragma once

#include <QString>
#include <QVariant>

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
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    sqlite3* handle() const { return db_; }
    // Closes now and reports a failure (the destructor cannot).
    void close();

private:
    [[noreturn]] void failHere(const QString& doing) const;

    QString path_;
    sqlite3* db_ = nullptr;
};

// Runs one or more statements that return no rows.
void run(sqlite3* db, const QString& sql, const QString& doing);

class Statement {
public:
    Statement(sqlite3* db, const QString& sql, const QString& doing);
    ~Statement();
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    // Values: a null QVariant (empty), a number (double or int) or text.
    void bind(int position, const QVariant& value);
    // True while a row is available; throws on failure.
    bool step();
    void reset();

    int columnCount() const;
    QString columnName(int column) const;
    QVariant value(int column) const;  // null, double or QString
    sqlite3_stmt* handle() const { return stmt_; }

private:
    sqlite3* db_;
    sqlite3_stmt* stmt_ = nullptr;
    QString doing_;
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
