#include "setup/postgres/ledger_copy.h"

#include <QFile>
#include <QFileInfo>

#include "ledger/base/ledger_error.h"
#include "ledger/schema/schema.h"
#include "ledger/store/postgres/server_connection.h"
#include "ledger/store/server_address.h"
#include "ledger/store/source_info.h"
#include "ledger/store/sqlite/sqlite_statements.h"
#include "ledger/store/store.h"
#include "setup/postgres/server_setup.h"
#include "setup/schema_builder.h"

namespace ledger {

namespace {

using Resend = ServerConnection::Resend;

struct TableColumns {
    QString table;
    QStringList columns;  // every column, in the schema's order
    QStringList amounts;  // the amount columns among them
    std::vector<int> amountAt;
};

std::vector<TableColumns> ledgerTables() {
    std::vector<TableColumns> out;
    for (const auto& table : schema::tables()) {
        TableColumns t{table.name, {}, {}, {}};
        for (const auto& c : table.columns) {
            if (c.kind == schema::Kind::Amount) {
                t.amountAt.push_back(static_cast<int>(t.columns.size()));
                t.amounts << c.name;
            }
            t.columns << c.name;
        }
        out.push_back(std::move(t));
    }
    return out;
}

QString quotedList(const QStringList& names) {
    QStringList quoted;
    for (const auto& n : names) quoted << quoteName(n);
    return quoted.join(QLatin1Char(','));
}

// Adds one row's amounts (given in the order of `amounts`) to a tally.
void count(TableTally& tally, const std::vector<QVariant>& amounts) {
    ++tally.rows;
    for (size_t i = 0; i < amounts.size(); ++i)
        if (!amounts[i].isNull()) tally.amountTotals[i] += amounts[i].toDouble();
}

TableTally emptyTally(const TableColumns& t) {
    return {t.table, 0, std::vector<double>(static_cast<size_t>(t.amounts.size()), 0.0)};
}

// What the copy holds, read back in key order, so the totals are added up in
// the same order as those of the rows sent.
std::vector<TableTally> tallyOnServer(ServerConnection& server) {
    std::vector<TableTally> tallies;
    for (const auto& t : ledgerTables()) {
        TableTally tally = emptyTally(t);
        const QString list = t.amounts.isEmpty() ? QStringLiteral("1") : quotedList(t.amounts);
        auto rows = server.run(QStringLiteral("SELECT %1 FROM %2 ORDER BY %3")
                                   .arg(list, quoteName(t.table), quoteName(schema::kRowKey)),
                               {}, QStringLiteral("Cannot count the copy"), Resend::Never);
        for (int r = 0; r < rows.count(); ++r) {
            std::vector<QVariant> amounts;
            for (int i = 0; i < t.amounts.size(); ++i) amounts.push_back(rows.value(r, i));
            count(tally, amounts);
        }
        tallies.push_back(std::move(tally));
    }
    return tallies;
}

std::vector<TableTally> tallyInFile(sqlite3* db) {
    std::vector<TableTally> tallies;
    for (const auto& t : ledgerTables()) {
        TableTally tally = emptyTally(t);
        const QString list = t.amounts.isEmpty() ? QStringLiteral("1") : quotedList(t.amounts);
        statements::Statement read(
            db, QStringLiteral("SELECT %1 FROM %2 ORDER BY rowid").arg(list, quoteName(t.table)),
            QStringLiteral("Cannot count the copy"));
        while (read.step()) {
            std::vector<QVariant> amounts;
            for (int i = 0; i < t.amounts.size(); ++i) amounts.push_back(read.value(i));
            count(tally, amounts);
        }
        tallies.push_back(std::move(tally));
    }
    return tallies;
}

// Streams every table of `source` to `insert`, in key order, tallying what
// was sent.
using RowSink = std::function<void(const TableColumns&, const std::vector<QVariant>&)>;
std::vector<TableTally> sendEveryRow(Store& source, const RowSink& insert) {
    std::vector<TableTally> sent;
    for (const auto& t : ledgerTables()) {
        TableTally tally = emptyTally(t);
        source.scan(t.table, t.columns, [&](Store::RowKey, const std::vector<QVariant>& values) {
            insert(t, values);
            std::vector<QVariant> amounts;
            for (int at : t.amountAt) amounts.push_back(values[static_cast<size_t>(at)]);
            count(tally, amounts);
            return true;
        });
        sent.push_back(std::move(tally));
    }
    return sent;
}

void requireSameTallies(const std::vector<TableTally>& sent, const std::vector<TableTally>& stored,
                        const QString& to) {
    for (size_t i = 0; i < sent.size(); ++i) {
        if (sent[i] == stored[i]) continue;
        fail(ErrorCode::StoreFailure,
             QStringLiteral("The copy in '%1' does not hold what was read: table '%2' has %3 "
                            "rows there against %4 read, or other totals. Nothing was kept.")
                 .arg(to, sent[i].table)
                 .arg(stored[i].rows)
                 .arg(sent[i].rows));
    }
}

QStringList problemsOf(const QString& database) {
    if (isServerAddress(database)) return checkServerSchema(database);
    statements::Connection file(database, statements::Connection::Mode::ReadOnly);
    return checkSchema(file.handle());
}

// The choice lists come from the source like every other table.
const QString kClearChoices = QStringLiteral("DELETE FROM %1").arg(quoteName(schema::kSelect));

// Which tables of which server an address leads to: the server's start (a
// stamp every session can read), the database and the schema. Two addresses
// spelled differently can lead to the same tables.
QString tablesBehind(ServerConnection& server) {
    auto rows =
        server.run(QStringLiteral("SELECT pg_postmaster_start_time()::text || ' ' || "
                                  "d.oid::text || ' ' || coalesce(current_schema(), '') "
                                  "FROM pg_database d WHERE d.datname = current_database()"),
                   {}, QStringLiteral("Cannot read which database this is"));
    return rows.count() == 1 ? rows.text(0, 0) : QString();
}

std::vector<TableTally> copyToServer(Store& source, const QString& from, const QString& to,
                                     bool replace) {
    ServerConnection server(to);
    // Copying a database onto itself would drop the very tables being read
    // (and wait on its own locks for ever).
    if (isServerAddress(from)) {
        ServerConnection origin(from);
        if (tablesBehind(origin) == tablesBehind(server))
            fail(ErrorCode::StoreFailure,
                 QStringLiteral("'%1' and '%2' are the same tables on the same server; nothing "
                                "was copied.")
                     .arg(displayName(from), server.shownName()));
    }
    std::vector<TableTally> sent;
    createServerSchema(server, replace, [&](ServerConnection& s) {
        const QString doing = QStringLiteral("Cannot copy into '%1'").arg(s.shownName());
        s.run(kClearChoices, {}, doing, Resend::Never);
        sent = sendEveryRow(source, [&](const TableColumns& t, const std::vector<QVariant>& row) {
            QStringList marks;
            for (int i = 1; i <= t.columns.size(); ++i) marks << QStringLiteral("$%1").arg(i);
            s.run(QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                      .arg(quoteName(t.table), quotedList(t.columns), marks.join(',')),
                  row, doing, Resend::Never);
        });
        requireSameTallies(sent, tallyOnServer(s), s.shownName());
    });
    return sent;
}

std::vector<TableTally> copyToFile(Store& source, const QString& to) {
    if (QFileInfo::exists(to))
        fail(ErrorCode::StoreFailure,
             QStringLiteral("'%1' exists already; a copy goes into a new file. Nothing was "
                            "changed.")
                 .arg(to));
    writeDatabaseFile(to, false, false);
    std::vector<TableTally> sent;
    try {
        statements::Connection file(to);
        statements::Savepoint all(file.handle(), QStringLiteral("copy"));
        statements::run(file.handle(), kClearChoices, QStringLiteral("Cannot copy"));
        std::unique_ptr<statements::Statement> insert;
        QString insertingInto;
        sent = sendEveryRow(source, [&](const TableColumns& t, const std::vector<QVariant>& row) {
            if (insertingInto != t.table) {
                QStringList marks;
                for (int i = 0; i < t.columns.size(); ++i) marks << QStringLiteral("?");
                insert = std::make_unique<statements::Statement>(
                    file.handle(),
                    QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                        .arg(quoteName(t.table), quotedList(t.columns), marks.join(',')),
                    QStringLiteral("Cannot copy into '%1'").arg(to));
                insertingInto = t.table;
            }
            for (size_t i = 0; i < row.size(); ++i) insert->bind(static_cast<int>(i) + 1, row[i]);
            insert->step();
            insert->reset();
        });
        insert.reset();
        requireSameTallies(sent, tallyInFile(file.handle()), to);
        all.release();
        file.close();
    } catch (...) {
        // The file was made by this copy: a half-filled one must not stay.
        QFile::remove(to);
        QFile::remove(to + QStringLiteral("-journal"));
        throw;
    }
    return sent;
}

}  // namespace

std::vector<TableTally> copyLedger(const QString& from, const QString& to, bool replace) {
    if (displayName(from) == displayName(to) ||
        (!isServerAddress(from) && !isServerAddress(to) &&
         QFileInfo(from).absoluteFilePath() == QFileInfo(to).absoluteFilePath()))
        fail(ErrorCode::StoreFailure,
             QStringLiteral("'%1' is both the ledger to copy and the place to copy it to.")
                 .arg(displayName(from)));
    auto source = openStore(Connection{from});  // says when it is missing or out of reach
    if (const QStringList problems = problemsOf(from); !problems.isEmpty())
        fail(ErrorCode::StoreFailure,
             QStringLiteral("'%1' lacks what the program needs, so it is not copied:\n%2")
                 .arg(displayName(from), problems.join(QLatin1Char('\n'))));
    if (isServerAddress(to)) return copyToServer(*source, from, to, replace);
    return copyToFile(*source, to);
}

}  // namespace ledger
