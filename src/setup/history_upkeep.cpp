// SPDX-License-Identifier: GPL-3.0-or-later
#include "setup/history_upkeep.h"

#include "ledger/base/ledger_error.h"
#include "ledger/schema/schema.h"
#include "ledger/store/postgres/server_connection.h"
#include "ledger/store/server_address.h"
#include "ledger/store/sqlite/sqlite_statements.h"
#include "setup/history_sql.h"
#include "setup/schema_builder.h"

namespace setup {

namespace schema = ledger::schema;

namespace {

// What the server holds of the history: the triggers on every table and
// the function they call, of this version or an earlier one.
HistoryFound serverHistory(ledger::ServerConnection& server) {
    for (const QString& table : schema::recordedTables()) {
        const auto found = server.run(
            QStringLiteral("SELECT tgname FROM pg_catalog.pg_trigger WHERE tgrelid = "
                           "to_regclass(quote_ident($1)) AND tgname = $2 AND tgenabled <> 'D'"),
            {table, schema::historyServerTriggers(table).at(0)},
            QStringLiteral("Cannot read the database's tables"));
        if (found.count() != 1) return HistoryFound::None;
    }
    const auto current = server.run(
        QStringLiteral("SELECT 1 FROM pg_catalog.pg_proc WHERE oid = to_regprocedure("
                       "'\"history of a change\"()') AND strpos(prosrc, $1) > 0"),
        {history_sql::versionMark()}, QStringLiteral("Cannot read the database's tables"));
    return current.count() == 1 ? HistoryFound::ThisVersions : HistoryFound::AnEarlierVersions;
}

bool fileKeepsHistory(ledger::statements::Connection& file) {
    const QStringList present = ledger::statements::textsOf(
        file.handle(), history_sql::fileTriggersOfThisVersion() + QStringLiteral(" AND type = ?"),
        QStringLiteral("trigger"), QStringLiteral("Reading the database's tables"));
    for (const QString& table : schema::recordedTables())
        for (const QString& trigger : schema::historyFileTriggers(table))
            if (!present.contains(trigger)) return false;
    return true;
}

// What was there; unless it was this version's, makes the history in one
// transaction.
HistoryFound keepHistoryOnServer(ledger::ServerConnection& server) {
    const HistoryFound found = serverHistory(server);
    if (found == HistoryFound::ThisVersions) return found;
    const ledger::SqlDialect& postgres = ledger::SqlDialect::postgres();
    QString script = QStringLiteral("BEGIN;\n") + history_sql::makeTables(postgres) +
                     history_sql::dropTriggers(postgres);
    for (const QString& table : schema::recordedTables())
        script += history_sql::makeTriggers(postgres, table, {});
    const QString doing =
        QStringLiteral("Cannot make the books' history in '%1'").arg(server.shownName());
    try {
        server.runScript(script + QStringLiteral("COMMIT;\n"), doing);
    } catch (...) {
        try {
            server.runScript(QStringLiteral("ROLLBACK"), QStringLiteral("Cannot roll back"));
        } catch (const ledger::LedgerError&) {
        }
        throw;
    }
    return found;
}

}  // namespace

bool keepsHistory(const QString& where) {
    if (ledger::isServerAddress(where)) {
        ledger::ServerConnection server(where);
        return serverHistory(server) == HistoryFound::ThisVersions;
    }
    ledger::statements::Connection file(where, ledger::statements::Connection::Mode::ReadOnly);
    return fileKeepsHistory(file);
}

QStringList historyNotesAt(const QString& where) {
    try {
        HistoryFound found = HistoryFound::None;
        if (ledger::isServerAddress(where)) {
            ledger::ServerConnection server(where);
            found = keepHistoryOnServer(server);
        } else {
            ledger::statements::Connection file(where);
            // The program may have the books open meanwhile: a write of its waits.
            file.waitWhenBusy(5000);
            found = keepHistory(file);
        }
        if (found == HistoryFound::ThisVersions) return {};
        if (found == HistoryFound::AnEarlierVersions)
            return {QStringLiteral(
                "The books' history now records a row added without its values, which the row "
                "holds itself: it takes far less room. A change or a removal is recorded with "
                "every value as before.")};
        return {QStringLiteral(
            "The books now keep their own history: every day, supply sheet, member of staff and "
            "wage added, changed or removed is recorded with when, which till and who was "
            "logged in (a password only as \"password changed\"). Changes made by other "
            "programs are recorded as \"another program\".")};
    } catch (const ledger::LedgerError& e) {
        return {QStringLiteral("Note: the books' history could not be made, so changes are not "
                               "recorded: %1")
                    .arg(e.message())};
    }
}

}  // namespace setup
