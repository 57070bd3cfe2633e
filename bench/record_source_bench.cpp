// SPDX-License-Identifier: GPL-3.0-or-later
// Record sources on a big ledger, each next to bare SQLite doing the same work
// in the same run. Counters: "ratio" = this benchmark's time per iteration
// over its baseline's (run the baseline first; both print).
#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <QDate>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <map>
#include <memory>

#include "fake_field.h"
#include "full_ledger.h"
#include "ledger/records/record_source.h"
#include "ledger/schema/schema.h"
#include "setup/schema_builder.h"

namespace {

using ledger::RecordSource;
namespace schema = ledger::schema;

// The ledger's columns: the date, then 43 amounts.
const std::vector<ledger::schema::Column>& ledgerColumns() {
    return schema::findTable(schema::kLedger)->columns;
}

// One ledger file per size, made once, every column filled as on a real day:
// consecutive calendar days, every amount a figure with cents.
QString ledgerFile(int rows) {
    static QTemporaryDir dir;
    static std::map<int, QString> made;
    if (auto it = made.find(rows); it != made.end()) return it->second;
    QString path = dir.filePath(QStringLiteral("ledger-%1.mdb").arg(rows));
    bench::writeFullLedger(path, {rows, 5, 0});
    made[rows] = path;
    return path;
}

// No day of any ledger here has this text, nor anything LIKE the pattern.
// The pattern's wildcard makes the find read every day's Date; the plain
// day text is looked up through the Date index, as Inquiry and Save do.
constexpr auto kNoSuchDay = "1800/1/1";
constexpr auto kNoSuchDays = "1800/*";

struct Bare {
    sqlite3* db = nullptr;
    explicit Bare(const QString& path) { sqlite3_open(path.toUtf8().constData(), &db); }
    ~Bare() { sqlite3_close(db); }
};

void BM_Baseline_SelectRowids(benchmark::State& state) {
    Bare bare(ledgerFile(state.range(0)));
    for (auto _ : state) {
        sqlite3_stmt* st = nullptr;
        sqlite3_prepare_v2(bare.db, "SELECT rowid FROM \"daily settlement of accounts\"", -1, &st,
                           nullptr);
        std::vector<sqlite3_int64> keys;
        while (sqlite3_step(st) == SQLITE_ROW) keys.push_back(sqlite3_column_int64(st, 0));
        sqlite3_finalize(st);
        benchmark::DoNotOptimize(keys.data());
    }
}

// What opening costs the program at least: a new connection with the
// program's page cache, and the row keys.
void BM_Baseline_ConnectAndSelectRowids(benchmark::State& state) {
    const QString path = ledgerFile(state.range(0));
    for (auto _ : state) {
        Bare bare(path);
        sqlite3_exec(bare.db, "PRAGMA cache_size=-8192", nullptr, nullptr, nullptr);
        sqlite3_stmt* st = nullptr;
        sqlite3_prepare_v2(bare.db,
                           "SELECT rowid FROM \"daily settlement of accounts\" ORDER BY rowid", -1,
                           &st, nullptr);
        std::vector<sqlite3_int64> keys;
        while (sqlite3_step(st) == SQLITE_ROW) keys.push_back(sqlite3_column_int64(st, 0));
        sqlite3_finalize(st);
        benchmark::DoNotOptimize(keys.data());
    }
}

// What opening costs the program at least, to show a day: a new connection
// with the program's page cache, and the first row read whole.
void BM_Baseline_ConnectAndReadFirstRow(benchmark::State& state) {
    const QString path = ledgerFile(state.range(0));
    for (auto _ : state) {
        Bare bare(path);
        sqlite3_exec(bare.db, "PRAGMA cache_size=-8192", nullptr, nullptr, nullptr);
        sqlite3_stmt* st = nullptr;
        sqlite3_prepare_v2(bare.db,
                           "SELECT * FROM \"daily settlement of accounts\" ORDER BY rowid LIMIT 1",
                           -1, &st, nullptr);
        if (sqlite3_step(st) == SQLITE_ROW)
            for (int c = 0; c < sqlite3_column_count(st); ++c)
                benchmark::DoNotOptimize(sqlite3_column_text(st, c));
        sqlite3_finalize(st);
    }
}

// Opening as the daily window does: every column bound, so the first row is
// read and shown.
void BM_RecordSource_Open(benchmark::State& state) {
    QString path = ledgerFile(state.range(0));
    for (auto _ : state) {
        RecordSource data(QStringLiteral("Data1"));
        std::vector<std::unique_ptr<FakeField>> fields;
        for (const auto& column : ledgerColumns())
            fields.push_back(std::make_unique<FakeField>(data, column.name));
        data.setDatabasePath(path);
        data.setSource(schema::kLedger);
        data.open();
        benchmark::DoNotOptimize(data.hasCurrentRow());
    }
}

// The shell's own LIKE over the same column: what a wildcard find costs
// SQLite itself.
void BM_Baseline_SelectLikeNoMatch(benchmark::State& state) {
    Bare bare(ledgerFile(state.range(0)));
    for (auto _ : state) {
        sqlite3_stmt* st = nullptr;
        sqlite3_prepare_v2(bare.db,
                           "SELECT rowid FROM \"daily settlement of accounts\" WHERE "
                           "Date LIKE '1800/%' ORDER BY rowid LIMIT 1",
                           -1, &st, nullptr);
        benchmark::DoNotOptimize(sqlite3_step(st));
        sqlite3_finalize(st);
    }
}

void BM_RecordSource_FindFirstNoMatch(benchmark::State& state) {
    RecordSource data(QStringLiteral("Data1"));
    data.setDatabasePath(ledgerFile(state.range(0)));
    data.setSource(schema::kLedger);
    data.open();
    for (auto _ : state) {
        data.findFirst(QStringLiteral("Date like  '%1'").arg(kNoSuchDays));
        benchmark::DoNotOptimize(data.noMatch());
    }
}

// A wildcard at the start: no index helps, every Date is read (by SQLite).
void BM_Baseline_SelectLeadingLikeNoMatch(benchmark::State& state) {
    Bare bare(ledgerFile(state.range(0)));
    for (auto _ : state) {
        sqlite3_stmt* st = nullptr;
        sqlite3_prepare_v2(bare.db,
                           "SELECT rowid FROM \"daily settlement of accounts\" WHERE "
                           "Date LIKE '%/13/1' ORDER BY rowid LIMIT 1",
                           -1, &st, nullptr);
        benchmark::DoNotOptimize(sqlite3_step(st));
        sqlite3_finalize(st);
    }
}

void BM_RecordSource_FindFirstLeadingWildcardNoMatch(benchmark::State& state) {
    RecordSource data(QStringLiteral("Data1"));
    data.setDatabasePath(ledgerFile(state.range(0)));
    data.setSource(schema::kLedger);
    data.open();
    for (auto _ : state) {
        data.findFirst(QStringLiteral("Date like  '*/13/1'"));
        benchmark::DoNotOptimize(data.noMatch());
    }
}

void BM_Baseline_SelectNoSuchDay(benchmark::State& state) {
    Bare bare(ledgerFile(state.range(0)));
    for (auto _ : state) {
        sqlite3_stmt* st = nullptr;
        sqlite3_prepare_v2(bare.db,
                           "SELECT rowid FROM \"daily settlement of accounts\" WHERE Date = ? "
                           "ORDER BY rowid LIMIT 1",
                           -1, &st, nullptr);
        sqlite3_bind_text(st, 1, kNoSuchDay, -1, SQLITE_STATIC);
        benchmark::DoNotOptimize(sqlite3_step(st));
        sqlite3_finalize(st);
    }
}

// Inquiry of a day the ledger does not have.
void BM_RecordSource_FindNoSuchDay(benchmark::State& state) {
    RecordSource data(QStringLiteral("Data1"));
    data.setDatabasePath(ledgerFile(state.range(0)));
    data.setSource(schema::kLedger);
    data.open();
    for (auto _ : state) {
        data.findFirst(QStringLiteral("Date like  '%1'").arg(kNoSuchDay));
        benchmark::DoNotOptimize(data.noMatch());
    }
}

void BM_RecordSource_Refresh(benchmark::State& state) {
    RecordSource data(QStringLiteral("Data1"));
    data.setDatabasePath(ledgerFile(state.range(0)));
    data.setSource(schema::kLedger);
    data.open();
    for (auto _ : state) {
        data.refresh();
        benchmark::DoNotOptimize(data.rowCount());
    }
}

// A refresh after another program stored something: every key is read again.
void BM_RecordSource_RefreshAfterAnotherProgram(benchmark::State& state) {
    const QString path = ledgerFile(state.range(0));
    Bare other(path);
    RecordSource data(QStringLiteral("Data1"));
    data.setDatabasePath(path);
    data.setSource(schema::kLedger);
    data.open();
    for (auto _ : state) {
        state.PauseTiming();
        sqlite3_exec(other.db,
                     "UPDATE \"daily settlement of accounts\" SET Rent = Rent + 1 WHERE rowid = 1",
                     nullptr, nullptr, nullptr);
        state.ResumeTiming();
        data.refresh();
        benchmark::DoNotOptimize(data.rowCount());
    }
}

// A copy of a ledger that a benchmark may add days to.
QString ledgerCopy(int rows) {
    static QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("copy-%1.mdb").arg(rows));
    QFile::remove(path);
    QFile::copy(ledgerFile(rows), path);
    return path;
}

// A new day's 44 figures stored, as one statement.
QByteArray insertDaySql() {
    QStringList names, marks;
    for (const auto& column : ledgerColumns()) {
        names << ledger::quoteName(column.name);
        marks << QStringLiteral("?");
    }
    return QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
        .arg(ledger::quoteName(schema::kLedger), names.join(','), marks.join(','))
        .toUtf8();
}

// The bare work of saving a new day: store its 44 figures, look its date up,
// read the row to show it.
void BM_Baseline_InsertAndFindDay(benchmark::State& state) {
    Bare bare(ledgerCopy(state.range(0)));
    const QByteArray insertSql = insertDaySql();
    int n = 0;
    for (auto _ : state) {
        const QByteArray day = QStringLiteral("2400/1/%1").arg(++n).toUtf8();
        sqlite3_stmt* st = nullptr;
        sqlite3_prepare_v2(bare.db, insertSql.constData(), -1, &st, nullptr);
        sqlite3_bind_text(st, 1, day.constData(), -1, SQLITE_TRANSIENT);
        for (int c = 2; c <= static_cast<int>(ledgerColumns().size()); ++c)
            sqlite3_bind_double(st, c, 12.5);
        sqlite3_step(st);
        sqlite3_finalize(st);
        sqlite3_prepare_v2(bare.db,
                           "SELECT rowid FROM \"daily settlement of accounts\" WHERE Date = ? "
                           "ORDER BY rowid LIMIT 1",
                           -1, &st, nullptr);
        sqlite3_bind_text(st, 1, day.constData(), -1, SQLITE_TRANSIENT);
        sqlite3_step(st);
        const sqlite3_int64 key = sqlite3_column_int64(st, 0);
        sqlite3_finalize(st);
        sqlite3_prepare_v2(bare.db,
                           "SELECT * FROM \"daily settlement of accounts\" WHERE rowid = ?", -1,
                           &st, nullptr);
        sqlite3_bind_int64(st, 1, key);
        benchmark::DoNotOptimize(sqlite3_step(st));
        sqlite3_finalize(st);
    }
}

// Save of a new day as the daily window does it: New, the date and the
// day's figures typed, then Refresh (which stores the day) and the find of
// its date from the first day on.
void BM_RecordSource_SaveNewDay(benchmark::State& state) {
    RecordSource data(QStringLiteral("Data1"));
    std::vector<std::unique_ptr<FakeField>> fields;
    for (const auto& column : ledgerColumns())
        fields.push_back(std::make_unique<FakeField>(data, column.name));
    data.setDatabasePath(ledgerCopy(state.range(0)));
    data.setSource(schema::kLedger);
    data.open();
    int n = 0;
    for (auto _ : state) {
        const QString day = QStringLiteral("2400/1/%1").arg(++n);
        data.addNew();
        fields.front()->type(day);
        for (size_t c = 1; c < fields.size(); ++c) fields[c]->type(QStringLiteral("12.5"));
        data.refresh();
        // The daily window's criterion, two blanks included.
        ledger::guardedFind(data, QStringLiteral("Date like  '%1'").arg(day));
        benchmark::DoNotOptimize(data.currentIndex());
    }
}

// A fresh session, as after login: a new connection that has shown the
// first day and nothing more. The timed step after it is the session's
// first, on a cold page cache and with no row keys read yet.
struct FreshBare : Bare {
    explicit FreshBare(const QString& path) : Bare(path) {
        sqlite3_stmt* st = nullptr;
        sqlite3_prepare_v2(db,
                           "SELECT * FROM \"daily settlement of accounts\" ORDER BY rowid LIMIT 1",
                           -1, &st, nullptr);
        sqlite3_step(st);
        sqlite3_finalize(st);
    }
};

struct FreshSource {
    RecordSource data{QStringLiteral("Data1")};
    std::vector<std::unique_ptr<FakeField>> fields;
    explicit FreshSource(const QString& path) {
        for (const auto& column : ledgerColumns())
            fields.push_back(std::make_unique<FakeField>(data, column.name));
        data.setDatabasePath(path);
        data.setSource(schema::kLedger);
        data.open();
    }
};

// The bare first Save of a session: insert, find by Date, read the row.
void BM_Baseline_FirstSaveOfSession(benchmark::State& state) {
    const QString path = ledgerCopy(state.range(0));
    int n = 0;
    for (auto _ : state) {
        state.PauseTiming();
        auto bare = std::make_unique<FreshBare>(path);
        const QByteArray day = QStringLiteral("2400/1/%1").arg(++n).toUtf8();
        state.ResumeTiming();
        sqlite3_stmt* st = nullptr;
        static const QByteArray insertSql = insertDaySql();
        sqlite3_prepare_v2(bare->db, insertSql.constData(), -1, &st, nullptr);
        sqlite3_bind_text(st, 1, day.constData(), -1, SQLITE_TRANSIENT);
        for (int c = 2; c <= static_cast<int>(ledgerColumns().size()); ++c)
            sqlite3_bind_double(st, c, 12.5);
        sqlite3_step(st);
        sqlite3_finalize(st);
        sqlite3_prepare_v2(bare->db,
                           "SELECT * FROM \"daily settlement of accounts\" WHERE Date = ? "
                           "ORDER BY rowid LIMIT 1",
                           -1, &st, nullptr);
        sqlite3_bind_text(st, 1, day.constData(), -1, SQLITE_TRANSIENT);
        benchmark::DoNotOptimize(sqlite3_step(st));
        sqlite3_finalize(st);
        state.PauseTiming();
        bare.reset();
        state.ResumeTiming();
    }
}

// The first Save of a session as the daily window does it.
void BM_RecordSource_FirstSaveOfSession(benchmark::State& state) {
    const QString path = ledgerCopy(state.range(0));
    int n = 0;
    for (auto _ : state) {
        state.PauseTiming();
        auto session = std::make_unique<FreshSource>(path);
        const QString day = QStringLiteral("2400/1/%1").arg(++n);
        state.ResumeTiming();
        session->data.addNew();
        session->fields.front()->type(day);
        for (size_t c = 1; c < session->fields.size(); ++c)
            session->fields[c]->type(QStringLiteral("12.5"));
        session->data.refresh();
        ledger::guardedFind(session->data, QStringLiteral("Date like  '%1'").arg(day));
        benchmark::DoNotOptimize(session->data.currentIndex());
        state.PauseTiming();
        session.reset();
        state.ResumeTiming();
    }
}

// A day in the middle of the books, asked for first in a session.
QByteArray middleDay(int rows) { return bench::dayText(rows / 2).toUtf8(); }

void BM_Baseline_FirstInquiryOfSession(benchmark::State& state) {
    const QString path = ledgerFile(state.range(0));
    const QByteArray day = middleDay(state.range(0));
    for (auto _ : state) {
        state.PauseTiming();
        auto bare = std::make_unique<FreshBare>(path);
        state.ResumeTiming();
        sqlite3_stmt* st = nullptr;
        sqlite3_prepare_v2(bare->db,
                           "SELECT * FROM \"daily settlement of accounts\" WHERE Date = ? "
                           "ORDER BY rowid LIMIT 1",
                           -1, &st, nullptr);
        sqlite3_bind_text(st, 1, day.constData(), -1, SQLITE_STATIC);
        benchmark::DoNotOptimize(sqlite3_step(st));
        sqlite3_finalize(st);
        state.PauseTiming();
        bare.reset();
        state.ResumeTiming();
    }
}

void BM_RecordSource_FirstInquiryOfSession(benchmark::State& state) {
    const QString path = ledgerFile(state.range(0));
    const QString day = QString::fromUtf8(middleDay(state.range(0)));
    for (auto _ : state) {
        state.PauseTiming();
        auto session = std::make_unique<FreshSource>(path);
        state.ResumeTiming();
        ledger::guardedFind(session->data, QStringLiteral("Date like  '%1'").arg(day));
        benchmark::DoNotOptimize(session->data.currentIndex());
        state.PauseTiming();
        session.reset();
        state.ResumeTiming();
    }
}

// The saved query itself: every day added up, as a ledger without kept
// totals is read.
void BM_Baseline_SelectMonthTotalsQuery(benchmark::State& state) {
    Bare bare(ledgerFile(state.range(0)));
    for (auto _ : state) {
        sqlite3_stmt* st = nullptr;
        sqlite3_prepare_v2(bare.db, "SELECT * FROM \"daily settlement of accounts -Inquiry\"", -1,
                           &st, nullptr);
        int rows = 0;
        while (sqlite3_step(st) == SQLITE_ROW) ++rows;
        sqlite3_finalize(st);
        benchmark::DoNotOptimize(rows);
    }
}

// The kept month totals read whole, every value taken out as the month
// sheet's row set holds it (the month's text, the figures as numbers).
void BM_Baseline_ReadKeptMonthTotals(benchmark::State& state) {
    Bare bare(ledgerFile(state.range(0)));
    for (auto _ : state) {
        sqlite3_stmt* st = nullptr;
        sqlite3_prepare_v2(bare.db, "SELECT * FROM \"Month totals\" ORDER BY \"Month number\"", -1,
                           &st, nullptr);
        std::vector<std::pair<QString, std::vector<double>>> months;
        while (sqlite3_step(st) == SQLITE_ROW) {
            std::vector<double> figures;
            figures.reserve(23);
            for (int c = 2; c < sqlite3_column_count(st); ++c)
                figures.push_back(sqlite3_column_double(st, c));
            months.emplace_back(
                QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, 1))),
                std::move(figures));
        }
        sqlite3_finalize(st);
        benchmark::DoNotOptimize(months.data());
    }
}

// The month sheet's record source, its fields bound, the file open already
// (the daily window keeps it open for every other window).
void BM_RecordSource_OpenMonthTotals(benchmark::State& state) {
    QString path = ledgerFile(state.range(0));
    auto keeper = ledger::openStore(ledger::Connection{path});
    for (auto _ : state) {
        RecordSource data(QStringLiteral("Data1"));
        data.setDatabasePath(path);
        std::vector<std::unique_ptr<FakeField>> fields;
        for (const auto& column : schema::savedQueries()[0].columns)
            fields.push_back(std::make_unique<FakeField>(data, column));
        data.setSource(schema::kMonthTotals);
        data.open();
        benchmark::DoNotOptimize(data.rowCount());
    }
}

}  // namespace

// A staff register of `rows` members, as a combo list reads it on every row
// change of its window.
QString staffFile(int rows) {
    static QTemporaryDir dir;
    static std::map<int, QString> made;
    if (auto it = made.find(rows); it != made.end()) return it->second;
    QString path = dir.filePath(QStringLiteral("staff-%1.mdb").arg(rows));
    setup::writeDatabaseFile(path, false, false);
    Bare bare(path);
    sqlite3_exec(bare.db, "BEGIN", nullptr, nullptr, nullptr);
    for (int i = 0; i < rows; ++i) {
        const QByteArray sql = QStringLiteral(
                                   "INSERT INTO \"Materials forms of staff\" (\"Serial numbers\", "
                                   "Name, Password, \"Salary hour\", \"Overtime salary hour\") "
                                   "VALUES ('A%1', 'Member %1', 'pw%1', %2, %3)")
                                   .arg(i)
                                   .arg(80 + i % 20)
                                   .arg(100 + i % 30)
                                   .toUtf8();
        sqlite3_exec(bare.db, sql.constData(), nullptr, nullptr, nullptr);
    }
    sqlite3_exec(bare.db, "COMMIT", nullptr, nullptr, nullptr);
    made[rows] = path;
    return path;
}

// Time per listed row, so lists of different lengths compare.
void perRow(benchmark::State& state, int rows) {
    state.counters["per_row"] =
        benchmark::Counter(static_cast<double>(state.iterations()) * rows,
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

void BM_Baseline_SelectStaffRows(benchmark::State& state) {
    const int rows = static_cast<int>(state.range(0));
    Bare bare(staffFile(rows));
    for (auto _ : state) {
        sqlite3_stmt* st = nullptr;
        sqlite3_prepare_v2(bare.db, "SELECT * FROM \"Materials forms of staff\" ORDER BY rowid", -1,
                           &st, nullptr);
        std::vector<QStringList> out;
        while (sqlite3_step(st) == SQLITE_ROW) {
            QStringList row;
            for (int c = 0; c < sqlite3_column_count(st); ++c)
                row << QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, c)));
            out.push_back(row);
        }
        sqlite3_finalize(st);
        benchmark::DoNotOptimize(out.data());
    }
    perRow(state, rows);
}

// What a combo list (the wage window's name list) costs at each refresh.
void BM_RecordSource_ComboRefresh(benchmark::State& state) {
    const int rows = static_cast<int>(state.range(0));
    RecordSource staff(QStringLiteral("Data2"));
    staff.setDatabasePath(staffFile(rows));
    staff.setSource(schema::kStaff);
    staff.open();
    for (auto _ : state) {
        auto list = staff.rowsAsText();
        benchmark::DoNotOptimize(list.data());
    }
    perRow(state, rows);
}

// Ten years of a shop, a century, and three.
void ledgerSizes(benchmark::internal::Benchmark* benchmark) {
    benchmark->Arg(3000)->Arg(30000)->Arg(100000)->Unit(benchmark::kMillisecond);
}
BENCHMARK(BM_Baseline_SelectRowids)->Apply(ledgerSizes);
BENCHMARK(BM_Baseline_ConnectAndSelectRowids)->Apply(ledgerSizes);
BENCHMARK(BM_Baseline_ConnectAndReadFirstRow)->Apply(ledgerSizes);
BENCHMARK(BM_RecordSource_Open)->Apply(ledgerSizes);
BENCHMARK(BM_Baseline_SelectLikeNoMatch)->Apply(ledgerSizes);
BENCHMARK(BM_RecordSource_FindFirstNoMatch)->Apply(ledgerSizes);
BENCHMARK(BM_Baseline_SelectLeadingLikeNoMatch)->Apply(ledgerSizes);
BENCHMARK(BM_RecordSource_FindFirstLeadingWildcardNoMatch)->Apply(ledgerSizes);
BENCHMARK(BM_Baseline_SelectNoSuchDay)->Apply(ledgerSizes);
BENCHMARK(BM_RecordSource_FindNoSuchDay)->Apply(ledgerSizes);
BENCHMARK(BM_RecordSource_Refresh)->Apply(ledgerSizes);
BENCHMARK(BM_RecordSource_RefreshAfterAnotherProgram)->Apply(ledgerSizes);
BENCHMARK(BM_Baseline_InsertAndFindDay)->Apply(ledgerSizes);
BENCHMARK(BM_RecordSource_SaveNewDay)->Apply(ledgerSizes);
BENCHMARK(BM_Baseline_FirstSaveOfSession)->Apply(ledgerSizes);
BENCHMARK(BM_RecordSource_FirstSaveOfSession)->Apply(ledgerSizes);
BENCHMARK(BM_Baseline_FirstInquiryOfSession)->Apply(ledgerSizes);
BENCHMARK(BM_RecordSource_FirstInquiryOfSession)->Apply(ledgerSizes);
// A second or more per run at the larger sizes: a few runs each, not one.
void monthSizes(benchmark::internal::Benchmark* benchmark) {
    ledgerSizes(benchmark);
    benchmark->Iterations(4);
}
BENCHMARK(BM_Baseline_SelectMonthTotalsQuery)->Apply(monthSizes);
BENCHMARK(BM_Baseline_ReadKeptMonthTotals)->Apply(ledgerSizes);
BENCHMARK(BM_RecordSource_OpenMonthTotals)->Apply(ledgerSizes);
BENCHMARK(BM_Baseline_SelectStaffRows)->Arg(100)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_RecordSource_ComboRefresh)->Arg(100)->Unit(benchmark::kMicrosecond);
