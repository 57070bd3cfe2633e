// SPDX-License-Identifier: GPL-3.0-or-later
#include "sqlite_file.h"

#include <QFile>

#include "ledger/store/sqlite/sqlite_statements.h"
#include "setup/schema_builder.h"

namespace sqlite_file {

using ledger::statements::Connection;
using ledger::statements::Statement;

std::vector<std::vector<QVariant>> query(const QString& path, const QString& sql) {
    Connection db(path);
    Statement read(db.handle(), sql, QStringLiteral("Reading %1").arg(path));
    std::vector<std::vector<QVariant>> rows;
    while (read.step()) {
        std::vector<QVariant> row;
        for (int i = 0; i < read.columnCount(); ++i) row.push_back(read.value(i));
        rows.push_back(std::move(row));
    }
    return rows;
}

void exec(const QString& path, const QString& sql) {
    Connection db(path);
    ledger::statements::run(db.handle(), sql, QStringLiteral("Changing %1").arg(path));
}

QStringList problems(const QString& path) {
    Connection db(path);
    return setup::checkSchema(db);
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
