// SPDX-License-Identifier: GPL-3.0-or-later
#include "ledger/store/file_kind.h"

#include <sys/stat.h>

#include <QByteArray>
#include <QFile>

namespace ledger {

QString notAFile(const QString& path) {
    struct stat info {};
    if (path.isEmpty() || ::stat(QFile::encodeName(path).constData(), &info) != 0) return {};
    if (S_ISREG(info.st_mode)) return {};
    if (S_ISDIR(info.st_mode)) return QStringLiteral("a folder");
    if (S_ISFIFO(info.st_mode)) return QStringLiteral("a named pipe (FIFO)");
    if (S_ISSOCK(info.st_mode)) return QStringLiteral("a socket");
    return QStringLiteral("a device");
}

FileKind fileKindOf(const QString& path) {
    if (!notAFile(path).isEmpty()) return FileKind::Unreadable;
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
