// tallowbrook-db create / demo: a new database file, written completely
// before it appears under its name.

#include <QDir>
#include <QFileInfo>

#include "command.h"
#include "ledger_error.h"
#include "schema_builder.h"

namespace tools {

namespace {

int writeNewFile(const CommandCall& call, bool withDemoData) {
    const QString& path = call.arguments.at(0);
    const QString shown = QDir::toNativeSeparators(path);
    const bool existed = QFileInfo::exists(path) || QFileInfo(path).isSymLink();
    try {
        ledger::writeDatabaseFile(path, withDemoData, call.force);
    } catch (const ledger::LedgerError& e) {
        call.err << "tallowbrook-db: " << e.message();
        if (existed && !call.force) call.err << " Use --force to replace it.";
        call.err << Qt::endl;
        return 1;
    }
    call.out << "Created " << shown << (withDemoData ? " with demo data." : ".") << Qt::endl;
    if (withDemoData)
        call.out << "Log in as " << ledger::kDemoLoginName << " with the password "
                 << ledger::kDemoLoginPassword << "." << Qt::endl;
    else
        call.out << "The staff register is empty; add the first member of staff with" << Qt::endl
                 << "  tallowbrook-db add-staff " << shown << " NAME" << Qt::endl;
    return 0;
}

}  // namespace

int createCommand(const CommandCall& call) { return writeNewFile(call, false); }

int demoCommand(const CommandCall& call) { return writeNewFile(call, true); }

}  // namespace tools
