// SPDX-License-Identifier: GPL-3.0-or-later
// The year at a glance and the year report on a real shop's books, beside
// bare reads of the same rows. Ledgers of 3,000 days (ten years of a shop)
// and 100,000, every column of every day filled, 5,000 members of staff and
// 20,000 wage rows in a real shop's shape: two a month per member, spread
// over the months, so 10,000 employee-months and more (full_ledger.h).
#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <QApplication>
#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <map>

#include "charts/charts_windows.h"
#include "charts/year_at_a_glance.h"
#include "forms/workspace.h"
#include "full_ledger.h"
#include "interfaces/window_names.h"
#include "ledger/store/store.h"
#include "ledger/totals/month_totals.h"

namespace {

constexpr int kStaff = 5000;
constexpr int kWageRows = 20000;

// A folder holding breakfast.mdb of `days` days, made once per size.
QString ledgerFolder(int days) {
    static QTemporaryDir dir;
    static std::map<int, QString> made;
    if (auto it = made.find(days); it != made.end()) return it->second;
    const QString folder = dir.filePath(QString::number(days));
    QDir().mkpath(folder);
    bench::writeFullLedger(folder + QStringLiteral("/breakfast.mdb"),
                           {days, kStaff, kWageRows, QString(), true});
    made[days] = folder;
    return folder;
}

QByteArray fileOf(int days) { return (ledgerFolder(days) + "/breakfast.mdb").toUtf8(); }

// Every row a statement gives, each column read as text or a number.
int readAll(sqlite3* db, const char* sql) {
    sqlite3_stmt* st = nullptr;
    sqlite3_prepare_v2(db, sql, -1, &st, nullptr);
    int rows = 0;
    while (sqlite3_step(st) == SQLITE_ROW) {
        for (int c = 0; c < sqlite3_column_count(st); ++c)
            benchmark::DoNotOptimize(sqlite3_column_type(st, c) == SQLITE_TEXT
                                         ? static_cast<const void*>(sqlite3_column_text(st, c))
                                         : static_cast<const void*>(nullptr));
        ++rows;
    }
    sqlite3_finalize(st);
    return rows;
}

// The month sheet's kept totals, read bare.
void BM_Baseline_SelectMonthTotals(benchmark::State& state) {
    sqlite3* db = nullptr;
    sqlite3_open(fileOf(int(state.range(0))).constData(), &db);
    for (auto _ : state) benchmark::DoNotOptimize(readAll(db, "SELECT * FROM \"Month totals\""));
    sqlite3_close(db);
}

// Everything the pictures need from the books, read bare with SQLite: the
// kept month totals, the date of every day and every wage row's date,
// rates, hours, deductions and monthly pay. The least the year at a glance
// can cost before it draws anything.
void BM_Baseline_YearReadsBare(benchmark::State& state) {
    sqlite3* db = nullptr;
    sqlite3_open(fileOf(int(state.range(0))).constData(), &db);
    for (auto _ : state) {
        benchmark::DoNotOptimize(readAll(db, "SELECT * FROM \"Month totals\""));
        benchmark::DoNotOptimize(
            readAll(db, "SELECT rowid, Date FROM \"daily settlement of accounts\""));
        benchmark::DoNotOptimize(
            readAll(db,
                    "SELECT Date, \"Salary hour\", \"Overtime salary hour\", \"Main hour\", \"Work "
                    "overtime\", Insurance, \"Absent-Deduct\", \"Monthly pay\" FROM \"The staff "
                    "calculate wages\""));
    }
    sqlite3_close(db);
}

// The core's one reading of the month totals.
void BM_MonthTotals_Read(benchmark::State& state) {
    auto store = ledger::openStore({ledgerFolder(int(state.range(0))) + "/breakfast.mdb"});
    for (auto _ : state) benchmark::DoNotOptimize(ledger::readMonthTotals(*store).size());
}

// Everything the pictures need from the books, read once.
void BM_BooksAtAGlance_Read(benchmark::State& state) {
    auto store = ledger::openStore({ledgerFolder(int(state.range(0))) + "/breakfast.mdb"});
    for (auto _ : state)
        benchmark::DoNotOptimize(charts::BooksAtAGlance::read(*store).latestYear());
}

// The window opened as the user opens it: the books read, the three
// pictures drawn, the window shown and painted once, then closed.
void BM_YearAtAGlance_Open(benchmark::State& state) {
    forms::Workspace workspace;
    workspace.setBooks(ledgerFolder(int(state.range(0))) + QStringLiteral("/breakfast.mdb"));
    charts::registerWindows();
    for (auto _ : state) {
        forms::FormWindow* window = forms::FormWindow::loadWindow(windows::kYearAtAGlance);
        window->show();
        benchmark::DoNotOptimize(window->grab().width());
        state.PauseTiming();
        window->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        state.ResumeTiming();
    }
}

// `tallowbrook-db ARGUMENTS` run as the shop runs it, to its end.
void runTool(benchmark::State& state, const QStringList& arguments) {
    QProcess tool;
    tool.setProcessEnvironment([] {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        return environment;
    }());
    tool.start(QStringLiteral(TALLOWBROOK_DB_PATH), arguments);
    if (!tool.waitForFinished(120000) || tool.exitCode() != 0) {
        state.SkipWithError(tool.readAllStandardError().constData());
        return;
    }
}

// The tool's start and a look at the books, for the report to stand beside.
void BM_Baseline_ToolWhere(benchmark::State& state) {
    for (auto _ : state) runTool(state, {QStringLiteral("--where")});
}

// tallowbrook-db report: the year on A4 pages, as a PDF.
void BM_Tool_Report(benchmark::State& state) {
    const QString books = ledgerFolder(int(state.range(0))) + QStringLiteral("/breakfast.mdb");
    QTemporaryDir out;
    for (auto _ : state)
        runTool(state, {QStringLiteral("report"), books, QStringLiteral("--output"),
                        out.filePath(QStringLiteral("year.pdf"))});
}

void sizes(benchmark::internal::Benchmark* benchmark) {
    benchmark->Arg(3000)->Arg(100000)->Unit(benchmark::kMillisecond)->Iterations(4);
}

}  // namespace

BENCHMARK(BM_Baseline_SelectMonthTotals)->Apply(sizes);
BENCHMARK(BM_MonthTotals_Read)->Apply(sizes);
BENCHMARK(BM_Baseline_YearReadsBare)->Apply(sizes);
BENCHMARK(BM_BooksAtAGlance_Read)->Apply(sizes);
BENCHMARK(BM_YearAtAGlance_Open)->Apply(sizes);
BENCHMARK(BM_Baseline_ToolWhere)->Unit(benchmark::kMillisecond)->Iterations(4);
BENCHMARK(BM_Tool_Report)->Apply(sizes);

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
