// SPDX-License-Identifier: GPL-3.0-or-later
#include "ledger/store/file_kind.h"

#include <QByteArray>
#include <QFile>

namespace ledger {

FileKind fileKindOf(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return FileKind::Unreadable;
    const QByteArray head = file.read(32);
    if (head.isEmpty()) return FileKind::Empty;
    if (head.startsWith(QByteArray("SQLite format 3\0", 16))) return FileKind::Sqlite;
    // "Standard Jet DB" (Access 97 to 2003) or "Standard ACE DB" (Access 2007
    // on) at byte 4.
    const QByteArray signature = head.mid(4, 15);
    if (signature == "Standard Jet DB" || signature == "Standard ACE DB") return FileKind::Access;
    return FileKind::Foreign;
}

}  // namespace ledger
