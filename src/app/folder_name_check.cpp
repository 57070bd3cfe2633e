// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/folder_name_check.h"

#include <unistd.h>

#include <QByteArray>
#include <QStringDecoder>
#include <climits>

namespace app {

namespace {

// The program file's full name as the kernel has it, bytes unchanged.
QByteArray programFileBytes() {
    QByteArray name(PATH_MAX, '\0');
    const ssize_t length = ::readlink("/proc/self/exe", name.data(), name.size());
    if (length <= 0) return {};
    name.truncate(length);
    return name;
}

bool isUtf8(const QByteArray& bytes) {
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    // The decoding runs when its result becomes a string, not before.
    const QString decoded = decoder(bytes);
    return !decoder.hasError();
}

// The length of the UTF-8 sequence a byte begins, 1 for anything else.
qsizetype sequenceLength(unsigned char lead) {
    if (lead >= 0xF0) return 4;
    if (lead >= 0xE0) return 3;
    if (lead >= 0xC0) return 2;
    return 1;
}

// The name as the user can read and type it: bytes that are not UTF-8 shown
// as \xNN, everything else as it is.
QString shownWithEscapes(const QByteArray& bytes) {
    QString shown;
    for (qsizetype i = 0; i < bytes.size();) {
        const auto lead = static_cast<unsigned char>(bytes[i]);
        const QByteArray sequence = bytes.mid(i, sequenceLength(lead));
        if (isUtf8(sequence)) {
            shown += QString::fromUtf8(sequence);
            i += sequence.size();
        } else {
            shown += QStringLiteral("\\x%1").arg(lead, 2, 16, QLatin1Char('0'));
            ++i;
        }
    }
    return shown;
}

}  // namespace

QString unreadableFolderMessage() {
    const QByteArray file = programFileBytes();
    const QByteArray folder = file.left(file.lastIndexOf('/'));
    if (folder.isEmpty()) return {};
    if (isUtf8(folder)) return {};
    return QStringLiteral(
               "The name of the program's folder is not valid text (UTF-8):\n%1\n\n"
               "The program keeps its database file breakfast.mdb in that folder and cannot "
               "name it there. Rename the folder, or move the program with its "
               "breakfast.mdb into a folder whose name is plain text, and start it again.")
        .arg(shownWithEscapes(folder));
}

}  // namespace app
