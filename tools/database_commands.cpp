#include "database_commands.h"

#include <sqlite3.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "ledger_error.h"
#include "schema_builder.h"

namespace tools {

namespace {

const char* const kProgram = "tallowbrook-db: ";

QString shown(const QString& path) { return QDir::toNativeSeparators(path); }

// Why the file cannot be an SQLite database, judged by its first bytes;
// empty when it is one (an empty file is an empty SQLite database).
QString notSqliteReason(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QStringLiteral("Cannot read %1: %2").arg(shown(path), file.errorString());
    const QByteArray head = file.read(100);
    if (head.isEmpty() || head.startsWith(QByteArray("SQLite format 3\0", 16))) return {};
    // An Access file of the shop's old system: "Standard Jet DB" (Access 97 to
    // 2003) or "Standard ACE DB" (Access 2007 on) at byte 4.
    const QByteArray signature = head.mid(4, 15);
    if (signature == "Standard Jet DB" || signature == "Standard ACE DB")
        return QStringLiteral(
                   "%1 is a Microsoft Access (Jet) database, not an SQLite database. "
                   "This program cannot read it; it must be converted to SQLite first "
                   "(tallowbrook-db create makes an empty database to copy its rows into).")
            .arg(shown(path));
    return QStringLiteral("%1 is not an SQLite database.").arg(shown(path));
}

class ReadOnlyConnection {
public:
    explicit ReadOnlyConnection(const QString& path) {
        if (sqlite3_open_v2(QFile::encodeName(path).constData(), &db_, SQLITE_OPEN_READONLY,
                            nullptr) != SQLITE_OK)
            ledger::fail(ledger::ErrorCode::StoreFailure,
                         QStringLiteral("Cannot open %1: %2")
                             .arg(shown(path), QString::fromUtf8(sqlite3_errmsg(db_))));
    }
    ~ReadOnlyConnection() { sqlite3_close_v2(db_); }
    ReadOnlyConnection(const ReadOnlyConnection&) = delete;
    ReadOnlyConnection& operator=(const ReadOnlyConnection&) = delete;
    sqlite3* handle() const { return db_; }

private:
    sqlite3* db_ = nullptr;
};

}  // namespace

int createDatabase(const QString& path, bool withDemoData, bool force, QTextStream& out,
                   QTextStream& err) {
    const bool existed = QFileInfo::exists(path) || QFileInfo(path).isSymLink();
    try {
        ledger::writeDatabaseFile(path, withDemoData, force);
    } catch (const ledger::LedgerError& e) {
        err << kProgram << e.message();
        if (existed && !force) err << " Use --force to replace it.";
        err << Qt::endl;
        return 1;
    }
    out << "Created " << shown(path) << (withDemoData ? " with demo data." : ".") << Qt::endl;
    if (withDemoData)
        out << "Log in as " << ledger::kDemoLoginName << " with the password "
            << ledger::kDemoLoginPassword << "." << Qt::endl;
    else
        out << "The staff register is empty; add the first member of staff with" << Qt::endl
            << "  tallowbrook-db add-staff " << shown(path) << " NAME" << Qt::endl;
    return 0;
}

int checkDatabase(const QString& path, QTextStream& out, QTextStream& err) {
    const QFileInfo file(path);
    if (!file.exists()) {
        err << kProgram << shown(path) << " does not exist." << Qt::endl;
        return 1;
    }
    if (file.isDir()) {
        err << kProgram << shown(path) << " is a folder, not a database file." << Qt::endl;
        return 1;
    }
    if (QString reason = notSqliteReason(path); !reason.isEmpty()) {
        err << kProgram << reason << Qt::endl;
        return 1;
    }
    QStringList problems;
    try {
        ReadOnlyConnection db(path);
        problems = ledger::checkSchema(db.handle());
    } catch (const ledger::LedgerError& e) {
        err << kProgram << e.message() << Qt::endl;
        return 1;
    }
    for (const auto& p : problems) out << p << Qt::endl;
    if (problems.isEmpty()) {
        out << shown(path) << " has everything the program needs." << Qt::endl;
        return 0;
    }
    out << shown(path) << " lacks " << problems.size()
        << (problems.size() == 1 ? " thing" : " things") << " the program needs." << Qt::endl;
    return 1;
}

}  // namespace tools
