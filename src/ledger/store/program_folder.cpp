#include "program_folder.h"

#include <QCoreApplication>

#include "schema.h"

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

QString databasePath() { return programFolder() + QLatin1Char('/') + schema::kFileName; }

}  // namespace ledger
