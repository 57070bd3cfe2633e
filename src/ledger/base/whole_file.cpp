// SPDX-License-Identifier: GPL-3.0-or-later
#include "ledger/base/whole_file.h"

#include <sys/stat.h>
#include <unistd.h>

#include <QFileInfo>
#include <QSaveFile>
#include <cerrno>
#include <cstring>

namespace ledger {

namespace {

// A short write is followed by another, so the disk's reason for stopping
// (no space left) is what the error says.
bool writeAll(QSaveFile& file, const QByteArray& bytes) {
    for (qint64 written = 0; written < bytes.size();) {
        const qint64 now = file.write(bytes.constData() + written, bytes.size() - written);
        if (now <= 0) return false;
        written += now;
    }
    return true;
}

}  // namespace

QString writeWholeFile(const QString& path, const QByteArray& bytes) {
    return writeWholeFileInPieces(path, [&](const PieceWriter& write) { write(bytes); });
}

QString writeWholeFileInPieces(const QString& path,
                               const std::function<void(const PieceWriter&)>& produce) {
    const bool isNew = !QFileInfo::exists(path);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) return file.errorString();
    if (isNew && ::fchmod(file.handle(), S_IRUSR | S_IWUSR) != 0) {
        file.cancelWriting();
        return QString::fromLocal8Bit(std::strerror(errno));
    }
    // Pieces are gathered into writes of a useful size; the first write that
    // fails stops every later one.
    constexpr qsizetype kWriteSize = 256 * 1024;
    QByteArray pending;
    bool failed = false;
    const PieceWriter write = [&](const QByteArray& piece) {
        if (failed) return false;
        pending += piece;
        if (pending.size() >= kWriteSize) {
            failed = !writeAll(file, pending);
            pending.clear();
        }
        return !failed;
    };
    try {
        produce(write);
    } catch (...) {
        file.cancelWriting();
        throw;
    }
    QString why;
    if (failed || !writeAll(file, pending)) {
        why = file.errorString();
    } else if (::fsync(file.handle()) != 0) {
        why = QString::fromLocal8Bit(std::strerror(errno));
    } else if (!file.commit()) {
        why = file.errorString();
    }
    if (!why.isEmpty()) file.cancelWriting();
    return why;
}

}  // namespace ledger
