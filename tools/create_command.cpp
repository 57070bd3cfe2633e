// SPDX-License-Identifier: GPL-3.0-or-later
// tallowbrook-db create / demo: a new database file, written completely
// before it appears under its name.

#include <QDir>
#include <QFileInfo>

#include "command.h"
#include "ledger/base/ledger_error.h"
#include "ledger/base/owner_only.h"
#include "ledger/store/server_address.h"
#include "server_commands.h"
#include "setup/database_target.h"
#include "setup/schema_builder.h"

namespace tools {

namespace {

// Files of a run that was stopped part-way never become a database; the
// user learns what went, so nothing vanishes unexplained.
void reportRemovedLeftovers(const CommandCall& call, const QStringList& removed) {
    for (const QString& name : removed)
        call.out << "Removed " << name << ", left unfinished by an earlier run that was stopped."
                 << Qt::endl;
}

int writeNewFile(const CommandCall& call, bool withDemoData) {
    const QString& path = call.arguments.at(0);
    if (ledger::isServerAddress(path)) return createOnServer(call, withDemoData);
    const QString shown = QDir::toNativeSeparators(path);
    QString forceHint, kept;
    try {
        // The books in use may be the first in the user's data folder.
        if (call.booksInUse) ledger::makeOwnerOnlyFolder(QFileInfo(path).absolutePath());
        const setup::DatabaseTarget target = setup::resolveDatabaseTarget(path);
        if (target.isDanglingLink())
            forceHint =
                QStringLiteral(" Use --force to write the new file there, keeping the link.");
        else if (target.exists)
            forceHint = QStringLiteral(" Use --force to replace it.");
        reportRemovedLeftovers(call, setup::removeStalePartials(target.file));
        kept = setup::writeDatabaseFile(path, withDemoData, call.force);
    } catch (const ledger::LedgerError& e) {
        call.err << "tallowbrook-db: " << e.message();
        if (!call.force) call.err << forceHint;
        call.err << Qt::endl;
        return 1;
    }
    if (!kept.isEmpty())
        call.out << "Kept the replaced file as " << QDir::toNativeSeparators(kept) << "."
                 << Qt::endl;
    call.out << "Created " << shown << (withDemoData ? " with demo data." : ".") << Qt::endl;
    if (withDemoData)
        call.out << "Log in as " << setup::kDemoLoginName << " with the password "
                 << setup::kDemoLoginPassword << "." << Qt::endl;
    else
        call.out << "The staff register is empty; add the first member of staff with" << Qt::endl
                 << "  tallowbrook-db add-staff " << (call.booksInUse ? QString() : shown + ' ')
                 << "NAME" << Qt::endl;
    return 0;
}

}  // namespace

int createCommand(const CommandCall& call) { return writeNewFile(call, false); }

int demoCommand(const CommandCall& call) { return writeNewFile(call, true); }

}  // namespace tools
