// SPDX-License-Identifier: GPL-3.0-or-later
#include <sys/stat.h>

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <cerrno>
#include <cstring>

#include "ledger/base/ledger_error.h"
#include "ledger/location/settings_file.h"

namespace ledger {

namespace {

// The value as the reader takes it back: blanks at either end, or a quote
// at the start, would be lost without quotes around the whole value.
QString writtenValue(const QString& database) {
    const bool needsQuotes =
        database.trimmed() != database || database.startsWith(QLatin1Char('"'));
    return needsQuotes ? QLatin1Char('"') + database + QLatin1Char('"') : database;
}

}  // namespace

void writeDatabaseSetting(const QString& iniPath, const QString& database) {
    const QString shown = QDir::toNativeSeparators(iniPath);
    if (database.isEmpty() || database.contains(QLatin1Char('\n')) ||
        database.contains(QLatin1Char('\r')))
        fail(ErrorCode::StoreFailure,
             QStringLiteral("Cannot write %1: the books' name must be one line of text. The "
                            "settings were left as they were.")
                 .arg(shown));
    const QByteArray text =
        QStringLiteral(
            "# The shop's books, as chosen in the program (Books...). A file path or a\n"
            "# postgresql:// address; the password belongs in ~/.pgpass, never here.\n"
            "database=%1\n")
            .arg(writtenValue(database))
            .toUtf8();

    const bool isNew = !QFileInfo::exists(iniPath);
    QSaveFile file(iniPath);
    QString why;
    if (!file.open(QIODevice::WriteOnly)) {
        why = file.errorString();
    } else if (isNew && ::fchmod(file.handle(), S_IRUSR | S_IWUSR) != 0) {
        why = QString::fromLocal8Bit(std::strerror(errno));
    } else if (file.write(text) != text.size()) {
        why = file.errorString();
    } else if (!file.commit()) {
        why = file.errorString();
    }
    if (why.isEmpty()) return;
    file.cancelWriting();
    fail(ErrorCode::StoreFailure,
         QStringLiteral("Cannot write the settings file %1: %2. The settings were left as they "
                        "were.")
             .arg(shown, why));
}

}  // namespace ledger
