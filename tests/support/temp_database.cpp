#include "temp_database.h"

#include <sqlite3.h>

#include <stdexcept>

#include "program_folder.h"
#include "schema_builder.h"
#include "source_info.h"

namespace {

struct Connection {
    sqlite3* db = nullptr;
    explicit Connection(const QString& path) {
        if (sqlite3_open(path.toUtf8().constData(), &db) != SQLITE_OK)
            throw std::runtime_error("cannot open test database");
    }
    ~Connection() { sqlite3_close(db); }
};

void check(int rc, sqlite3* db) {
    if (rc != SQLITE_OK && rc != SQLITE_DONE && rc != SQLITE_ROW)
        throw std::runtime_error(sqlite3_errmsg(db));
}

QVariant columnValue(sqlite3_stmt* st, int i) {
    switch (sqlite3_column_type(st, i)) {
        case SQLITE_NULL:
            return {};
        case SQLITE_INTEGER:
        case SQLITE_FLOAT:
            return sqlite3_column_double(st, i);
        default:
            return QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, i)));
    }
}

}  // namespace

TempDatabase::TempDatabase(bool withDemoData) {
    ledger::writeDatabaseFile(path(), withDemoData, false);
    ledger::setProgramFolder(dir_.path());
}

TempDatabase::~TempDatabase() { ledger::setProgramFolder({}); }

QString TempDatabase::path() const { return dir_.path() + QStringLiteral("/breakfast.mdb"); }

void TempDatabase::exec(const QString& sql) const {
    Connection c(path());
    check(sqlite3_exec(c.db, sql.toUtf8().constData(), nullptr, nullptr, nullptr), c.db);
}

qint64 TempDatabase::insert(const QString& table, const QStringList& columns,
                            const std::vector<QVariant>& values) const {
    QStringList quoted, marks;
    for (const auto& c : columns) {
        quoted << ledger::quoteName(c);
        marks << QStringLiteral("?");
    }
    QString sql = QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                      .arg(ledger::quoteName(table), quoted.join(','), marks.join(','));
    Connection c(path());
    sqlite3_stmt* st = nullptr;
    check(sqlite3_prepare_v2(c.db, sql.toUtf8().constData(), -1, &st, nullptr), c.db);
    for (size_t i = 0; i < values.size(); ++i) {
        const QVariant& v = values[i];
        int at = static_cast<int>(i) + 1;
        if (v.isNull())
            sqlite3_bind_null(st, at);
        else if (v.typeId() == QMetaType::Double || v.typeId() == QMetaType::Int)
            sqlite3_bind_double(st, at, v.toDouble());
        else
            sqlite3_bind_text(st, at, v.toString().toUtf8().constData(), -1, SQLITE_TRANSIENT);
    }
    int rc = sqlite3_step(st);
    sqlite3_finalize(st);
    check(rc, c.db);
    return sqlite3_last_insert_rowid(c.db);
}

std::vector<std::vector<QVariant>> TempDatabase::query(const QString& sql) const {
    Connection c(path());
    sqlite3_stmt* st = nullptr;
    check(sqlite3_prepare_v2(c.db, sql.toUtf8().constData(), -1, &st, nullptr), c.db);
    std::vector<std::vector<QVariant>> rows;
    while (sqlite3_step(st) == SQLITE_ROW) {
        std::vector<QVariant> row;
        for (int i = 0; i < sqlite3_column_count(st); ++i) row.push_back(columnValue(st, i));
        rows.push_back(row);
    }
    sqlite3_finalize(st);
    return rows;
}

QVariant TempDatabase::scalar(const QString& sql) const {
    auto rows = query(sql);
    return rows.empty() || rows[0].empty() ? QVariant() : rows[0][0];
}
