// SPDX-License-Identifier: GPL-3.0-or-later
#include "setup/postgres/ledger_copy.h"

#include <QCryptographicHash>
#include <QFile>
#include <QFileInfo>
#include <cmath>
#include <memory>

#include "ledger/base/ledger_error.h"
#include "ledger/schema/schema.h"
#include "ledger/store/postgres/server_connection.h"
#include "ledger/store/server_address.h"
#include "ledger/store/source_info.h"
#include "ledger/store/sqlite/sqlite_statements.h"
#include "ledger/store/store.h"
#include "setup/postgres/history_copy.h"
#include "setup/postgres/server_setup.h"
#include "setup/schema_builder.h"

namespace setup {

namespace schema = ledger::schema;
namespace statements = ledger::statements;
using ledger::displayName;
using ledger::ErrorCode;
using ledger::fail;
using ledger::isServerAddress;
using ledger::quoteName;
using ledger::ServerConnection;
using ledger::Store;

namespace {

using Resend = ServerConnection::Resend;

struct TableColumns {
    QString table;
    QStringList columns;  // every column, in the schema's order
    QStringList amounts;  // the amount columns among them
    std::vector<int> amountAt;
    QStringList addedLater;  // columns books made before may lack
};

std::vector<TableColumns> ledgerTables() {
    std::vector<TableColumns> out;
    for (const auto& table : schema::tables()) {
        TableColumns t{table.name, {}, {}, {}, {}};
        for (const auto& c : table.columns) {
            if (c.kind == schema::Kind::Amount) {
                t.amountAt.push_back(static_cast<int>(t.columns.size()));
                t.amounts << c.name;
            }
            t.columns << c.name;
            if (c.addedLater) t.addedLater << c.name;
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

bool isNumber(const QVariant& value) {
    switch (value.typeId()) {
        case QMetaType::Double:
        case QMetaType::Float:
        case QMetaType::Int:
        case QMetaType::LongLong:
        case QMetaType::UInt:
        case QMetaType::ULongLong:
            return true;
        default:
            return false;
    }
}

// One value as both kinds of database give it back: an amount as its exact
// double (a file may keep a number as text; a server's amount columns hold
// only numbers), a text as the bytes stored (a QByteArray, read past any
// decoding), an empty value apart from both.
QByteArray canonical(const QVariant& value, bool amount) {
    if (value.isNull()) return QByteArrayLiteral("N");
    const QByteArray text =
        value.typeId() == QMetaType::QByteArray ? value.toByteArray() : value.toString().toUtf8();
    if (amount) {
        bool isDouble = isNumber(value);
        const double number = isDouble ? value.toDouble() : text.toDouble(&isDouble);
        // A file keeps no minus sign on a zero; the server does.
        if (isDouble) return "D" + QByteArray::number(number == 0 ? 0.0 : number, 'g', 17);
    }
    return "T" + text;
}

// Counts rows, adds up the amount columns and digests every column, value
// by value in the order the rows come.
class Tallying {
public:
    explicit Tallying(const TableColumns& t) : t_(t) {
        tally_.table = t.table;
        tally_.amountColumns = t.amounts;
        tally_.amountTotals.assign(static_cast<size_t>(t.amounts.size()), 0.0);
        tally_.columns = t.columns;
        isAmount_.assign(static_cast<size_t>(t.columns.size()), false);
        for (int at : t.amountAt) isAmount_[static_cast<size_t>(at)] = true;
        for (qsizetype i = 0; i < t.columns.size(); ++i)
            digests_.push_back(std::make_unique<QCryptographicHash>(QCryptographicHash::Sha256));
    }

    // `values` holds every column, in the schema's order.
    void add(const std::vector<QVariant>& values) {
        ++tally_.rows;
        for (size_t i = 0; i < t_.amountAt.size(); ++i) {
            const QVariant& amount = values[static_cast<size_t>(t_.amountAt[i])];
            if (!amount.isNull()) tally_.amountTotals[i] += amount.toDouble();
        }
        for (size_t c = 0; c < values.size(); ++c) {
            const QByteArray bytes = canonical(values[c], isAmount_[c]);
            const qint64 length = bytes.size();
            digests_[c]->addData(
                QByteArrayView(reinterpret_cast<const char*>(&length), sizeof length));
            digests_[c]->addData(bytes);
        }
    }

    TableTally result() {
        for (const auto& digest : digests_) tally_.columnDigests.push_back(digest->result());
        return tally_;
    }

private:
    const TableColumns& t_;
    TableTally tally_;
    std::vector<bool> isAmount_;
    std::vector<std::unique_ptr<QCryptographicHash>> digests_;
};

// Where a row stands, for a message: its place in the table and its key.
struct RowPlace {
    qint64 number = 0;  // 1 for the table's first row
    Store::RowKey key = 0;
};

// Looks at each row a tally reads (its texts as the bytes stored), and
// throws to stop the copy.
using RowLook =
    std::function<void(const TableColumns&, const RowPlace&, const std::vector<QVariant>&)>;

// The columns a tally reads. Books made before this version lack the columns
// it added: such a column is read as empty, as the copy writes it.
QString readList(const TableColumns& t, const std::function<bool(const QString&)>& stored) {
    QStringList list;
    for (const QString& column : t.columns)
        list << (t.addedLater.contains(column) && !stored(column) ? QStringLiteral("NULL")
                                                                  : quoteName(column));
    return list.join(QStringLiteral(", "));
}

// What a ledger holds, read in key order past any decoding of its texts, so
// the totals are added up in the order the rows are sent and the digests
// compare the bytes each side stored.
std::vector<TableTally> tallyOnServer(ServerConnection& server, const RowLook& look = {}) {
    std::vector<TableTally> tallies;
    for (const auto& t : ledgerTables()) {
        Tallying tally(t);
        const QString columns = readList(t, [&](const QString& column) {
            return server
                       .run(QStringLiteral("SELECT 1 FROM information_schema.columns WHERE "
                                           "table_schema = current_schema() AND table_name = $1 "
                                           "AND column_name = $2"),
                            {t.table, column}, QStringLiteral("Cannot count the copy"))
                       .count() > 0;
        });
        auto rows = server.run(QStringLiteral("SELECT %3, %1 FROM %2 ORDER BY %3")
                                   .arg(columns, quoteName(t.table), quoteName(schema::kRowKey)),
                               {}, QStringLiteral("Cannot count the copy"), Resend::Never);
        std::vector<QVariant> values(static_cast<size_t>(t.columns.size()));
        for (int r = 0; r < rows.count(); ++r) {
            for (int i = 0; i < t.columns.size(); ++i) {
                values[i] = rows.value(r, i + 1);
                if (values[i].typeId() == QMetaType::QString) values[i] = rows.bytes(r, i + 1);
            }
            if (look) look(t, {r + 1, rows.number(r, 0)}, values);
            tally.add(values);
        }
        tallies.push_back(tally.result());
    }
    return tallies;
}

std::vector<TableTally> tallyInFile(sqlite3* db, const RowLook& look = {}) {
    std::vector<TableTally> tallies;
    for (const auto& t : ledgerTables()) {
        Tallying tally(t);
        const QString columns = readList(t, [&](const QString& column) {
            statements::Statement has(
                db, QStringLiteral("SELECT 1 FROM pragma_table_info(?1) WHERE name = ?2"),
                QStringLiteral("Cannot count the copy"));
            has.bind(1, t.table);
            has.bind(2, column);
            return has.step();
        });
        statements::Statement read(db,
                                   QStringLiteral("SELECT rowid, %1 FROM %2 ORDER BY rowid")
                                       .arg(columns, quoteName(t.table)),
                                   QStringLiteral("Cannot count the copy"));
        std::vector<QVariant> values(static_cast<size_t>(t.columns.size()));
        for (qint64 number = 1; read.step(); ++number) {
            for (int i = 0; i < t.columns.size(); ++i) values[i] = read.storedValue(i + 1);
            if (look) look(t, {number, read.integer(0)}, values);
            tally.add(values);
        }
        tallies.push_back(tally.result());
    }
    return tallies;
}

// A text's bytes for a message: plain letters as they are, every other byte
// in hexadecimal (\xE9), at most the first 60.
QString shownBytes(const QByteArray& bytes) {
    QString shown;
    for (const char byte : bytes.left(60)) {
        const auto b = static_cast<unsigned char>(byte);
        shown += b >= 0x20 && b < 0x7f && b != '\\'
                     ? QString(QLatin1Char(byte))
                     : QStringLiteral("\\x") +
                           QString::number(b, 16).toUpper().rightJustified(2, QLatin1Char('0'));
    }
    return bytes.size() > 60 ? shown + QStringLiteral("...") : shown;
}

// The program carries every text as Unicode, so a text whose bytes are no
// UTF-8 (written by another program in another encoding) would arrive with
// U+FFFD in place of those bytes: it is refused by where it stands, before
// anything is copied.
void refuseTextsNotUtf8(const TableColumns& t, const RowPlace& place,
                        const std::vector<QVariant>& values) {
    for (size_t c = 0; c < values.size(); ++c) {
        if (values[c].typeId() != QMetaType::QByteArray) continue;
        const QByteArray bytes = values[c].toByteArray();
        if (QUtf8StringView(bytes).isValidUtf8()) continue;
        fail(ErrorCode::StoreFailure,
             QStringLiteral("Table '%1', row %2 (row key %3), column '%4' holds text that is "
                            "not UTF-8 (\"%5\", its odd bytes in hexadecimal), which the program "
                            "cannot carry as it is. Nothing was copied; write that value anew "
                            "first (in the window that shows it, or with sqlite3).")
                 .arg(t.table)
                 .arg(place.number)
                 .arg(place.key)
                 .arg(t.columns.at(static_cast<qsizetype>(c)), shownBytes(bytes)));
    }
}

// The stored source itself, its texts checked: the tallies the copy must
// hold.
std::vector<TableTally> tallySource(const QString& from) {
    if (isServerAddress(from)) {
        ServerConnection origin(from);
        return tallyOnServer(origin, refuseTextsNotUtf8);
    }
    statements::Connection file(from, statements::Connection::Mode::ReadOnly);
    return tallyInFile(file.handle(), refuseTextsNotUtf8);
}

// Streams every table of `source` to `insert`, in key order.
void sendEveryRow(Store& source, const RowLook& insert) {
    for (const auto& t : ledgerTables()) {
        RowPlace place;
        // Books made before this version lack the columns it added: their
        // rows are read without them and copied with them empty.
        const ledger::SourceInfo info = source.describe(t.table);
        QStringList read;
        std::vector<int> readAt;
        for (int i = 0; i < t.columns.size(); ++i) {
            if (info.indexOf(t.columns[i]) < 0 && t.addedLater.contains(t.columns[i])) continue;
            read << t.columns[i];
            readAt.push_back(i);
        }
        std::vector<QVariant> row(static_cast<size_t>(t.columns.size()));
        source.scan(t.table, read, [&](Store::RowKey key, const std::vector<QVariant>& values) {
            place = {place.number + 1, key};
            for (size_t i = 0; i < readAt.size(); ++i) row[readAt[i]] = values[i];
            insert(t, place, row);
            return true;
        });
    }
}

void requireSameTallies(const std::vector<TableTally>& sent, const std::vector<TableTally>& stored,
                        const QString& to) {
    for (size_t i = 0; i < sent.size(); ++i) {
        const QString difference = tallyDifference(sent[i], stored[i]);
        if (difference.isEmpty()) continue;
        fail(ErrorCode::StoreFailure,
             QStringLiteral("The copy in '%1' does not hold what was read: %2 Nothing was kept.")
                 .arg(to, difference));
    }
}

// A server database cannot store a NUL character in a text: such a text is
// refused by where it stands, before it would arrive cut short.
void refuseNulCharacters(const TableColumns& t, const RowPlace& place,
                         const std::vector<QVariant>& values) {
    for (size_t c = 0; c < values.size(); ++c) {
        if (values[c].typeId() != QMetaType::QString) continue;
        QString text = values[c].toString();
        if (!text.contains(QChar(0))) continue;
        text.replace(QChar(0), QStringLiteral("\\0"));
        fail(ErrorCode::StoreFailure,
             QStringLiteral("Table '%1', row %2 (row key %3), column '%4' holds a NUL character "
                            "(shown as \\0 in \"%5\"), which a server database cannot store. "
                            "Nothing was copied; take the character out of that value first.")
                 .arg(t.table)
                 .arg(place.number)
                 .arg(place.key)
                 .arg(t.columns.at(static_cast<qsizetype>(c)), text));
    }
}

QStringList problemsOf(const QString& database) {
    if (isServerAddress(database)) return checkServerSchema(database);
    statements::Connection file(database, statements::Connection::Mode::ReadOnly);
    return checkSchema(file);
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
    const std::vector<TableTally> held = tallySource(from);
    createServerSchema(server, replace, [&](ServerConnection& s) {
        const QString doing = QStringLiteral("Cannot copy into '%1'").arg(s.shownName());
        s.run(kClearChoices, {}, doing, Resend::Never);
        HistoryCopy history;
        sendEveryRow(source, [&](const TableColumns& t, const RowPlace& place,
                                 const std::vector<QVariant>& row) {
            history.noteRow(t.table, place.key, place.number);
            refuseNulCharacters(t, place, row);
            QStringList marks;
            for (int i = 1; i <= t.columns.size(); ++i) marks << QStringLiteral("$%1").arg(i);
            s.run(QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                      .arg(quoteName(t.table), quotedList(t.columns), marks.join(',')),
                  row, doing, Resend::Never);
        });
        history.send(source, [&](const QString& table, const QStringList& columns,
                                 const std::vector<QVariant>& values) {
            QStringList marks;
            for (int i = 1; i <= columns.size(); ++i) marks << QStringLiteral("$%1").arg(i);
            s.run(QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                      .arg(quoteName(table), quotedList(columns), marks.join(',')),
                  values, doing, Resend::Never);
        });
        requireSameTallies(held, tallyOnServer(s), s.shownName());
    });
    return held;
}

std::vector<TableTally> copyToFile(Store& source, const QString& from, const QString& to) {
    if (QFileInfo::exists(to))
        fail(ErrorCode::StoreFailure,
             QStringLiteral("'%1' exists already; a copy goes into a new file. Nothing was "
                            "changed.")
                 .arg(to));
    const std::vector<TableTally> held = tallySource(from);
    writeDatabaseFile(to, false, false);
    try {
        statements::Connection file(to);
        statements::Savepoint all(file.handle(), QStringLiteral("copy"));
        statements::run(file.handle(), kClearChoices, QStringLiteral("Cannot copy"));
        // The month totals are counted once the rows are in, not again at
        // every row.
        dropKeptTotals(file);
        // The rows copied are no change of the shop's: the history carries
        // the source's own record instead.
        dropHistoryTriggers(file);
        HistoryCopy history;
        std::unique_ptr<statements::Statement> insert;
        QString insertingInto;
        sendEveryRow(source, [&](const TableColumns& t, const RowPlace& place,
                                 const std::vector<QVariant>& row) {
            history.noteRow(t.table, place.key, place.number);
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
        history.send(source, [&](const QString& table, const QStringList& columns,
                                 const std::vector<QVariant>& values) {
            QStringList marks;
            for (int i = 0; i < columns.size(); ++i) marks << QStringLiteral("?");
            statements::Statement add(
                file.handle(),
                QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                    .arg(quoteName(table), quotedList(columns), marks.join(',')),
                QStringLiteral("Cannot copy into '%1'").arg(to));
            for (size_t i = 0; i < values.size(); ++i) add.bind(static_cast<int>(i) + 1, values[i]);
            add.step();
        });
        keepHistory(file);
        keepTotals(file);
        requireSameTallies(held, tallyInFile(file.handle()), to);
        all.release();
        file.close();
    } catch (...) {
        // The file was made by this copy: a half-filled one must not stay.
        QFile::remove(to);
        QFile::remove(to + QStringLiteral("-journal"));
        throw;
    }
    return held;
}

}  // namespace

bool TableTally::operator==(const TableTally& other) const {
    return tallyDifference(*this, other).isEmpty() && table == other.table;
}

QString tallyDifference(const TableTally& read, const TableTally& stored) {
    const QString table = read.table;
    if (stored.rows != read.rows)
        return QStringLiteral("table '%1' has %2 rows there against %3 read.")
            .arg(table)
            .arg(stored.rows)
            .arg(read.rows);
    for (qsizetype i = 0; i < read.amountColumns.size(); ++i) {
        const double a = read.amountTotals.at(i);
        const double b =
            i < qsizetype(stored.amountTotals.size()) ? stored.amountTotals.at(i) : std::nan("");
        if (a == b || (std::isnan(a) && std::isnan(b))) continue;
        return QStringLiteral("in table '%1' the column '%2' totals %3 there against %4 read.")
            .arg(table, read.amountColumns.at(i))
            .arg(b, 0, 'g', 17)
            .arg(a, 0, 'g', 17);
    }
    for (qsizetype i = 0; i < read.columns.size(); ++i) {
        if (i < qsizetype(stored.columnDigests.size()) &&
            stored.columnDigests.at(i) == read.columnDigests.at(i))
            continue;
        return QStringLiteral(
                   "in table '%1' the values of the column '%2' differ from those "
                   "read.")
            .arg(table, read.columns.at(i));
    }
    return {};
}

std::vector<TableTally> copyLedger(const QString& from, const QString& to, bool replace) {
    if (displayName(from) == displayName(to) ||
        (!isServerAddress(from) && !isServerAddress(to) &&
         QFileInfo(from).absoluteFilePath() == QFileInfo(to).absoluteFilePath()))
        fail(ErrorCode::StoreFailure,
             QStringLiteral("'%1' is both the ledger to copy and the place to copy it to.")
                 .arg(displayName(from)));
    auto source =
        ledger::openStore(ledger::Connection{from});  // says when it is missing or out of reach
    if (const QStringList problems = problemsOf(from); !problems.isEmpty())
        fail(ErrorCode::StoreFailure,
             QStringLiteral("'%1' lacks what the program needs, so it is not copied:\n%2")
                 .arg(displayName(from), problems.join(QLatin1Char('\n'))));
    if (isServerAddress(to)) return copyToServer(*source, from, to, replace);
    return copyToFile(*source, from, to);
}

}  // namespace setup
