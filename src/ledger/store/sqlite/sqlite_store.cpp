// SPDX-License-Identifier: GPL-3.0-or-later
#include "ledger/store/sqlite/sqlite_store.h"

#include <sqlite3.h>
#include <sys/stat.h>

#include <QFile>
#include <QFileInfo>
#include <QHash>

#include "ledger/base/ledger_error.h"
#include "ledger/store/file_kind.h"
#include "ledger/store/sql_store.h"
#include "ledger/store/sqlite/sqlite_statements.h"
#include "ledger/store/sqlite/sqlite_who_writes.h"

namespace ledger {

namespace {

using statements::Statement;

// The file behind a name, as the disk has it now: which file it is, and when
// and how far it was last written.
struct FileState {
    dev_t device = 0;
    ino_t inode = 0;
    timespec written{};
    off_t size = 0;
    bool sameFile(const FileState& other) const {
        return device == other.device && inode == other.inode;
    }
    bool sameWriting(const FileState& other) const {
        return written.tv_sec == other.written.tv_sec && written.tv_nsec == other.written.tv_nsec &&
               size == other.size;
    }
};

std::optional<FileState> stateOf(const QString& path) {
    struct stat status {};
    if (::stat(QFile::encodeName(path).constData(), &status) != 0) return std::nullopt;
    return FileState{status.st_dev, status.st_ino, status.st_mtim, status.st_size};
}

// Stores shared per file within this process.
QHash<QString, std::weak_ptr<Store>>& openFileStores() {
    static QHash<QString, std::weak_ptr<Store>> stores;
    return stores;
}

// What a file that is not an SQLite database is, from its first bytes.
QString describeForeignFile(const QString& path) {
    switch (fileKindOf(path)) {
        case FileKind::Sqlite:
        case FileKind::Unreadable:  // opening it says why
            return {};
        case FileKind::Empty:
            return QStringLiteral(
                       "The database file '%1' is empty. Replace it with a new one: "
                       "tallowbrook-db create --force \"%1\"")
                .arg(path);
        case FileKind::Access:
            return QStringLiteral(
                       "The database file '%1' is a Microsoft Access (Jet) database. This "
                       "program keeps its data in an SQLite database: the file must be "
                       "converted first.")
                .arg(path);
        case FileKind::Foreign:
            break;
    }
    return QStringLiteral(
               "The file '%1' is not a database this program recognizes, or it is "
               "damaged.")
        .arg(path);
}

class StatementRow final : public SqlRow {
public:
    explicit StatementRow(const Statement& statement) : statement_(statement) {}
    QVariant value(int column) const override { return statement_.value(column); }
    qint64 integer(int column) const override { return statement_.integer(column); }

private:
    const Statement& statement_;
};

// The file's engine: its one connection, the file it opened, and SQLite's
// words for what went wrong said in the shop's.
class FileEngine final : public SqlEngine {
public:
    FileEngine(QString path, std::unique_ptr<statements::Connection> owned)
        : path_(std::move(path)), owned_(std::move(owned)), connection_(*owned_) {
        opened_ = stateOf(path_);
        lastWritten_ = opened_;
    }
    FileEngine(QString path, statements::Connection& borrowed)
        : path_(std::move(path)), connection_(borrowed) {}

    const SqlDialect& dialect() const override { return SqlDialect::sqlite(); }
    const QString& books() const override { return path_; }

    Ran run(const QString& sql, const std::vector<QVariant>& values, const QString& doing,
            const RowReader& read = {}, Resend = Resend::Always) override {
        const sqlite3_int64 before = sqlite3_total_changes64(handle());
        Statement q(handle(), sql, [this, doing](int rc) { failFromSqlite(rc, doing); });
        for (size_t i = 0; i < values.size(); ++i) q.bind(static_cast<int>(i) + 1, values[i]);
        const StatementRow row(q);
        while (q.step())
            if (read && !read(row)) break;
        const Ran ran{sqlite3_changes64(handle()), false};
        if (sqlite3_total_changes64(handle()) != before) noteOwnWriting();
        return ran;
    }
    void stream(const QString& sql, const std::vector<QVariant>& values, const QString& doing,
                const RowReader& read) override {
        // SQLite steps row by row anyway: a stop reads nothing more.
        run(sql, values, doing, read);
    }

    void begin() override {
        // The file's write lock is taken at once: another program waits for
        // it, as for any write.
        execute(QStringLiteral("BEGIN IMMEDIATE"));
    }
    Store::Outcome commit(const QString&) override {
        // A file's commit is never in doubt.
        try {
            execute(QStringLiteral("COMMIT"));
        } catch (...) {
            rollBack();
            throw;
        }
        noteOwnWriting();
        return Store::Outcome::Stored;
    }
    void rollBack() override {
        // SQLite undoes a transaction it could not finish by itself.
        connection_.rollBackQuietly();
    }
    std::optional<Store::Outcome> settledEarlier(const QString&) override { return std::nullopt; }
    void holdBackOthersStoring(const QString&, const QVariant&) override {
        // The transaction holds the file's write lock from its start: another
        // program storing the same value waits for it, then finds this row.
    }

    std::vector<Source> sources() override {
        std::vector<Source> found;
        run(QStringLiteral("SELECT name, type FROM sqlite_schema WHERE type IN ('table','view')"),
            {}, QStringLiteral("Cannot read the database's tables"), [&](const SqlRow& row) {
                found.push_back({row.value(0).toString(),
                                 row.value(1).toString() == QLatin1String("table"),
                                 {}});
                return true;
            });
        return found;
    }
    std::vector<Column> columnsOf(const Source& source) override {
        std::vector<Column> columns;
        run(QStringLiteral("SELECT name, type FROM pragma_table_info(?1)"), {source.name},
            QStringLiteral("Cannot read the columns"), [&](const SqlRow& row) {
                columns.push_back({row.value(0).toString(), row.value(1).toString()});
                return true;
            });
        return columns;
    }
    std::optional<qint64> catalogueVersion() override {
        return integerOf(QStringLiteral("PRAGMA schema_version"), {},
                         QStringLiteral("Cannot read the database's tables"));
    }
    QString qualified(const QString& name) const override { return quoteName(name); }
    bool keepsTotals(const schema::KeptTotals& kept) override {
        // The table and the triggers that keep it, on the table it adds up.
        const QStringList triggers = dialect().keptTriggers(kept);
        std::vector<QVariant> values{kept.table, kept.source};
        for (const QString& trigger : triggers) values.emplace_back(trigger);
        const QString names = QStringList(triggers.size(), QStringLiteral("?")).join(u',');
        return integerOf(QStringLiteral("SELECT count(*) FROM sqlite_schema WHERE (type = 'table' "
                                        "AND name = ?) OR (type = 'trigger' AND tbl_name = ? "
                                        "AND name IN (%1))")
                             .arg(names),
                         values, QStringLiteral("Cannot read the database's tables")) ==
               1 + triggers.size();
    }

    void requireSameBooks() override {
        const std::optional<FileState> now = stateOf(path_);
        if (!now || !opened_ || !now->sameFile(*opened_))
            fail(ErrorCode::FileReplaced,
                 QStringLiteral("The database file '%1' was replaced or removed by another "
                                "program since it was opened, so what was typed cannot be "
                                "stored safely. The text stays in the window: note it, then "
                                "close the window and open it again.")
                     .arg(path_));
        // Written since this connection last wrote or looked: by another
        // program, which SQLite notices by itself, or by a copy written into
        // the same file, which it need not (its pages kept as read, the copy
        // bearing the same change counter). Its kept pages are let go, so
        // that the write's guard reads the rows as the file holds them now.
        if (!lastWritten_ || !now->sameWriting(*lastWritten_)) sqlite3_db_release_memory(handle());
        lastWritten_ = now;
    }
    QString stillTheTable(const TableSeen& table, std::vector<QVariant>& values) override {
        // A table with lasting keys takes them from its counter in
        // sqlite_sequence, which only grows while the file is the same
        // ledger. Found lower than a key already seen, the file was
        // overwritten in place by another ledger: its keys may name other
        // rows.
        if (!table.lastingKeys) return {};
        const int next = static_cast<int>(values.size()) + 1;
        values.emplace_back(table.name);
        values.emplace_back(table.highestKey);
        return QStringLiteral("coalesce((SELECT seq FROM sqlite_sequence WHERE name=%1),0)>=%2")
            .arg(dialect().placeholder(next), dialect().placeholder(next + 1));
    }
    quint64 removalsElsewhere(const QString&) override {
        // data_version changes when another connection (another program, or
        // the backup at start-up) committed anything. Not read: taken for a
        // change, which costs a full read of the keys.
        std::optional<qint64> version;
        try {
            version = integerOf(QStringLiteral("PRAGMA data_version"), {}, QString());
        } catch (const LedgerError&) {
        }
        if (!version || version != othersVersion_) ++othersCommits_;
        othersVersion_ = version;
        return othersCommits_;
    }

private:
    sqlite3* handle() const { return connection_.handle(); }
    void execute(const QString& sql) { run(sql, {}, QStringLiteral("Database statement failed")); }
    qint64 integerOf(const QString& sql, const std::vector<QVariant>& values,
                     const QString& doing) {
        std::optional<qint64> found;
        run(sql, values, doing, [&](const SqlRow& row) {
            found = row.integer(0);
            return false;
        });
        if (!found) failFromSqlite(SQLITE_ERROR, doing);
        return *found;
    }
    // What this connection wrote is no sign of the file being written behind
    // its back: seen after each of its writes (outside a transaction, whose
    // commit is the write).
    void noteOwnWriting() {
        if (sqlite3_get_autocommit(handle())) lastWritten_ = stateOf(path_);
    }
    [[noreturn]] void failFromSqlite(int rc, const QString& doing) const;

    QString path_;
    std::unique_ptr<statements::Connection> owned_;
    statements::Connection& connection_;
    std::optional<FileState> opened_, lastWritten_;
    // Each time another connection was seen to have committed (othersVersion_
    // is SQLite's data_version then).
    quint64 othersCommits_ = 0;
    std::optional<qint64> othersVersion_;
};

void FileEngine::failFromSqlite(int rc, const QString& doing) const {
    QString detail = QString::fromUtf8(sqlite3_errmsg(handle()));
    switch (rc & 0xff) {
        case SQLITE_READONLY:
            fail(ErrorCode::StoreFailure,
                 QStringLiteral("Cannot save: the database file '%1' is read-only. Nothing "
                                "already stored was changed. The file and its folder must be "
                                "writable by the shop's user: install the program into a "
                                "folder of that user (for example with cmake --install BUILD "
                                "--prefix ~/.local) or give the user the folder.")
                     .arg(path_));
        case SQLITE_FULL:
            fail(ErrorCode::StoreFailure,
                 QStringLiteral("Cannot save: the disk holding '%1' is full. Nothing already "
                                "stored was changed; free some space and try again.")
                     .arg(path_));
        case SQLITE_BUSY:
        case SQLITE_LOCKED:
            fail(ErrorCode::StoreFailure,
                 QStringLiteral("The database file '%1' is in use by another program; try "
                                "again in a moment.")
                     .arg(path_));
        case SQLITE_CORRUPT:
        case SQLITE_NOTADB:
            fail(ErrorCode::NotADatabase,
                 QStringLiteral("The database file '%1' is damaged (%2).").arg(path_, detail));
        case SQLITE_CANTOPEN:
        case SQLITE_IOERR:
            fail(ErrorCode::StoreFailure,
                 QStringLiteral("Cannot read or write the database file '%1' (%2).")
                     .arg(path_, detail));
        default:
            fail(ErrorCode::StoreFailure, QStringLiteral("%1: %2").arg(doing, detail));
    }
}

}  // namespace

std::shared_ptr<Store> openFileStore(const QString& path) {
    QFileInfo info(path);
    QString key = info.exists() ? info.canonicalFilePath() : info.absoluteFilePath();
    if (auto existing = openFileStores().value(key).lock()) return existing;
    std::shared_ptr<Store> store = openFileStoreUnshared(path);
    shareFileStore(store);
    return store;
}

void shareFileStore(const std::shared_ptr<Store>& store) {
    if (openFileStores().value(store->path()).lock()) return;
    openFileStores().insert(store->path(), store);
}

std::shared_ptr<Store> openFileStoreUnshared(const QString& path) {
    QFileInfo info(path);
    QString full = info.absoluteFilePath();
    QString key = info.exists() ? info.canonicalFilePath() : full;
    if (!info.exists())
        fail(ErrorCode::FileNotFound,
             QStringLiteral("Could not find file '%1'. Create the shop's database with: "
                            "tallowbrook-db create \"%1\" (or tallowbrook-db demo \"%1\" for "
                            "a sample shop).")
                 .arg(full));
    if (QString foreign = describeForeignFile(full); !foreign.isEmpty())
        fail(ErrorCode::NotADatabase, foreign);

    auto connection = std::make_unique<statements::Connection>(
        full, statements::Connection::Mode::ReadWrite, [&full](int rc) {
            fail(ErrorCode::StoreFailure, QStringLiteral("Cannot open the database file '%1': %2")
                                              .arg(full, QString::fromUtf8(sqlite3_errstr(rc))));
        });
    // A second program on the same file waits briefly instead of failing at
    // once; FULL sync so that a stored row survives a crash or power loss.
    sqlite3_busy_timeout(connection->handle(), 5000);
    sqlite3_extended_result_codes(connection->handle(), 1);
    sqlite3* handle = connection->handle();
    auto engine = std::make_unique<FileEngine>(key, std::move(connection));
    const QString doing = QStringLiteral("Database statement failed");
    engine->run(QStringLiteral("PRAGMA synchronous=FULL"), {}, doing);
    // A full day row takes about 500 bytes: 8 MiB of page cache holds ten
    // years of a shop's days (and then some) so a search that matches
    // nothing does not read the file again; pages are taken only as used.
    engine->run(QStringLiteral("PRAGMA cache_size=-8192"), {}, doing);
    // Reading the schema tells a damaged file from a good one now rather
    // than at the first row.
    engine->run(QStringLiteral("SELECT count(*) FROM sqlite_schema"), {}, doing);
    // Only books whose schema reads are signed: a damaged file is said as
    // damaged, above, not as a history that could not be prepared.
    signHistoryOfThisTill(handle);
    return std::make_shared<SqlStore>(std::move(engine));
}

std::unique_ptr<SqlEngine> fileEngineOn(statements::Connection& file) {
    return std::make_unique<FileEngine>(file.path(), file);
}

}  // namespace ledger
