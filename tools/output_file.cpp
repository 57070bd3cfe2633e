#include "output_file.h"

#include <QDir>
#include <QFileInfo>

#include "ledger/store/file_kind.h"

namespace tools {

QString outputRefusal(const QString& output, const QString& database, const QString& what) {
    const QFileInfo target(output);
    const QString shown = QDir::toNativeSeparators(output);
    if (target.isDir()) return QStringLiteral("%1 is a folder, not a file.").arg(shown);
    if (!target.exists()) return {};
    if (target.canonicalFilePath() == QFileInfo(database).canonicalFilePath())
        return QStringLiteral("%1 is the database being %2; choose another file name.")
            .arg(shown, what == QLatin1String("export") ? QStringLiteral("exported")
                                                        : QStringLiteral("reported on"));
    switch (ledger::fileKindOf(output)) {
        case ledger::FileKind::Sqlite:
        case ledger::FileKind::Access:
            return QStringLiteral(
                       "%1 is a database file; %2 does not replace it. Choose another file name.")
                .arg(shown, what == QLatin1String("export") ? QStringLiteral("an export")
                                                            : QStringLiteral("a report"));
        default:
            return {};
    }
}

}  // namespace tools
