// SPDX-License-Identifier: GPL-3.0-or-later
#include "books_and_output.h"

#include <QDir>
#include <QFileInfo>

#include "accountant/exports.h"
#include "ledger/store/file_kind.h"
#include "ledger/store/server_address.h"

namespace tools {

QString booksAndOutputProblem(const QString& path, const QString& output, const QString& what) {
    // A server database is checked by opening it; a file first by its name.
    const QString shown = QDir::toNativeSeparators(path);
    const QFileInfo database(path);
    if (!ledger::isServerAddress(path) && !database.exists())
        return QStringLiteral("%1 does not exist.").arg(shown);
    if (const QString what = ledger::notAFile(path); !what.isEmpty())
        return QStringLiteral("%1 is %2, not a database file.").arg(shown, what);
    if (!output.isEmpty()) return accountant::outputRefusal(output, path, what);
    return {};
}

}  // namespace tools
