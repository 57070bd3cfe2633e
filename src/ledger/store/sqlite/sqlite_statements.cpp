// SPDX-License-Identifier: GPL-3.0-or-later
#include "ledger/store/sqlite/sqlite_statements.h"

#include <sqlite3.h>

#include <QDir>
#include <QFile>

#include "ledger/base/ledger_error.h"
#include "ledger/store/file_kind.h"
#include "ledger/store/source_info.h"

namespace ledger::statements {

namespace {

[[noreturn]] void failWith(sqlite3* db, const QString& doing) {
    fail(ErrorCode::StoreFailure,
         QStringLiteral("%1 failed: %2").arg(doing, QString::fromUtf8(sqlite3_errmsg(db))));
}

}  // namespace

Connection::Connection(const QString& path, Mode mode) : Connection(path, mode, {}) {}

Connection::Connection(const QString& path, Mode mode,
                       const std::function<void(int resultCode)>& failure)
    : path_(path) {
    // SQLite would wait for ever reading a named pipe, and take a device
    // for an empty database (a folder it refuses itself).
    if (const QString what = notAFile(path); !what.isEmpty() && what != QLatin1String("a folder"))
        fail(ErrorCode::NotADatabase,
             QStringLiteral("%1 is %2, not a database file; nothing was opened. The books are "
                            "kept in a database file (or on a database server): name that.")
                 .arg(QDir::toNativeSeparators(path), what));
    // One thread uses a connection at a time (see the header): SQLite need
    // not lock it at every call, which a read of many values pays for at
    // each value.
    const int flags =
        SQLITE_OPEN_NOMUTEX | (mode == Mode::ReadOnly ? SQLITE_OPEN_READONLY
                               : mode == Mode::Create ? SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE
                                                      : SQLITE_OPEN_READWRITE);
    const int rc = sqlite3_open_v2(QFile::encodeName(path).constData(), &db_, flags, nullptr);
    if (rc == SQLITE_OK) return;
    // The handle SQLite gives even when it cannot open is closed before the
    // failure is said: no destructor runs for an object never made.
    const QString said = QString::fromUtf8(db_ ? sqlite3_errmsg(db_) : sqlite3_errstr(rc));
    sqlite3_close_v2(db_);
    db_ = nullptr;
    if (failure) failure(rc);
    fail(ErrorCode::StoreFailure,
         QStringLiteral("Opening %1 failed: %2").arg(QDir::toNativeSeparators(path_), said));
}

Connection::~Connection() {
    if (db_) sqlite3_close_v2(db_);
}

void Connection::close() {
    if (sqlite3_close(db_) != SQLITE_OK) failHere(QStringLiteral("Closing"));
    db_ = nullptr;
}

void Connection::waitWhenBusy(int milliseconds) { sqlite3_busy_timeout(db_, milliseconds); }

bool Connection::lockedByAnother() {
    waitWhenBusy(0);
    const int rc = sqlite3_exec(db_, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr);
    if (rc == SQLITE_OK) sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
    return rc == SQLITE_BUSY || rc == SQLITE_LOCKED;
}

void Connection::rollBackQuietly() {
    if (!sqlite3_get_autocommit(db_)) sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
}

void Connection::failHere(const QString& doing) const {
    fail(ErrorCode::StoreFailure,
         QStringLiteral("%1 %2 failed: %3")
             .arg(doing, QDir::toNativeSeparators(path_), QString::fromUtf8(sqlite3_errmsg(db_))));
}

QStringList textsOf(sqlite3* db, const QString& sql, const QString& value, const QString& doing) {
    Statement read(db, sql, doing);
    read.bind(1, value);
    QStringList texts;
    while (read.step()) texts << read.value(0).toString();
    return texts;
}

void run(sqlite3* db, const QString& sql, const QString& doing) {
    char* message = nullptr;
    if (sqlite3_exec(db, sql.toUtf8().constData(), nullptr, nullptr, &message) != SQLITE_OK) {
        QString text = message ? QString::fromUtf8(message) : QString::fromUtf8(sqlite3_errmsg(db));
        sqlite3_free(message);
        fail(ErrorCode::StoreFailure, QStringLiteral("%1 failed: %2").arg(doing, text));
    }
}

int bindValue(sqlite3_stmt* statement, int position, const QVariant& value) {
    if (value.isNull()) return sqlite3_bind_null(statement, position);
    switch (value.typeId()) {
        case QMetaType::Double:
        case QMetaType::Float:
            return sqlite3_bind_double(statement, position, value.toDouble());
        case QMetaType::Int:
        case QMetaType::UInt:
        case QMetaType::LongLong:
        case QMetaType::ULongLong:
            return sqlite3_bind_int64(statement, position, value.toLongLong());
        default: {
            const QByteArray text = value.toString().toUtf8();
            return sqlite3_bind_text(statement, position, text.constData(),
                                     static_cast<int>(text.size()), SQLITE_TRANSIENT);
        }
    }
}

QVariant columnValue(sqlite3_stmt* statement, int column) {
    switch (sqlite3_column_type(statement, column)) {
        case SQLITE_NULL:
            return {};
        case SQLITE_INTEGER:
            return static_cast<double>(sqlite3_column_int64(statement, column));
        case SQLITE_FLOAT:
            return sqlite3_column_double(statement, column);
        default: {
            // The text first, then its length in bytes (a NUL may be inside).
            const auto* text =
                reinterpret_cast<const char*>(sqlite3_column_text(statement, column));
            return QString::fromUtf8(text, sqlite3_column_bytes(statement, column));
        }
    }
}

Statement::Statement(sqlite3* db, const QString& sql, const QString& doing)
    : Statement(db, sql, [db, doing](int) { statements::failWith(db, doing); }) {}

Statement::Statement(sqlite3* db, const QString& sql, Failure failure)
    : db_(db), failure_(std::move(failure)) {
    const int rc = sqlite3_prepare_v2(db, sql.toUtf8().constData(), -1, &stmt_, nullptr);
    if (rc != SQLITE_OK) {
        sqlite3_finalize(stmt_);
        stmt_ = nullptr;
        failWith(rc);
    }
}

void Statement::failWith(int resultCode) const {
    failure_(resultCode);
    // A failure rule that did not throw still ends the step here.
    fail(ErrorCode::StoreFailure, QString::fromUtf8(sqlite3_errmsg(db_)));
}

Statement::~Statement() { sqlite3_finalize(stmt_); }

void Statement::bind(int position, const QVariant& value) {
    if (const int rc = bindValue(stmt_, position, value); rc != SQLITE_OK) failWith(rc);
}

bool Statement::step() {
    const int rc = sqlite3_step(stmt_);
    if (rc == SQLITE_ROW) return true;
    if (rc == SQLITE_DONE) return false;
    failWith(rc);
}

void Statement::reset() {
    sqlite3_reset(stmt_);
    sqlite3_clear_bindings(stmt_);
}

int Statement::columnCount() const { return sqlite3_column_count(stmt_); }

QString Statement::columnName(int column) const {
    return QString::fromUtf8(sqlite3_column_name(stmt_, column));
}

QVariant Statement::value(int column) const { return columnValue(stmt_, column); }

QVariant Statement::storedValue(int column) const {
    const int type = sqlite3_column_type(stmt_, column);
    if (type != SQLITE_TEXT && type != SQLITE_BLOB) return columnValue(stmt_, column);
    return QByteArray(static_cast<const char*>(sqlite3_column_blob(stmt_, column)),
                      sqlite3_column_bytes(stmt_, column));
}

qint64 Statement::integer(int column) const { return sqlite3_column_int64(stmt_, column); }

Savepoint::Savepoint(sqlite3* db, const QString& name) : db_(db), name_(name) {
    run(db_, QStringLiteral("SAVEPOINT %1").arg(quoteName(name_)),
        QStringLiteral("Starting %1").arg(name_));
}

Savepoint::~Savepoint() {
    if (!open_) return;
    // Undo everything since the savepoint; errors here cannot be reported
    // better than the one already on its way.
    QByteArray name = quoteName(name_).toUtf8();
    sqlite3_exec(db_, ("ROLLBACK TO " + name).constData(), nullptr, nullptr, nullptr);
    sqlite3_exec(db_, ("RELEASE " + name).constData(), nullptr, nullptr, nullptr);
}

void Savepoint::release() {
    run(db_, QStringLiteral("RELEASE %1").arg(quoteName(name_)),
        QStringLiteral("Finishing %1").arg(name_));
    open_ = false;
}

}  // namespace ledger::statements
