// SPDX-License-Identifier: GPL-3.0-or-later
#include "ledger/location/settings_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStringDecoder>

namespace ledger {

namespace {

const QString kExamples = QStringLiteral(
    "for example database=breakfast.mdb (a file in the folder of this file), "
    "database=/home/shop/books/breakfast.mdb or database=postgresql://till@shop-server/books");

QString refusal(const QString& iniPath, int line, const QString& what, const QString& advice) {
    return QStringLiteral(
               "The settings file %1 cannot be used as it stands: line %2 %3\n\n%4\n\nNo books "
               "were opened. Correct the file and start the program again.")
        .arg(QDir::toNativeSeparators(iniPath))
        .arg(line)
        .arg(what, advice);
}

// The value of a database= line, or why it names no books.
QString valueOf(const QString& written, QString& why, QString& advice) {
    QString value = written;
    if (value.startsWith(QLatin1Char('"'))) {
        if (value.size() < 2 || !value.endsWith(QLatin1Char('"'))) {
            why = QStringLiteral("begins its value with a quote that is not closed.");
            advice = QStringLiteral("Write the value without quotes, or end it with a quote; %1.")
                         .arg(kExamples);
            return {};
        }
        value = value.mid(1, value.size() - 2);
    }
    if (value.isEmpty()) {
        why = QStringLiteral("names no database after database=.");
        advice = QStringLiteral(
                     "Write the books' file or server address after it, %1; or remove the "
                     "line to use breakfast.mdb in the folder of this file.")
                     .arg(kExamples);
        return {};
    }
    static const QRegularExpression drive(QStringLiteral("^[A-Za-z]:[\\\\/]"));
    if (drive.match(value).hasMatch()) {
        why = QStringLiteral("names %1, a path on a Windows computer.").arg(value);
        advice = QStringLiteral("On this computer write the path with / between the folders, %1.")
                     .arg(kExamples);
        return {};
    }
    return value;
}

}  // namespace

DatabaseSetting readDatabaseSetting(const QString& iniPath) {
    const QFileInfo info(iniPath);
    if (!info.exists() && !info.isSymLink()) return {};
    QFile file(iniPath);
    if (!info.isFile() || !file.open(QIODevice::ReadOnly))
        return {{},
                QStringLiteral("The settings file %1 cannot be read (%2).\n\nMake it a text "
                               "file this user may read, or remove it to use breakfast.mdb "
                               "in the same folder. No books were opened.")
                    .arg(QDir::toNativeSeparators(iniPath),
                         info.isDir() ? QStringLiteral("it is a folder") : file.errorString())};
    QByteArray bytes = file.readAll();
    if (bytes.startsWith("\xEF\xBB\xBF")) bytes.remove(0, 3);  // as some editors save it

    DatabaseSetting setting;
    int databaseLine = 0;
    const QList<QByteArray> lines = bytes.split('\n');
    for (int i = 0; i < lines.size(); ++i) {
        const int number = i + 1;
        QStringDecoder decode(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        const QString line = QString(decode(lines[i])).trimmed();
        if (decode.hasError())
            return {{},
                    refusal(iniPath, number, QStringLiteral("is not UTF-8 text."),
                            QStringLiteral("Save the file as UTF-8 text."))};
        if (line.isEmpty() || line.startsWith(QLatin1Char(';')) ||
            line.startsWith(QLatin1Char('#')) ||
            line.compare(QLatin1String("[General]"), Qt::CaseInsensitive) == 0)
            continue;
        if (line.startsWith(QLatin1Char('[')))
            return {{},
                    refusal(iniPath, number, QStringLiteral("begins a section, %1.").arg(line),
                            QStringLiteral("The file has no sections: remove the line and keep "
                                           "one database= line, %1.")
                                .arg(kExamples))};
        const qsizetype equals = line.indexOf(QLatin1Char('='));
        if (equals < 0)
            return {
                {},
                refusal(iniPath, number, QStringLiteral("has no = sign."),
                        QStringLiteral("Write the setting as database=VALUE, %1.").arg(kExamples))};
        const QString key = line.left(equals).trimmed();
        if (key.compare(QLatin1String("database"), Qt::CaseInsensitive) != 0)
            return {
                {},
                refusal(
                    iniPath, number,
                    QStringLiteral("sets \"%1\", which is not a setting of this program.").arg(key),
                    QStringLiteral("The one setting is database=, %1.").arg(kExamples))};
        if (databaseLine != 0)
            return {{},
                    refusal(iniPath, number,
                            QStringLiteral("names the database a second time (line %1 did).")
                                .arg(databaseLine),
                            QStringLiteral("Keep one database= line."))};
        QString why, advice;
        setting.database = valueOf(line.mid(equals + 1).trimmed(), why, advice);
        if (!why.isEmpty()) return {{}, refusal(iniPath, number, why, advice)};
        databaseLine = number;
    }
    return setting;
}

}  // namespace ledger
