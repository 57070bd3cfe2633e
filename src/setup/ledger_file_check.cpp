// SPDX-License-Identifier: GPL-3.0-or-later
#include "setup/ledger_file_check.h"

#include <QDir>

#include "ledger/base/ledger_error.h"
#include "ledger/store/file_kind.h"
#include "ledger/store/sqlite/sqlite_statements.h"
#include "ledger/store/sqlite/sqlite_store.h"
#include "setup/database_target.h"
#include "setup/schema_builder.h"

namespace setup {

namespace statements = ledger::statements;
using ledger::FileKind;

QString notADatabaseReason(const QString& path) {
    const QString shown = QDir::toNativeSeparators(path);
    if (const QString what = ledger::notAFile(path); !what.isEmpty())
        return QStringLiteral("%1 is %2, not a database file.").arg(shown, what);
    switch (ledger::fileKindOf(path)) {
        case FileKind::Sqlite:
        case FileKind::Empty:
            return {};
        case FileKind::Unreadable:
            return QStringLiteral("Cannot read %1.").arg(shown);
        case FileKind::Access:
            return QStringLiteral(
                       "%1 is a Microsoft Access (Jet) database, not an SQLite database. "
                       "This program cannot read it; it must be converted to SQLite first "
                       "(tallowbrook-db create makes an empty database to copy its rows into).")
                .arg(shown);
        case FileKind::Foreign:
            break;
    }
    return QStringLiteral("%1 is not an SQLite database.").arg(shown);
}

QStringList ledgerFileProblems(const QString& path) {
    if (const QString reason = notADatabaseReason(path); !reason.isEmpty()) return {reason};
    try {
        ensureOpenablePath(path);
        statements::Connection db(path, statements::Connection::Mode::ReadOnly);
        statements::Statement check(db.handle(), QStringLiteral("PRAGMA integrity_check"),
                                    QStringLiteral("Checking %1").arg(path));
        QStringList damage;
        while (check.step())
            if (const QString line = check.value(0).toString(); line != QLatin1String("ok"))
                damage << QStringLiteral("Damaged: %1").arg(line);
        if (!damage.isEmpty()) return damage;
        return checkSchema(db);
    } catch (const ledger::LedgerError& e) {
        return {e.message()};
    }
}

FileSchemaCheck checkFileSchema(const QString& path) {
    ensureOpenablePath(path);
    statements::Connection db(path, statements::Connection::Mode::ReadOnly);
    SchemaFindings found = checkSchemaOf(*ledger::fileEngineOn(db));
    return {found.problems, found.notes};
}

}  // namespace setup
