// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/temp_database.h"

#include <QFile>
#include <stdexcept>

#include "forms/workspace.h"
#include "ledger/location/program_folder.h"
#include "ledger/store/source_info.h"
#include "ledger/store/sqlite/sqlite_statements.h"
#include "setup/schema_builder.h"

using ledger::statements::Connection;
using ledger::statements::Statement;

TempDatabase::TempDatabase(bool withDemoData) {
    // Without a server on the server run the test is skipped before its body.
    if (test_server::requested() && !test_server::baseAddress().isEmpty()) {
        server_ = std::make_unique<test_server::ServerSchema>(withDemoData);
        // Written as the shop's administrator writes it: the address as it is.
        QFile ini(dir_.filePath(QStringLiteral("tallowbrook.ini")));
        if (!ini.open(QIODevice::WriteOnly) ||
            ini.write("database=" + server_->address().toUtf8() + "\n") < 0 || !ini.flush())
            throw std::runtime_error("cannot write tallowbrook.ini for a server test");
    } else if (!test_server::requested()) {
        setup::writeDatabaseFile(filePath(), withDemoData, false);
    }
    ledger::setProgramFolder(dir_.path());
    // The user's data folder is the same folder: without books beside the
    // program the windows still look here, never in the real home.
    ledger::setDataFolder(dir_.path());
    // The books the windows open, as the program sets them at its start.
    forms::workspace().setBooks(path());
}

TempDatabase::~TempDatabase() {
    ledger::setProgramFolder({});
    ledger::setDataFolder({});
}

QString TempDatabase::filePath() const { return dir_.path() + QStringLiteral("/breakfast.mdb"); }

QString TempDatabase::path() const { return server_ ? server_->address() : filePath(); }

void TempDatabase::exec(const QString& sql) const {
    if (server_) return server_->exec(sql);
    Connection db(path());
    ledger::statements::run(db.handle(), sql, QStringLiteral("Test statement"));
}

qint64 TempDatabase::insert(const QString& table, const QStringList& columns,
                            const std::vector<QVariant>& values) const {
    if (server_) return server_->insert(table, columns, values);
    QStringList quoted, marks;
    for (const auto& c : columns) {
        quoted << ledger::quoteName(c);
        marks << QStringLiteral("?");
    }
    Connection db(path());
    Statement add(db.handle(),
                  QStringLiteral("INSERT INTO %1 (%2) VALUES (%3) RETURNING rowid")
                      .arg(ledger::quoteName(table), quoted.join(','), marks.join(',')),
                  QStringLiteral("Test insert"));
    for (size_t i = 0; i < values.size(); ++i) add.bind(static_cast<int>(i) + 1, values[i]);
    add.step();
    return add.value(0).toLongLong();
}

std::vector<std::vector<QVariant>> TempDatabase::query(const QString& sql) const {
    if (server_) return server_->query(sql);
    Connection db(path());
    Statement read(db.handle(), sql, QStringLiteral("Test query"));
    std::vector<std::vector<QVariant>> rows;
    while (read.step()) {
        std::vector<QVariant> row;
        for (int i = 0; i < read.columnCount(); ++i) row.push_back(read.value(i));
        rows.push_back(std::move(row));
    }
    return rows;
}

QVariant TempDatabase::scalar(const QString& sql) const {
    auto rows = query(sql);
    return rows.empty() || rows[0].empty() ? QVariant() : rows[0][0];
}
