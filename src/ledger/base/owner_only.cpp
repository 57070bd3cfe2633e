// SPDX-License-Identifier: GPL-3.0-or-later
#include "ledger/base/owner_only.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <cstring>

#include "ledger/base/ledger_error.h"

namespace ledger {

bool createOwnerOnlyFile(const QString& path) {
    const int fd = ::open(QFile::encodeName(path).constData(),
                          O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, S_IRUSR | S_IWUSR);
    if (fd < 0) return false;
    ::close(fd);
    return true;
}

void makeOwnerOnlyFolder(const QString& folder) {
    const QString absolute = QFileInfo(folder).absoluteFilePath();
    if (QFileInfo(absolute).isDir()) return;
    const QString shown = QDir::toNativeSeparators(absolute);
    if (QFileInfo::exists(absolute))
        fail(ErrorCode::StoreFailure,
             QStringLiteral("Cannot make the folder %1: a file of that name is in the way.")
                 .arg(shown));
    const QString parent = QFileInfo(absolute).absolutePath();
    if (!QDir().mkpath(parent) ||
        (::mkdir(QFile::encodeName(absolute).constData(), S_IRWXU) != 0 && errno != EEXIST))
        fail(ErrorCode::StoreFailure,
             QStringLiteral("Cannot make the folder %1: %2.")
                 .arg(shown, QString::fromLocal8Bit(std::strerror(errno))));
}

}  // namespace ledger
