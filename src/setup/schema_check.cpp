// SPDX-License-Identifier: GPL-3.0-or-later
#include <QRegularExpression>

#include "ledger/base/ledger_error.h"
#include "ledger/schema/schema.h"
#include "ledger/store/source_info.h"
#include "ledger/store/sql_engine.h"
#include "ledger/store/sqlite/sqlite_statements.h"
#include "ledger/store/sqlite/sqlite_store.h"
#include "setup/schema_builder.h"

// One check of the shop's tables and saved queries, over the catalogue the
// store itself reads, for a file and a server alike. Where the engines
// differ it says so:
// - the row key: a file's rows have a number of their own, so a table
//   without "Row key" (a file made by an earlier version) works as it always
//   did and is only noted; a server's rows have no other key, so there it is
//   a problem;
// - declared types: what keeps an amount a number and a day as typed is the
//   engine's rule (SqlDialect::holdsAmounts, declaresText), and a type to
//   declare is named as the engine spells it (REAL on a file, DOUBLE
//   PRECISION on a server).
namespace setup {

namespace schema = ledger::schema;
using ledger::SqlEngine;

namespace {

using Source = SqlEngine::Source;

bool sameName(const QString& a, const QString& b) { return a.compare(b, Qt::CaseInsensitive) == 0; }

// A name that differs only by blanks: "Rent之總計" for "Rent 之 總計".
bool sameButForBlanks(const QString& a, const QString& b) {
    static const QRegularExpression blanks(QStringLiteral("\\s+"));
    return sameName(QString(a).remove(blanks), QString(b).remove(blanks));
}

const Source* findObject(const std::vector<Source>& objects, const QString& name) {
    for (const auto& o : objects)
        if (sameName(o.name, name)) return &o;
    for (const auto& o : objects)
        if (sameButForBlanks(o.name, name)) return &o;
    return nullptr;
}

QString quoted(const QString& name) { return QLatin1Char('"') + name + QLatin1Char('"'); }

class SchemaCheck {
public:
    explicit SchemaCheck(SqlEngine& books)
        : books_(books), dialect_(books.dialect()), objects_(books.sources()) {}

    SchemaFindings run() {
        for (const auto& table : schema::tables()) checkTable(table);
        for (const auto& query : schema::savedQueries()) checkSavedQuery(query);
        return findings_;
    }

private:
    // The object as the books spell it, reported when it is missing or
    // misnamed; null when missing.
    const Source* find(const QString& what, const QString& name) {
        const Source* found = findObject(objects_, name);
        if (!found)
            problems() << QStringLiteral("Missing %1 %2").arg(what.toLower(), quoted(name));
        else if (!sameName(found->name, name))
            problems() << QStringLiteral("%1 %2 is misnamed, it must be %3")
                              .arg(what, quoted(found->name), quoted(name));
        return found;
    }

    // Its columns, once a read of it proves that it can be read at all.
    std::vector<SqlEngine::Column> columnsOf(const Source& found) {
        books_.run(QStringLiteral("SELECT * FROM %1 LIMIT 0").arg(books_.qualified(found.name)), {},
                   QStringLiteral("Reading %1").arg(quoted(found.name)));
        return books_.columnsOf(found);
    }

    void checkTable(const schema::Table& table) {
        const Source* found = find(QStringLiteral("Table"), table.name);
        if (!found) return;
        // The lookup row set may be a saved query; every other table is
        // written by the windows and must take rows.
        if (!found->isTable && table.name != schema::kSelect)
            problems() << QStringLiteral(
                              "%1 is a saved query, but the program stores rows in it: "
                              "it must be a table")
                              .arg(quoted(found->name));
        std::vector<SqlEngine::Column> columns;
        try {
            columns = columnsOf(*found);
        } catch (const ledger::LedgerError& e) {
            problems() << e.message();
            return;
        }
        QStringList required;
        // A column added by this version is not required: books made
        // before lack it (tallowbrook-db check adds it); when there, its
        // type is checked like every other column's.
        for (const auto& c : table.columns)
            if (!c.addedLater) required << c.name;
        checkColumns(QStringLiteral("Table"), found->name, columns, required);
        if (found->isTable) {
            checkRowKey(found->name, columns);
            checkColumnTypes(table, found->name, columns);
        }
        if (table.name == schema::kSelect) checkChoices(found->name, columns);
    }

    void checkSavedQuery(const schema::SavedQuery& query) {
        const Source* found = find(QStringLiteral("Saved query"), query.name);
        if (!found) return;
        std::vector<SqlEngine::Column> columns;
        try {
            columns = columnsOf(*found);
        } catch (const ledger::LedgerError& e) {
            problems() << QStringLiteral("Saved query %1 cannot be read: %2")
                              .arg(quoted(found->name), e.message());
            return;
        }
        checkColumns(QStringLiteral("Saved query"), found->name, columns, query.columns);
    }

    void checkColumns(const QString& what, const QString& storedName,
                      const std::vector<SqlEngine::Column>& stored, const QStringList& required) {
        for (const auto& column : required) {
            const auto named = [&](auto same) {
                return std::find_if(stored.begin(), stored.end(),
                                    [&](const auto& s) { return same(s.name, column); });
            };
            if (named(sameName) != stored.end()) continue;
            if (const auto nearMiss = named(sameButForBlanks); nearMiss != stored.end())
                problems() << QStringLiteral("%1 %2: column %3 is misnamed, it must be %4")
                                  .arg(what, quoted(storedName), quoted(nearMiss->name),
                                       quoted(column));
            else
                problems() << QStringLiteral("%1 %2 lacks the column %3")
                                  .arg(what, quoted(storedName), quoted(column));
        }
    }

    void checkRowKey(const QString& storedName, const std::vector<SqlEngine::Column>& columns) {
        for (const auto& column : columns)
            if (sameName(column.name, schema::kRowKey)) return;
        // Where the row key is the engine's only key, nothing can be stored
        // by key without it.
        if (dialect_.rowOrder() == ledger::quoteName(schema::kRowKey))
            problems() << QStringLiteral("Table %1 lacks the column %2, the key of its rows")
                              .arg(quoted(storedName), quoted(schema::kRowKey));
        else
            findings_.notes << QStringLiteral(
                                   "Note: table %1 has no column %2, so its rows have no lasting "
                                   "keys (a file made by an earlier version). The program works "
                                   "with it as it always did.")
                                   .arg(quoted(storedName), quoted(schema::kRowKey));
    }

    // Days and texts are kept exactly as typed only in a column that keeps
    // every value as its text; amounts are summed and compared as numbers.
    void checkColumnTypes(const schema::Table& table, const QString& storedName,
                          const std::vector<SqlEngine::Column>& columns) {
        for (const auto& column : columns) {
            const schema::Column* wanted = schema::findColumn(table, column.name);
            if (!wanted) continue;
            const bool amount = wanted->kind == schema::Kind::Amount;
            if (amount ? dialect_.holdsAmounts(column.type) : dialect_.declaresText(column.type))
                continue;
            const QString holding = amount ? QStringLiteral("amounts")
                                    : wanted->kind == schema::Kind::Day
                                        ? QStringLiteral("days as typed")
                                        : QStringLiteral("text");
            const QString declared = column.type.isEmpty()
                                         ? QStringLiteral("without a type")
                                         : QStringLiteral("as %1").arg(column.type);
            problems() << QStringLiteral(
                              "Table %1: column %2 holds %3 and must be declared %4, but it "
                              "is declared %5")
                              .arg(quoted(storedName), quoted(column.name), holding,
                                   dialect_.columnType(wanted->kind), declared);
        }
    }

    // The wage window acts on the exact texts "Yes" and "No"; without them its
    // leave and absence lists offer nothing it understands.
    void checkChoices(const QString& selectName, const std::vector<SqlEngine::Column>& columns) {
        for (const QString& column : {QStringLiteral("Ask for leave"), QStringLiteral("Absent")}) {
            const auto stored = std::find_if(columns.begin(), columns.end(), [&](const auto& c) {
                return sameName(c.name, column);
            });
            if (stored == columns.end()) continue;  // already reported as a missing column
            for (const QString& value : {QStringLiteral("Yes"), QStringLiteral("No")}) {
                qint64 count = 0;
                books_.run(QStringLiteral("SELECT count(*) FROM %1 WHERE %2 = %3")
                               .arg(books_.qualified(selectName), ledger::quoteName(stored->name),
                                    dialect_.placeholder(1)),
                           {value}, QStringLiteral("Reading %1").arg(quoted(selectName)),
                           [&](const ledger::SqlRow& row) {
                               count = row.integer(0);
                               return false;
                           });
                if (count < 1)
                    problems() << QStringLiteral("%1 has no row with %2 in the column %3")
                                      .arg(quoted(selectName), quoted(value), quoted(column));
            }
        }
    }

    QStringList& problems() { return findings_.problems; }

    SqlEngine& books_;
    const ledger::SqlDialect& dialect_;
    const std::vector<Source> objects_;
    SchemaFindings findings_;
};

}  // namespace

SchemaFindings checkSchemaOf(SqlEngine& books) { return SchemaCheck(books).run(); }

QStringList checkSchema(ledger::statements::Connection& file) {
    return checkSchemaOf(*ledger::fileEngineOn(file)).problems;
}

QStringList schemaNotes(ledger::statements::Connection& file) {
    return checkSchemaOf(*ledger::fileEngineOn(file)).notes;
}

}  // namespace setup
