#include "ledger/location/program_folder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QSettings>

#include "ledger/schema/schema.h"
#include "ledger/store/server_address.h"

namespace ledger {

namespace {
QString& folderOverride() {
    static QString folder;
    return folder;
}

// The configured database, empty when there is none. QSettings splits an
// unquoted value at commas, so a list is joined back into the one name.
QString configuredDatabase() {
    const QString ini = settingsPath();
    if (!QFileInfo(ini).isFile()) return {};
    QSettings settings(ini, QSettings::IniFormat);
    const QVariant value = settings.value(QStringLiteral("database"));
    const QString name = value.typeId() == QMetaType::QStringList
                             ? value.toStringList().join(QLatin1Char(','))
                             : value.toString();
    return name.trimmed();
}
}  // namespace

QString programFolder() {
    if (!folderOverride().isEmpty()) return folderOverride();
    return QCoreApplication::applicationDirPath();
}

void setProgramFolder(const QString& folder) { folderOverride() = folder; }

QString settingsPath() { return programFolder() + QStringLiteral("/tallowbrook.ini"); }

QString databasePath() {
    const QString configured = configuredDatabase();
    if (configured.isEmpty()) return programFolder() + QLatin1Char('/') + schema::kFileName;
    if (isServerAddress(configured)) return configured;
    return QDir::cleanPath(QDir(programFolder()).absoluteFilePath(configured));
}

QString databaseDisplayName() { return displayName(databasePath()); }

}  // namespace ledger
