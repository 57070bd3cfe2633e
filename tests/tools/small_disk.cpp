// SPDX-License-Identifier: GPL-3.0-or-later
#include "small_disk.h"

#include <fcntl.h>
#include <sys/mount.h>
#include <unistd.h>

#include <QFile>
#include <cerrno>
#include <cstring>

SmallDisk::SmallDisk() {
    const QByteArray where = QFile::encodeName(dir_.path());
    mounted_ = ::mount("tmpfs", where.constData(), "tmpfs", MS_NOSUID | MS_NODEV, "size=1m") == 0;
    if (!mounted_) why_ = QString::fromLocal8Bit(std::strerror(errno));
}

SmallDisk::~SmallDisk() {
    if (mounted_) ::umount2(QFile::encodeName(dir_.path()).constData(), MNT_DETACH);
}

void SmallDisk::fill() const {
    const int fd = ::open(QFile::encodeName(filePath(QStringLiteral("filler"))).constData(),
                          O_WRONLY | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0) return;
    const QByteArray zeros(4096, '\0');
    while (::write(fd, zeros.constData(), static_cast<size_t>(zeros.size())) > 0) {
    }
    // Whatever the page-sized writes left, byte by byte.
    while (::write(fd, zeros.constData(), 1) > 0) {
    }
    ::close(fd);
}
