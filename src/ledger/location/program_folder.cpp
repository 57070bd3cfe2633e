// SPDX-License-Identifier: GPL-3.0-or-later
#include "ledger/location/program_folder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include "ledger/base/ledger_error.h"
#include "ledger/base/owner_only.h"
#include "ledger/location/settings_file.h"
#include "ledger/schema/schema.h"
#include "ledger/store/server_address.h"

namespace ledger {

namespace {

QString& folderOverride() {
    static QString folder;
    return folder;
}

QString& dataFolderOverride() {
    static QString folder;
    return folder;
}

const QString kSettingsName = QStringLiteral("tallowbrook.ini");

// A name there, even a link to nothing: the shop put it there.
bool present(const QString& path) {
    const QFileInfo info(path);
    return info.exists() || info.isSymLink();
}

bool holdsBooks(const QString& folder) {
    return present(folder + QLatin1Char('/') + schema::kFileName) ||
           present(folder + QLatin1Char('/') + kSettingsName);
}

}  // namespace

QString programFolder() {
    if (!folderOverride().isEmpty()) return folderOverride();
    return QCoreApplication::applicationDirPath();
}

void setProgramFolder(const QString& folder) { folderOverride() = folder; }

QString dataFolder() {
    if (!dataFolderOverride().isEmpty()) return dataFolderOverride();
    // Named for the program, not for whichever of the two is running: the
    // database tool finds the books the program keeps.
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
           QStringLiteral("/tallowbrook");
}

void setDataFolder(const QString& folder) { dataFolderOverride() = folder; }

QString booksFolder() {
    const QString beside = programFolder();
    return holdsBooks(beside) ? beside : dataFolder();
}

bool booksFound() { return holdsBooks(programFolder()) || holdsBooks(dataFolder()); }

QString settingsPath() { return booksFolder() + QLatin1Char('/') + kSettingsName; }

QString settingsProblem() { return readDatabaseSetting(settingsPath()).problem; }

QString databasePath() {
    const QString folder = booksFolder();
    const DatabaseSetting setting = readDatabaseSetting(folder + QLatin1Char('/') + kSettingsName);
    // Never the file beside the program in place of books the settings name.
    if (!setting.problem.isEmpty()) fail(ErrorCode::StoreFailure, setting.problem);
    const QString& configured = setting.database;
    if (configured.isEmpty()) return folder + QLatin1Char('/') + schema::kFileName;
    if (isServerAddress(configured)) return configured;
    return QDir::cleanPath(QDir(folder).absoluteFilePath(configured));
}

QString databaseDisplayName() { return displayName(databasePath()); }

void rememberBooks(const QString& database) {
    const QString folder = booksFolder();
    makeOwnerOnlyFolder(folder);
    writeDatabaseSetting(folder + QLatin1Char('/') + kSettingsName, database);
}

QString whereTheBooksAre() {
    const QString folder = QDir::toNativeSeparators(booksFolder());
    const QString settings = settingsPath();
    QString books;
    QString state;
    try {
        const QString path = databasePath();
        books = QDir::toNativeSeparators(displayName(path));
        if (!isServerAddress(path) && !present(path)) state = QStringLiteral(" (not there yet)");
    } catch (const LedgerError& error) {
        books = QStringLiteral("none: ") + error.message();
    }
    return QStringLiteral(
               "Folder in use: %1 (%2)\n"
               "Books:         %3%4\n"
               "Settings:      %5%6\n"
               "Looked for in: %7, then %8\n")
        .arg(folder,
             booksFolder() == programFolder() ? QStringLiteral("beside the program")
                                              : QStringLiteral("the user's data folder"),
             books, state, QDir::toNativeSeparators(settings),
             present(settings) ? QString() : QStringLiteral(" (none)"),
             QDir::toNativeSeparators(programFolder()), QDir::toNativeSeparators(dataFolder()));
}

}  // namespace ledger
