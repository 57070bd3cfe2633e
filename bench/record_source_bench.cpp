// Record sources on a big ledger, each next to bare SQLite doing the same work
// in the same run. Counters: "ratio" = this benchmark's time per iteration
// over its baseline's (run the baseline first; both print).
#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <QDir>
#include <QTemporaryDir>
#include <map>

#include "criteria.h"
#include "record_source.h"
#include "schema.h"
#include "schema_builder.h"

namespace {

using ledger::RecordSource;
namespace schema = ledger::schema;

// One ledger file per size, made once: days spread over the years, amounts
// in every tenth column.
QString ledgerFile(int rows) {
    static QTemporaryDir dir;
    static std::map<int, QString> made;
    if (auto it = made.find(rows); it != made.end()) return it->second;
    QString path = dir.filePath(QStringLiteral("ledger-%1.mdb").arg(rows));
    ledger::writeDatabaseFile(path, false, false);
    sqlite3* db = nullptr;
    sqlite3_open(path.toUtf8().constData(), &db);
    sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
    sqlite3_stmt* st = nullptr;
    sqlite3_prepare_v2(db,
                       "INSERT INTO \"daily settlement of accounts\" (Date, Rent, Turnover, "
                       "\"Small incidental money\") VALUES (?,?,?,?)",
                       -1, &st, nullptr);
    for (int i = 0; i < rows; ++i) {
        QByteArray day = QStringLiteral("%1/%2/%3")
                             .arg(1990 + i / 336)
                             .arg(1 + (i / 28) % 12)
                             .arg(1 + i % 28)
                             .toUtf8();
        sqlite3_bind_text(st, 1, day.constData(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_double(st, 2, 100 + i % 7);
        sqlite3_bind_double(st, 3, 2000 + i % 113);
        sqlite3_bind_double(st, 4, 20);
        sqlite3_step(st);
        sqlite3_reset(st);
    }
    sqlite3_finalize(st);
    sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
    sqlite3_close(db);
    made[rows] = path;
    return path;
}

struct Bare {
    sqlite3* db = nullptr;
    explicit Bare(const QString& path) { sqlite3_open(path.toUtf8().constData(), &db); }
    ~Bare() { sqlite3_close(db); }
};

// LIKE-like function for the baseline: the same evaluator, called by SQLite.
void likeFunction(sqlite3_context* ctx, int, sqlite3_value** argv) {
    const auto* value = reinterpret_cast<const char*>(sqlite3_value_text(argv[0]));
    const auto* pattern = reinterpret_cast<const char*>(sqlite3_value_text(argv[1]));
    sqlite3_result_int(
        ctx, value && pattern &&
                 ledger::likeMatches(QString::fromUtf8(value), QString::fromUtf8(pattern)));
}

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

void BM_RecordSource_Open(benchmark::State& state) {
    QString path = ledgerFile(state.range(0));
    for (auto _ : state) {
        RecordSource data(QStringLiteral("Data1"));
        data.setDatabasePath(path);
        data.setSource(schema::kLedger);
        data.open();
        benchmark::DoNotOptimize(data.rowCount());
    }
}

void BM_Baseline_SelectLikeNoMatch(benchmark::State& state) {
    Bare bare(ledgerFile(state.range(0)));
    sqlite3_create_function(bare.db, "ledger_like", 2, SQLITE_UTF8, nullptr, likeFunction, nullptr,
                            nullptr);
    for (auto _ : state) {
        sqlite3_stmt* st = nullptr;
        sqlite3_prepare_v2(bare.db,
                           "SELECT rowid FROM \"daily settlement of accounts\" WHERE "
                           "ledger_like(Date, '2099/1/1') LIMIT 1",
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
        data.findFirst(QStringLiteral("Date like  '2099/1/1'"));
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

void BM_Baseline_SelectMonthTotals(benchmark::State& state) {
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

void BM_RecordSource_OpenMonthTotals(benchmark::State& state) {
    QString path = ledgerFile(state.range(0));
    for (auto _ : state) {
        RecordSource data(QStringLiteral("Data1"));
        data.setDatabasePath(path);
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
    ledger::writeDatabaseFile(path, false, false);
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
    state.counters["per_row"] = benchmark::Counter(
        static_cast<double>(state.iterations()) * rows,
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

BENCHMARK(BM_Baseline_SelectRowids)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RecordSource_Open)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Baseline_SelectLikeNoMatch)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RecordSource_FindFirstNoMatch)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RecordSource_Refresh)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Baseline_SelectMonthTotals)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RecordSource_OpenMonthTotals)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Baseline_SelectStaffRows)->Arg(100)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_RecordSource_ComboRefresh)->Arg(100)->Unit(benchmark::kMicrosecond);
