#include "sqlite_file.h"

#include <sqlite3.h>

#include <QFile>
#include <memory>
#include <stdexcept>

#include "schema_builder.h"

namespace sqlite_file {

namespace {

std::unique_ptr<sqlite3, int (*)(sqlite3*)> open(const QString& path) {
    sqlite3* raw = nullptr;
    int rc = sqlite3_open_v2(path.toUtf8().constData(), &raw, SQLITE_OPEN_READWRITE, nullptr);
    std::unique_ptr<sqlite3, int (*)(sqlite3*)> db(raw, sqlite3_close);
    if (rc != SQLITE_OK) throw std::runtime_error("cannot open " + path.toStdString());
    return db;
}

}  // namespace

std::vector<std::vector<QVariant>> query(const QString& path, const QString& sql) {
    auto db = open(path);
    sqlite3_stmt* st = nullptr;
    if (sqlite3_prepare_v2(db.get(), sql.toUtf8().constData(), -1, &st, nullptr) != SQLITE_OK)
        throw std::runtime_error(sqlite3_errmsg(db.get()));
    std::vector<std::vector<QVariant>> rows;
    while (sqlite3_step(st) == SQLITE_ROW) {
        std::vector<QVariant> row;
        for (int i = 0; i < sqlite3_column_count(st); ++i) {
            switch (sqlite3_column_type(st, i)) {
                case SQLITE_NULL:
                    row.emplace_back();
                    break;
                case SQLITE_INTEGER:
                case SQLITE_FLOAT:
                    row.emplace_back(sqlite3_column_double(st, i));
                    break;
                default:
                    row.emplace_back(QString::fromUtf8(
                        reinterpret_cast<const char*>(sqlite3_column_text(st, i))));
            }
        }
        rows.push_back(std::move(row));
    }
    sqlite3_finalize(st);
    return rows;
}

void exec(const QString& path, const QString& sql) {
    auto db = open(path);
    if (sqlite3_exec(db.get(), sql.toUtf8().constData(), nullptr, nullptr, nullptr) != SQLITE_OK)
        throw std::runtime_error(sqlite3_errmsg(db.get()));
}

QStringList problems(const QString& path) {
    auto db = open(path);
    return ledger::checkSchema(db.get());
}

bool writeBytes(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

QByteArray readBytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

}  // namespace sqlite_file
