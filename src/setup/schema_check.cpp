// SPDX-License-Identifier: GPL-3.0-or-later
#include <QRegularExpression>

#include "ledger/base/ledger_error.h"
#include "ledger/schema/schema.h"
#include "ledger/store/source_info.h"
#include "ledger/store/sql_dialect.h"
#include "ledger/store/sqlite/sqlite_statements.h"
#include "setup/schema_builder.h"

namespace ledger {

namespace {

struct StoredObject {
    QString name;
    bool isTable = false;
};

// What the file holds, with names as the file spells them.
std::vector<StoredObject> storedObjects(sqlite3* db) {
    statements::Statement list(db,
                               QStringLiteral("SELECT name, type FROM sqlite_master "
                                              "WHERE type IN ('table', 'view') ORDER BY name"),
                               QStringLiteral("Reading the list of tables"));
    std::vector<StoredObject> out;
    while (list.step())
        out.push_back({list.value(0).toString(), list.value(1).toString() == "table"});
    return out;
}

bool sameName(const QString& a, const QString& b) { return a.compare(b, Qt::CaseInsensitive) == 0; }

// A name that differs only by blanks: "Rent之總計" for "Rent 之 總計".
bool sameButForBlanks(const QString& a, const QString& b) {
    static const QRegularExpression blanks(QStringLiteral("\\s+"));
    return sameName(QString(a).remove(blanks), QString(b).remove(blanks));
}

const StoredObject* findObject(const std::vector<StoredObject>& objects, const QString& name,
                               bool allowBlankDifference) {
    for (const auto& o : objects)
        if (sameName(o.name, name)) return &o;
    if (allowBlankDifference)
        for (const auto& o : objects)
            if (sameButForBlanks(o.name, name)) return &o;
    return nullptr;
}

QString quoted(const QString& name) { return QLatin1Char('"') + name + QLatin1Char('"'); }

// Column names as a read of the table or saved query reports them; for a
// saved query this also proves that it can be read at all.
QStringList columnsOf(sqlite3* db, const QString& name) {
    statements::Statement read(db, QStringLiteral("SELECT * FROM %1 LIMIT 0").arg(quoteName(name)),
                               QStringLiteral("Reading %1").arg(quoted(name)));
    QStringList names;
    for (int i = 0; i < read.columnCount(); ++i) names << read.columnName(i);
    return names;
}

void checkColumns(const QString& what, const QString& storedName, const QStringList& stored,
                  const QStringList& required, QStringList& problems) {
    for (const auto& column : required) {
        bool found = false;
        for (const auto& s : stored) found = found || sameName(s, column);
        if (found) continue;
        QString nearMiss;
        for (const auto& s : stored)
            if (nearMiss.isEmpty() && sameButForBlanks(s, column)) nearMiss = s;
        if (!nearMiss.isEmpty())
            problems << QStringLiteral("%1 %2: column %3 is misnamed, it must be %4")
                            .arg(what, quoted(storedName), quoted(nearMiss), quoted(column));
        else
            problems << QStringLiteral("%1 %2 lacks the column %3")
                            .arg(what, quoted(storedName), quoted(column));
    }
}

// SQLite's rules for the affinity of a declared column type, in their order.
enum class Affinity { Integer, Text, Blob, Real, Numeric };

Affinity affinityOf(const QString& declared) {
    const QString type = declared.toUpper();
    if (type.contains(QStringLiteral("INT"))) return Affinity::Integer;
    if (type.contains(QStringLiteral("CHAR")) || type.contains(QStringLiteral("CLOB")) ||
        type.contains(QStringLiteral("TEXT")))
        return Affinity::Text;
    if (type.isEmpty() || type.contains(QStringLiteral("BLOB"))) return Affinity::Blob;
    if (type.contains(QStringLiteral("REAL")) || type.contains(QStringLiteral("FLOA")) ||
        type.contains(QStringLiteral("DOUB")))
        return Affinity::Real;
    return Affinity::Numeric;
}

// Days and texts are kept exactly as typed only in a column of TEXT
// affinity; amounts are summed and compared as numbers.
bool holds(schema::Kind kind, const QString& declared) {
    if (kind != schema::Kind::Amount) return SqlDialect::sqlite().declaresText(declared);
    // Any number affinity keeps an amount a number (a flag or a date type
    // included: they read as NUMERIC).
    const Affinity affinity = affinityOf(declared);
    return affinity == Affinity::Real || affinity == Affinity::Numeric ||
           affinity == Affinity::Integer;
}

struct DeclaredColumn {
    QString name;
    QString type;
};

std::vector<DeclaredColumn> declaredColumns(sqlite3* db, const QString& table) {
    statements::Statement info(db, QStringLiteral("SELECT name, type FROM pragma_table_info(?)"),
                               QStringLiteral("Reading the columns of %1").arg(quoted(table)));
    info.bind(1, table);
    std::vector<DeclaredColumn> out;
    while (info.step()) out.push_back({info.value(0).toString(), info.value(1).toString()});
    return out;
}

void checkColumnTypes(sqlite3* db, const schema::Table& table, const QString& storedName,
                      QStringList& problems) {
    for (const auto& column : declaredColumns(db, storedName)) {
        const schema::Column* wanted = schema::findColumn(table, column.name);
        if (!wanted || holds(wanted->kind, column.type)) continue;
        const QString holding = wanted->kind == schema::Kind::Day ? QStringLiteral("days as typed")
                                : wanted->kind == schema::Kind::Text ? QStringLiteral("text")
                                                                     : QStringLiteral("amounts");
        const QString declared = column.type.isEmpty() ? QStringLiteral("without a type")
                                                       : QStringLiteral("as %1").arg(column.type);
        problems << QStringLiteral(
                        "Table %1: column %2 holds %3 and must be declared %4, but it "
                        "is declared %5")
                        .arg(quoted(storedName), quoted(column.name), holding,
                             wanted->kind == schema::Kind::Amount ? QStringLiteral("REAL")
                                                                  : QStringLiteral("TEXT"),
                             declared);
    }
}

// The wage window acts on the exact texts "Yes" and "No"; without them its
// leave and absence lists offer nothing it understands.
void checkChoices(sqlite3* db, const QString& selectName, const QStringList& selectColumns,
                  QStringList& problems) {
    for (const QString& column : {QStringLiteral("Ask for leave"), QStringLiteral("Absent")}) {
        bool present = false;
        for (const auto& s : selectColumns) present = present || sameName(s, column);
        if (!present) continue;  // already reported as a missing column
        for (const QString& value : {QStringLiteral("Yes"), QStringLiteral("No")}) {
            statements::Statement count(db,
                                        QStringLiteral("SELECT count(*) FROM %1 WHERE %2 = ?")
                                            .arg(quoteName(selectName), quoteName(column)),
                                        QStringLiteral("Reading %1").arg(quoted(selectName)));
            count.bind(1, value);
            count.step();
            if (count.value(0).toDouble() < 1)
                problems << QStringLiteral("%1 has no row with %2 in the column %3")
                                .arg(quoted(selectName), quoted(value), quoted(column));
        }
    }
}

}  // namespace

QStringList checkSchema(statements::Connection& file) {
    sqlite3* db = file.handle();
    QStringList problems;
    const auto objects = storedObjects(db);

    for (const auto& table : schema::tables()) {
        const StoredObject* found = findObject(objects, table.name, true);
        if (!found) {
            problems << QStringLiteral("Missing table %1").arg(quoted(table.name));
            continue;
        }
        if (!sameName(found->name, table.name))
            problems << QStringLiteral("Table %1 is misnamed, it must be %2")
                            .arg(quoted(found->name), quoted(table.name));
        // The lookup row set may be a saved query; every other table is
        // written by the windows and must take rows.
        if (!found->isTable && table.name != schema::kSelect)
            problems << QStringLiteral(
                            "%1 is a saved query, but the program stores rows in it: "
                            "it must be a table")
                            .arg(quoted(found->name));
        QStringList required;
        // A column added by this version is not required: books made
        // before lack it (tallowbrook-db check adds it); when there, its
        // type is checked like every other column's.
        for (const auto& c : table.columns)
            if (!c.addedLater) required << c.name;
        QStringList stored;
        try {
            stored = columnsOf(db, found->name);
        } catch (const LedgerError& e) {
            problems << e.message();
            continue;
        }
        checkColumns(QStringLiteral("Table"), found->name, stored, required, problems);
        if (found->isTable) checkColumnTypes(db, table, found->name, problems);
        if (table.name == schema::kSelect) checkChoices(db, found->name, stored, problems);
    }

    for (const auto& query : schema::savedQueries()) {
        const StoredObject* found = findObject(objects, query.name, true);
        if (!found) {
            problems << QStringLiteral("Missing saved query %1").arg(quoted(query.name));
            continue;
        }
        if (!sameName(found->name, query.name))
            problems << QStringLiteral("Saved query %1 is misnamed, it must be %2")
                            .arg(quoted(found->name), quoted(query.name));
        QStringList stored;
        try {
            stored = columnsOf(db, found->name);
        } catch (const LedgerError& e) {
            problems << QStringLiteral("Saved query %1 cannot be read: %2")
                            .arg(quoted(found->name), e.message());
            continue;
        }
        checkColumns(QStringLiteral("Saved query"), found->name, stored, query.columns, problems);
    }
    return problems;
}

QStringList schemaNotes(statements::Connection& file) {
    sqlite3* db = file.handle();
    QStringList notes;
    const auto objects = storedObjects(db);
    for (const auto& table : schema::tables()) {
        const StoredObject* found = findObject(objects, table.name, true);
        if (!found || !found->isTable) continue;
        bool keyed = false;
        for (const auto& column : declaredColumns(db, found->name))
            keyed = keyed || sameName(column.name, schema::kRowKey);
        if (!keyed)
            notes << QStringLiteral(
                         "Note: table %1 has no column %2, so its rows have no lasting keys "
                         "(a file made by an earlier version). The program works with it as it "
                         "always did.")
                         .arg(quoted(found->name), quoted(schema::kRowKey));
    }
    return notes;
}

}  // namespace ledger
