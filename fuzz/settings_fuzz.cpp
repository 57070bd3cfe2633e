// SPDX-License-Identifier: GPL-3.0-or-later
// tallowbrook.ini, as a person may write it. Properties: any file is either
// read or refused with a reason, never both; what the program writes for
// the books it was given (a file's absolute path, whatever letters it holds,
// or a server address) it reads back as exactly that name, or it refuses
// to write it.
#include <QFile>
#include <QTemporaryDir>

#include "fuzz/fuzz_input.h"
#include "ledger/base/ledger_error.h"
#include "ledger/location/settings_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static QTemporaryDir folder;
    const QString ini = folder.filePath(QStringLiteral("tallowbrook.ini"));
    {
        QFile file(ini);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) fuzz::broken("ini opens", ini);
        file.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size));
    }
    const auto setting = ledger::readDatabaseSetting(ini);
    fuzz::require(setting.database.isEmpty() || setting.problem.isEmpty(),
                  "a file is read or refused, not both", setting.problem);

    // The names the program keeps: a chosen file, or a server's address.
    const QString rest = fuzz::textOf(data, size);
    const QString name =
        (size > 0 && (data[0] & 1) ? QStringLiteral("postgresql://") : QStringLiteral("/")) + rest;
    try {
        ledger::writeDatabaseSetting(ini, name);
    } catch (const ledger::LedgerError&) {
        return 0;  // a name it cannot keep is refused, and said
    }
    const auto back = ledger::readDatabaseSetting(ini);
    fuzz::require(back.problem.isEmpty() && back.database == name,
                  "a written name reads back exactly", name + QStringLiteral(" | ") + back.problem);
    return 0;
}
