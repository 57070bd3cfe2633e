// SPDX-License-Identifier: GPL-3.0-or-later
#include "ledger/store/sqlite/sqlite_who_writes.h"

#include <sqlite3.h>

#include "ledger/base/ledger_error.h"
#include "ledger/schema/schema.h"
#include "ledger/store/source_info.h"
#include "ledger/store/sqlite/sqlite_statements.h"
#include "ledger/store/who_writes.h"

namespace ledger {

namespace {

void resultText(sqlite3_context* context, const QString& text) {
    const QByteArray utf8 = text.toUtf8();
    if (text.isEmpty())
        sqlite3_result_null(context);
    else
        sqlite3_result_text(context, utf8.constData(), static_cast<int>(utf8.size()),
                            SQLITE_TRANSIENT);
}

void staffFunction(sqlite3_context* context, int, sqlite3_value**) {
    resultText(context, staffOnDuty());
}

void tillFunction(sqlite3_context* context, int, sqlite3_value**) {
    resultText(context, tillName());
}

bool hasHistory(sqlite3* db) {
    statements::Statement look(
        db, QStringLiteral("SELECT 1 FROM main.sqlite_schema WHERE type = 'table' AND name = ?"),
        QStringLiteral("Reading the database's tables"));
    look.bind(1, schema::kHistory);
    return look.step();
}

}  // namespace

void signHistoryOfThisTill(sqlite3* db) {
    if (!hasHistory(db)) return;
    const int flags = SQLITE_UTF8 | SQLITE_INNOCUOUS;
    if (sqlite3_create_function_v2(db, "tallowbrook_staff", 0, flags, nullptr, staffFunction,
                                   nullptr, nullptr, nullptr) != SQLITE_OK ||
        sqlite3_create_function_v2(db, "tallowbrook_till", 0, flags, nullptr, tillFunction, nullptr,
                                   nullptr, nullptr) != SQLITE_OK)
        fail(ErrorCode::StoreFailure, QStringLiteral("Cannot prepare the books' history: %1")
                                          .arg(QString::fromUtf8(sqlite3_errmsg(db))));
    statements::run(
        db,
        QStringLiteral("CREATE TEMP TRIGGER IF NOT EXISTS \"History: this till\" AFTER INSERT ON "
                       "main.%1 BEGIN UPDATE %1 SET \"Till\" = tallowbrook_till(), \"Program\" = "
                       "'tallowbrook', \"Staff\" = tallowbrook_staff() WHERE rowid = NEW.rowid; "
                       "END;")
            .arg(quoteName(schema::kHistory)),
        QStringLiteral("Preparing the books' history"));
}

}  // namespace ledger
