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
    const bool isNew = !QFileInfo::exists(path);
    QSaveFile file(path);
    QString why;
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        why = file.errorString();
    } else if (isNew && ::fchmod(file.handle(), S_IRUSR | S_IWUSR) != 0) {
        why = QString::fromLocal8Bit(std::strerror(errno));
    } else if (!writeAll(file, bytes)) {
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
