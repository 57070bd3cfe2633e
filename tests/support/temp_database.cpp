#include "temp_database.h"

#include "program_folder.h"
#include "schema_builder.h"
#include "sqlite_statements.h"
#include "source_info.h"

using ledger::statements::Connection;
using ledger::statements::Statement;

TempDatabase::TempDatabase(bool withDemoData) {
    ledger::writeDatabaseFile(path(), withDemoData, false);
    ledger::setProgramFolder(dir_.path());
}

TempDatabase::~TempDatabase() { ledger::setProgramFolder({}); }

QString TempDatabase::path() const { return dir_.path() + QStringLiteral("/breakfast.mdb"); }

void TempDatabase::exec(const QString& sql) const {
    Connection db(path());
    ledger::statements::run(db.handle(), sql, QStringLiteral("Test statement"));
}

qint64 TempDatabase::insert(const QString& table, const QStringList& columns,
                            const std::vector<QVariant>& values) const {
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
