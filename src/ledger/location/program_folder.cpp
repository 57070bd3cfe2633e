#include "ledger/location/program_folder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include "ledger/base/ledger_error.h"
#include "ledger/location/settings_file.h"
#include "ledger/schema/schema.h"
#include "ledger/store/server_address.h"

namespace ledger {

namespace {
QString& folderOverride() {
    static QString folder;
    return folder;
}

}  // namespace

QString programFolder() {
    if (!folderOverride().isEmpty()) return folderOverride();
    return QCoreApplication::applicationDirPath();
}

void setProgramFolder(const QString& folder) { folderOverride() = folder; }

QString settingsPath() { return programFolder() + QStringLiteral("/tallowbrook.ini"); }

QString settingsProblem() { return readDatabaseSetting(settingsPath()).problem; }

QString databasePath() {
    const DatabaseSetting setting = readDatabaseSetting(settingsPath());
    // Never the file beside the program in place of books the settings name.
    if (!setting.problem.isEmpty()) fail(ErrorCode::StoreFailure, setting.problem);
    const QString& configured = setting.database;
    if (configured.isEmpty()) return programFolder() + QLatin1Char('/') + schema::kFileName;
    if (isServerAddress(configured)) return configured;
    return QDir::cleanPath(QDir(programFolder()).absoluteFilePath(configured));
}

QString databaseDisplayName() { return displayName(databasePath()); }

}  // namespace ledger
