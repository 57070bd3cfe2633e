// SPDX-License-Identifier: GPL-3.0-or-later
#include "setup/kept_totals_upkeep.h"

#include <functional>

#include "ledger/base/ledger_error.h"
#include "ledger/schema/schema.h"
#include "ledger/store/postgres/server_connection.h"
#include "ledger/store/server_address.h"
#include "ledger/store/source_info.h"
#include "ledger/store/sqlite/sqlite_statements.h"
#include "setup/schema_builder.h"
#include "setup/schema_sql.h"
#include "setup/totals_sql.h"

namespace setup {

namespace schema = ledger::schema;
namespace statements = ledger::statements;
using ledger::quoteName;
using ledger::SqlDialect;

namespace {

QString quoted(const QString& name) { return QLatin1Char('"') + name + QLatin1Char('"'); }

// What the upkeep needs to know of a ledger and do to it, on either engine.
struct Ledger {
    const SqlDialect& dialect;
    std::function<bool(const QString& table)> hasTable;
    std::function<QStringList(const QString& table)> columnsOf;  // as declared
    std::function<QStringList(const QString& table)> triggersOn;
    std::function<QString(const QString& view)> definitionOf;  // empty: no such view
    std::function<qint64(const QString& sql)> count;
    std::function<void(const QString& script)> run;  // in the upkeep's transaction
};

// Whether the kept rows are exactly the saved query's, row for row.
bool holdsTheSavedQuerysRows(const Ledger& ledger, const schema::KeptTotals& kept) {
    QStringList columns;
    for (const QString& c : kept.queryColumns) columns << quoteName(c);
    const QString list = columns.join(QStringLiteral(", "));
    const QString view = quoteName(kept.savedQuery), table = quoteName(kept.table);
    auto except = [&](const QString& a, const QString& b) {
        return ledger.count(
            QStringLiteral("SELECT count(*) FROM (SELECT %1 FROM %2 EXCEPT SELECT %1 FROM %3) AS d")
                .arg(list, a, b));
    };
    return except(view, table) == 0 && except(table, view) == 0 &&
           ledger.count(QStringLiteral("SELECT count(*) FROM %1").arg(view)) ==
               ledger.count(QStringLiteral("SELECT count(*) FROM %1").arg(table));
}

QStringList triggersOf(const Ledger& ledger, const schema::KeptTotals& kept) {
    return ledger.dialect.keptTriggers(kept);
}

QStringList keptColumns(const schema::KeptTotals& kept) {
    return QStringList{schema::kMonthNumber} + kept.queryColumns;
}

QString remake(const Ledger& ledger, const schema::KeptTotals& kept) {
    return totals_sql::dropKept(ledger.dialect.calendar(), kept) +
           totals_sql::makeKept(ledger.dialect.calendar(), kept) +
           totals_sql::refillKept(ledger.dialect.calendar(), kept);
}

// Columns this version added (schema::Column::addedLater), added to books
// made before, each empty in every row; the wage detail is made anew to
// count what they record, when it is the program's own (it alone adds up
// the day's wage with COALESCE).
QStringList addLaterColumns(const Ledger& ledger, QString& script) {
    QStringList said;
    for (const schema::Table& table : schema::tables()) {
        if (!ledger.hasTable(table.name)) continue;
        const QStringList present = ledger.columnsOf(table.name);
        for (const schema::Column& column : table.columns) {
            if (!column.addedLater || present.contains(column.name, Qt::CaseInsensitive)) continue;
            script += schema_sql::addLaterColumn(ledger.dialect, table, column);
            said << QStringLiteral(
                        "The column %1 was added to %2: a wage saved with the monthly pay now "
                        "records it, so the salary window, the wage detail and the year at a "
                        "glance count it. Wage rows stored before keep their wage by the hour.")
                        .arg(quoted(column.name), quoted(table.name));
            if (table.name != schema::kWages || column.name != schema::kWageMonthlyPay) continue;
            const QString detail = ledger.definitionOf(schema::kInquiryDetail);
            if (detail.contains(QLatin1String("COALESCE"), Qt::CaseInsensitive) &&
                detail.contains(QLatin1String("Daily settlement of accounts"))) {
                script += schema_sql::replaceInquiryDetailView(ledger.dialect);
            } else {
                said << QStringLiteral(
                            "Note: the saved query %1 is not the program's own, so its day "
                            "wages do not count the monthly pay a wage row records.")
                            .arg(quoted(schema::kInquiryDetail));
            }
        }
    }
    return said;
}

QStringList upkeep(const Ledger& ledger,
                   const std::function<QString(const schema::KeptTotals&)>& viewAnew) {
    QString script;
    QStringList said = addLaterColumns(ledger, script);
    QStringList madeNow, viewsAnew;
    for (const schema::KeptTotals& kept : schema::keptTotals()) {
        const QStringList triggers = ledger.triggersOn(kept.source);
        bool keeps = ledger.hasTable(kept.table), someTriggers = false;
        for (const QString& trigger : triggersOf(ledger, kept)) {
            keeps = keeps && triggers.contains(trigger);
            someTriggers = someTriggers || triggers.contains(trigger);
        }
        // On a file, a row about to be replaced notes its month there.
        if (ledger.dialect.calendar() == ledger::calendar::SqlDialect::Sqlite)
            keeps = keeps && ledger.hasTable(schema::keptFileNotes(kept));
        if (keeps) {
            if (holdsTheSavedQuerysRows(ledger, kept)) continue;
            script += remake(ledger, kept);
            said << QStringLiteral(
                        "The month totals kept in %1 did not hold what %2 adds up; they were "
                        "counted again.")
                        .arg(quoted(kept.table), quoted(kept.savedQuery));
            continue;
        }
        const bool ownTable = ledger.columnsOf(kept.table) == keptColumns(kept);
        // Kept by an earlier version, whose triggers missed a row another
        // program replaced: the triggers are made anew and the rows counted
        // again.
        if (ledger.hasTable(kept.table) && ownTable && someTriggers) {
            script += remake(ledger, kept);
            said << QStringLiteral(
                        "The month totals in %1 were kept by triggers of an earlier version, "
                        "which missed a row another program replaced (INSERT OR REPLACE); they "
                        "were made anew and the totals counted again.")
                        .arg(quoted(kept.table));
            continue;
        }
        // A table of that name that is not the program's own stays as it is.
        if (ledger.hasTable(kept.table) && !ownTable) {
            said << QStringLiteral(
                        "Note: the table %1 is not the program's own, so the month totals of %2 "
                        "are not kept: the windows add up the rows each time they open it.")
                        .arg(quoted(kept.table), quoted(kept.savedQuery));
            continue;
        }
        // Only the program's own saved queries are made anew; it wrote
        // "Undated" into every one it ever made.
        if (!ledger.definitionOf(kept.savedQuery).contains(QLatin1String("'Undated'"))) {
            said << QStringLiteral(
                        "Note: the saved query %1 is not the program's own, so its month totals "
                        "are not kept: the windows add up the rows each time they open it.")
                        .arg(quoted(kept.savedQuery));
            continue;
        }
        script += viewAnew(kept) + remake(ledger, kept);
        madeNow << quoted(kept.table);
        viewsAnew << quoted(kept.savedQuery);
    }
    if (script.isEmpty()) return said;
    if (!madeNow.isEmpty()) {
        said << QStringLiteral(
                    "%1 %2 made anew by this version: a Date that is no calendar day (2002/2/30, "
                    "2002/13/1) is counted there under \"Undated\", as everywhere in the "
                    "program.")
                    .arg(viewsAnew.size() == 1 ? QStringLiteral("The saved query")
                                               : QStringLiteral("The saved queries"),
                         viewsAnew.join(QStringLiteral(" and ")) + (viewsAnew.size() == 1
                                                                        ? QStringLiteral(" was")
                                                                        : QStringLiteral(" were")));
        said << QStringLiteral(
                    "The month totals are now kept in %1 as the rows change, so the windows "
                    "that show them open at once.")
                    .arg(madeNow.join(QStringLiteral(" and ")));
    }
    ledger.run(script);
    return said;
}

}  // namespace

QStringList upkeepKeptTotals(statements::Connection& file) {
    sqlite3* db = file.handle();
    auto count = [db](const QString& sql) {
        statements::Statement read(db, sql, QStringLiteral("Reading the month totals"));
        read.step();
        return static_cast<qint64>(read.value(0).toDouble());
    };
    auto names = [db](const QString& sql, const QString& value) {
        return statements::textsOf(db, sql, value, QStringLiteral("Reading the database's tables"));
    };
    Ledger ledger{
        SqlDialect::sqlite(),
        [&](const QString& table) {
            return !names(QStringLiteral(
                              "SELECT name FROM sqlite_schema WHERE type = 'table' AND name = ?"),
                          table)
                        .isEmpty();
        },
        [&](const QString& table) {
            return names(QStringLiteral("SELECT name FROM pragma_table_info(?)"), table);
        },
        [&](const QString& table) {
            return names(QStringLiteral("SELECT name FROM sqlite_schema WHERE type = 'trigger' AND "
                                        "tbl_name = ?"),
                         table);
        },
        [&](const QString& view) {
            return names(QStringLiteral(
                             "SELECT sql FROM sqlite_schema WHERE type = 'view' AND name = ?"),
                         view)
                .value(0);
        },
        count,
        [db](const QString& script) {
            statements::run(db, script, QStringLiteral("Keeping the month totals"));
        }};
    // The program may have the books open meanwhile: a write of its waits.
    file.waitWhenBusy(5000);
    statements::Savepoint all(db, QStringLiteral("kept_totals"));
    const QStringList said = upkeep(ledger, [&file](const schema::KeptTotals& kept) {
        replaceMonthView(file, kept);
        return QString();
    });
    all.release();
    return said;
}

QStringList upkeepKeptTotals(ledger::ServerConnection& server) {
    const QString reading = QStringLiteral("Cannot read the database's tables");
    auto names = [&](const QString& sql, const QString& value) {
        auto rows = server.run(sql, {value}, reading);
        QStringList out;
        for (int i = 0; i < rows.count(); ++i) out << rows.text(i, 0);
        return out;
    };
    Ledger ledger{
        SqlDialect::postgres(),
        [&](const QString& table) {
            return !names(QStringLiteral("SELECT relname FROM pg_catalog.pg_class WHERE relname = "
                                         "$1 AND relkind = 'r' AND relnamespace = "
                                         "current_schema()::regnamespace"),
                          table)
                        .isEmpty();
        },
        [&](const QString& table) {
            return names(
                QStringLiteral("SELECT attname FROM pg_catalog.pg_attribute WHERE attrelid = "
                               "to_regclass(quote_ident($1)) AND attnum > 0 AND NOT attisdropped "
                               "ORDER BY attnum"),
                table);
        },
        [&](const QString& table) {
            return names(QStringLiteral("SELECT tgname FROM pg_catalog.pg_trigger WHERE tgrelid "
                                        "= to_regclass(quote_ident($1)) AND tgenabled <> 'D'"),
                         table);
        },
        [&](const QString& view) {
            return names(QStringLiteral("SELECT pg_get_viewdef(to_regclass(quote_ident($1)))"),
                         view)
                .value(0);
        },
        [&](const QString& sql) { return server.run(sql, {}, reading).number(0, 0); },
        [&](const QString& script) {
            server.runScript(
                script,
                QStringLiteral("Cannot keep the month totals in '%1'").arg(server.shownName()));
        }};
    server.runScript(QStringLiteral("BEGIN"), QStringLiteral("Cannot keep the month totals"));
    try {
        const QStringList said = upkeep(ledger, [](const schema::KeptTotals& kept) {
            return schema_sql::replaceMonthView(SqlDialect::postgres(), kept);
        });
        server.runScript(QStringLiteral("COMMIT"), QStringLiteral("Cannot keep the month totals"));
        return said;
    } catch (...) {
        try {
            server.runScript(QStringLiteral("ROLLBACK"), QStringLiteral("Cannot roll back"));
        } catch (const ledger::LedgerError&) {
        }
        throw;
    }
}

QStringList keptTotalsNotesAt(const QString& where) {
    try {
        return upkeepKeptTotalsAt(where);
    } catch (const ledger::LedgerError& e) {
        return {QStringLiteral(
                    "Note: the month totals could not be kept up to date, so the windows add "
                    "up the rows each time they open them: %1")
                    .arg(e.message())};
    }
}

QStringList upkeepKeptTotalsAt(const QString& where) {
    if (ledger::isServerAddress(where)) {
        ledger::ServerConnection server(where);
        return upkeepKeptTotals(server);
    }
    statements::Connection file(where);
    return upkeepKeptTotals(file);
}

}  // namespace setup
