// SPDX-License-Identifier: GPL-3.0-or-later
// The year at a glance on big ledgers, beside the bare month query it
// cannot do without. Ledgers of 3,000 days (ten years of a shop) and
// 100,000, every column of every day filled, two wage rows a day.
#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <QApplication>
#include <QDate>
#include <QTemporaryDir>
#include <map>

#include "charts/charts_windows.h"
#include "charts/year_at_a_glance.h"
#include "forms/workspace.h"
#include "interfaces/window_names.h"
#include "ledger/schema/schema.h"
#include "ledger/store/source_info.h"
#include "ledger/store/store.h"
#include "ledger/totals/month_totals.h"
#include "setup/schema_builder.h"

namespace {

namespace schema = ledger::schema;

QString dayText(int i) {
    const QDate day = QDate(1990, 1, 1).addDays(i);
    return QStringLiteral("%1/%2/%3").arg(day.year()).arg(day.month()).arg(day.day());
}

sqlite3_stmt* insertInto(sqlite3* db, const QString& table, const QStringList& columns) {
    QStringList names, marks;
    for (const QString& column : columns) {
        names << ledger::quoteName(column);
        marks << QStringLiteral("?");
    }
    const QByteArray sql = QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                               .arg(ledger::quoteName(table), names.join(','), marks.join(','))
                               .toUtf8();
    sqlite3_stmt* st = nullptr;
    sqlite3_prepare_v2(db, sql.constData(), -1, &st, nullptr);
    return st;
}

// A folder holding breakfast.mdb of `days` full days, made once per size.
QString ledgerFolder(int days) {
    static QTemporaryDir dir;
    static std::map<int, QString> made;
    if (auto it = made.find(days); it != made.end()) return it->second;
    const QString folder = dir.filePath(QString::number(days));
    QDir().mkpath(folder);
    const QString path = folder + QStringLiteral("/breakfast.mdb");
    ledger::writeDatabaseFile(path, false, false);
    sqlite3* db = nullptr;
    sqlite3_open(path.toUtf8().constData(), &db);
    sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);

    sqlite3_stmt* staff =
        insertInto(db, schema::kStaff, {"Name", "Salary hour", "Overtime salary hour"});
    for (const char* name : {"Ana", "Bo"}) {
        sqlite3_bind_text(staff, 1, name, -1, SQLITE_TRANSIENT);
        sqlite3_bind_double(staff, 2, 80);
        sqlite3_bind_double(staff, 3, 100);
        sqlite3_step(staff);
        sqlite3_reset(staff);
    }
    sqlite3_finalize(staff);

    QStringList columns;
    for (const auto& column : schema::findTable(schema::kLedger)->columns) columns << column.name;
    sqlite3_stmt* day = insertInto(db, schema::kLedger, columns);
    sqlite3_stmt* wage = insertInto(db, schema::kWages,
                                    {"Date", "Name", "Salary hour", "Overtime salary hour",
                                     "Main hour", "Work overtime", "Insurance", "Absent-Deduct"});
    for (int i = 0; i < days; ++i) {
        const QByteArray date = dayText(i).toUtf8();
        sqlite3_bind_text(day, 1, date.constData(), -1, SQLITE_TRANSIENT);
        for (int c = 2; c <= columns.size(); ++c)
            sqlite3_bind_double(day, c, ((i * 37 + c * 101) % 90000) / 100.0 + 10);
        sqlite3_step(day);
        sqlite3_reset(day);
        for (const char* name : {"Ana", "Bo"}) {
            sqlite3_bind_text(wage, 1, date.constData(), -1, SQLITE_TRANSIENT);
            sqlite3_bind_text(wage, 2, name, -1, SQLITE_TRANSIENT);
            const double values[] = {80, 100, 8, double(i % 3) * 0.5, 0, 0};
            for (int c = 0; c < 6; ++c) sqlite3_bind_double(wage, 3 + c, values[c]);
            sqlite3_step(wage);
            sqlite3_reset(wage);
        }
    }
    sqlite3_finalize(day);
    sqlite3_finalize(wage);
    sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
    sqlite3_close(db);
    made[days] = folder;
    return folder;
}

// The month sheet's saved query, read with bare SQLite: the least any
// picture of the months costs today.
void BM_Baseline_SelectMonthTotals(benchmark::State& state) {
    const QByteArray path = (ledgerFolder(state.range(0)) + "/breakfast.mdb").toUtf8();
    sqlite3* db = nullptr;
    sqlite3_open(path.constData(), &db);
    for (auto _ : state) {
        sqlite3_stmt* st = nullptr;
        sqlite3_prepare_v2(db, "SELECT * FROM \"daily settlement of accounts -Inquiry\"", -1, &st,
                           nullptr);
        int rows = 0;
        while (sqlite3_step(st) == SQLITE_ROW) ++rows;
        sqlite3_finalize(st);
        benchmark::DoNotOptimize(rows);
    }
    sqlite3_close(db);
}

// The salary window's saved query of month wage totals, bare.
void BM_Baseline_SelectWageTotals(benchmark::State& state) {
    const QByteArray path = (ledgerFolder(state.range(0)) + "/breakfast.mdb").toUtf8();
    sqlite3* db = nullptr;
    sqlite3_open(path.constData(), &db);
    for (auto _ : state) {
        sqlite3_stmt* st = nullptr;
        sqlite3_prepare_v2(db, "SELECT * FROM \"\xE6\x9F\xA5\xE8\xA9\xA2\"", -1, &st, nullptr);
        int rows = 0;
        while (sqlite3_step(st) == SQLITE_ROW) ++rows;
        sqlite3_finalize(st);
        benchmark::DoNotOptimize(rows);
    }
    sqlite3_close(db);
}

// Everything the pictures need from the books, read once.
void BM_BooksAtAGlance_Read(benchmark::State& state) {
    auto store = ledger::openStore({ledgerFolder(state.range(0)) + "/breakfast.mdb"});
    for (auto _ : state)
        benchmark::DoNotOptimize(charts::BooksAtAGlance::read(*store).latestYear());
}

// The core's one reading of the month totals.
void BM_MonthTotals_Read(benchmark::State& state) {
    auto store = ledger::openStore({ledgerFolder(state.range(0)) + "/breakfast.mdb"});
    for (auto _ : state) benchmark::DoNotOptimize(ledger::readMonthTotals(*store).size());
}

// The window opened as the user opens it: the books read, the three
// pictures drawn, the window shown and painted once, then closed.
void BM_YearAtAGlance_Open(benchmark::State& state) {
    ledger::ui::Workspace workspace;
    workspace.setBooks(ledgerFolder(state.range(0)) + QStringLiteral("/breakfast.mdb"));
    charts::registerWindows();
    for (auto _ : state) {
        ledger::ui::FormWindow* window =
            ledger::ui::FormWindow::loadWindow(windows::kYearAtAGlance);
        window->show();
        benchmark::DoNotOptimize(window->grab().width());
        state.PauseTiming();
        window->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        state.ResumeTiming();
    }
}

void sizes(benchmark::internal::Benchmark* benchmark) {
    benchmark->Arg(3000)->Arg(100000)->Unit(benchmark::kMillisecond)->Iterations(4);
}

}  // namespace

BENCHMARK(BM_Baseline_SelectMonthTotals)->Apply(sizes);
BENCHMARK(BM_MonthTotals_Read)->Apply(sizes);
BENCHMARK(BM_Baseline_SelectWageTotals)->Apply(sizes);
BENCHMARK(BM_BooksAtAGlance_Read)->Apply(sizes);
BENCHMARK(BM_YearAtAGlance_Open)->Apply(sizes);

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
