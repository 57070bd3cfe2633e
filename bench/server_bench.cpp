// SPDX-License-Identifier: GPL-3.0-or-later
// Record sources on a PostgreSQL server, each next to libpq sending the same
// bare query in the same run. Needs a server database: the address in
// TALLOWBROOK_TEST_POSTGRES (scripts/test-postgres.sh makes one); a schema
// per ledger size is made there, afresh at every run.
#include <benchmark/benchmark.h>
#include <libpq-fe.h>

#include <QString>
#include <map>
#include <memory>

#include "full_ledger.h"
#include "ledger/base/ledger_error.h"
#include "ledger/records/field_binding.h"
#include "ledger/records/record_source.h"
#include "ledger/schema/schema.h"
#include "ledger/store/postgres/server_connection.h"
#include "ledger/store/source_info.h"
#include "ledger/store/store.h"
#include "setup/postgres/server_setup.h"

namespace {

using ledger::RecordSource;
namespace schema = ledger::schema;

// A bound field without a widget.
struct Field : ledger::FieldBinding {
    Field(RecordSource& source, QString column) : source(source), column(std::move(column)) {
        source.bind(this);
    }
    ~Field() override { source.unbind(this); }
    QString boundColumn() const override { return column; }
    void showValue(const QString& value) override { text = value, changed = false; }
    bool isChanged() const override { return changed; }
    QString editedText() const override { return text; }
    void clearChanged() override { changed = false; }
    void type(const QString& value) { text = value, changed = true; }
    RecordSource& source;
    QString column;
    QString text;
    bool changed = false;
};

QString baseAddress() { return qEnvironmentVariable("TALLOWBROOK_TEST_POSTGRES"); }

QString ledgerName() { return ledger::quoteName(schema::kLedger); }

// One schema per size, filled once by the server itself: consecutive
// calendar days from 1990/1/1 written as the daily window writes them, every
// amount a figure with cents.
QString ledgerAddress(int rows) {
    static std::map<int, QString> made;
    if (auto it = made.find(rows); it != made.end()) return it->second;
    const QString base = baseAddress();
    const QString name = QStringLiteral("bench_%1").arg(rows);
    ledger::ServerConnection admin(base);
    admin.runScript(QStringLiteral("DROP SCHEMA IF EXISTS %1 CASCADE; CREATE SCHEMA %1").arg(name),
                    "bench schema");
    const QString address =
        base + (base.contains('?') ? '&' : '?') + QStringLiteral("options=-csearch_path%3D") + name;
    setup::createServerSchema(address, false, false);
    QStringList names{ledger::quoteName("Date")},
        values{
            "extract(year FROM d)::int || '/' || extract(month FROM d)::int || '/' || "
            "extract(day FROM d)::int"};
    int c = 2;
    for (const auto& column : schema::findTable(schema::kLedger)->columns) {
        if (column.name == "Date") continue;
        names << ledger::quoteName(column.name);
        values << QStringLiteral("((i * 37 + %1 * 101) % 90000) / 100.0 + 10").arg(c++);
    }
    admin.runScript(QStringLiteral("INSERT INTO %1.%2 (%3) SELECT %4 FROM generate_series(0, %5) "
                                   "AS i, LATERAL (SELECT DATE '1990-01-01' + i AS d) AS day; "
                                   "ANALYZE %1.%2")
                        .arg(name, ledgerName(), names.join(','), values.join(','))
                        .arg(rows - 1),
                    "bench rows");
    made[rows] = address;
    return address;
}

// No day of any ledger here has anything LIKE the pattern, whose wildcard
// makes the record source read every Date (a plain day text is looked up
// through the Date index instead).
constexpr auto kNoSuchDays = "1800/*";
constexpr auto kNoSuchDaysLike = "1800/%";

struct Bare {
    PGconn* conn;
    explicit Bare(const QString& address) : conn(PQconnectdb(address.toUtf8().constData())) {}
    ~Bare() { PQfinish(conn); }
    void query(const QByteArray& sql, std::initializer_list<const char*> values = {}) {
        std::vector<const char*> parameters(values);
        PGresult* r = PQexecParams(conn, sql.constData(), static_cast<int>(parameters.size()),
                                   nullptr, parameters.data(), nullptr, nullptr, 0);
        benchmark::DoNotOptimize(PQntuples(r));
        PQclear(r);
    }
};

bool skipWithoutServer(benchmark::State& state) {
    if (!baseAddress().isEmpty()) return false;
    state.SkipWithError("TALLOWBROOK_TEST_POSTGRES is not set: no server to measure");
    return true;
}

void BM_Baseline_SelectKeys(benchmark::State& state) {
    if (skipWithoutServer(state)) return;
    Bare bare(ledgerAddress(state.range(0)));
    const QByteArray sql = "SELECT \"Row key\" FROM " + ledgerName().toUtf8() + " ORDER BY 1";
    for (auto _ : state) bare.query(sql);
}

// What showing the first day needs at least: its row, read whole.
void BM_Baseline_ReadFirstRow(benchmark::State& state) {
    if (skipWithoutServer(state)) return;
    Bare bare(ledgerAddress(state.range(0)));
    const QByteArray sql = "SELECT * FROM " + ledgerName().toUtf8() + " ORDER BY 1 LIMIT 1";
    for (auto _ : state) bare.query(sql);
}

// The connection stays open, as the main window keeps it for every other;
// every column is bound, as in the daily window, so the first row is read.
void BM_RecordSource_Open(benchmark::State& state) {
    if (skipWithoutServer(state)) return;
    const QString address = ledgerAddress(state.range(0));
    auto keeper = ledger::openStore(ledger::Connection{address});
    for (auto _ : state) {
        RecordSource data(QStringLiteral("Data1"));
        std::vector<std::unique_ptr<Field>> fields;
        for (const auto& column : schema::findTable(schema::kLedger)->columns)
            fields.push_back(std::make_unique<Field>(data, column.name));
        data.setDatabasePath(address);
        data.setSource(schema::kLedger);
        data.open();
        benchmark::DoNotOptimize(data.hasCurrentRow());
    }
}

// The server's own ILIKE with the same wildcard over the same column.
void BM_Baseline_SelectLikeNoMatch(benchmark::State& state) {
    if (skipWithoutServer(state)) return;
    Bare bare(ledgerAddress(state.range(0)));
    const QByteArray sql = "SELECT \"Row key\" FROM " + ledgerName().toUtf8() +
                           " WHERE \"Date\" ILIKE $1 ORDER BY \"Row key\" LIMIT 1";
    for (auto _ : state) bare.query(sql, {kNoSuchDaysLike});
}

// What the record source's find itself must read: criteria are evaluated
// in the program's own code, so the column travels whole.
void BM_Baseline_SelectDates(benchmark::State& state) {
    if (skipWithoutServer(state)) return;
    Bare bare(ledgerAddress(state.range(0)));
    const QByteArray sql =
        "SELECT \"Row key\", \"Date\" FROM " + ledgerName().toUtf8() + " ORDER BY 1";
    for (auto _ : state) bare.query(sql);
}

void BM_RecordSource_FindFirstNoMatch(benchmark::State& state) {
    if (skipWithoutServer(state)) return;
    RecordSource data(QStringLiteral("Data1"));
    Field date(data, "Date");
    data.setDatabasePath(ledgerAddress(state.range(0)));
    data.setSource(schema::kLedger);
    data.open();
    for (auto _ : state) {
        data.findFirst(QStringLiteral("Date like  '%1'").arg(kNoSuchDays));
        benchmark::DoNotOptimize(data.noMatch());
    }
}

// A day no ledger here holds before the benchmark stores it: a new one for
// every iteration, so each Save stores a new day.
QByteArray newDay(int n) { return QStringLiteral("2100/1/%1").arg(n).toUtf8(); }

void removeNewDays(const QString& address) {
    Bare(address).query("DELETE FROM " + ledgerName().toUtf8() + " WHERE \"Date\" LIKE '2100/%'");
}

// Save of a new day, bare: the row stored, found again by its date, and
// read to be shown.
void BM_Baseline_InsertAndFindDay(benchmark::State& state) {
    if (skipWithoutServer(state)) return;
    const QString address = ledgerAddress(state.range(0));
    Bare bare(address);
    const QByteArray insert = "INSERT INTO " + ledgerName().toUtf8() +
                              " (\"Date\", \"Rent\") VALUES ($1, $2) RETURNING \"Row key\"";
    const QByteArray find = "SELECT \"Row key\" FROM " + ledgerName().toUtf8() +
                            " WHERE \"Date\" = $1 ORDER BY \"Row key\" LIMIT 1";
    const QByteArray read = "SELECT * FROM " + ledgerName().toUtf8() + " WHERE \"Date\" = $1";
    int n = 0;
    for (auto _ : state) {
        const QByteArray day = newDay(++n);
        bare.query(insert, {day.constData(), "123.5"});
        bare.query(find, {day.constData()});
        bare.query(read, {day.constData()});
    }
    removeNewDays(address);
}

// Save of a new day as the daily window does it: New, the date and a figure
// typed, Refresh (which stores the day and reads the keys again), then the
// find of its date.
void BM_RecordSource_SaveNewDay(benchmark::State& state) {
    if (skipWithoutServer(state)) return;
    const QString address = ledgerAddress(state.range(0));
    RecordSource data(QStringLiteral("Data1"));
    Field date(data, "Date"), rent(data, "Rent");
    data.setDatabasePath(address);
    data.setSource(schema::kLedger);
    data.open();
    int n = 0;
    for (auto _ : state) {
        const QString day = QString::fromUtf8(newDay(++n));
        data.addNew();
        date.type(day);
        rent.type("123.5");
        data.refresh();
        ledger::guardedFind(data, QStringLiteral("Date like  '%1'").arg(day));
        benchmark::DoNotOptimize(data.currentIndex());
    }
    data.close();
    removeNewDays(address);
}

// A day in the middle of the ledger, as Inquiry looks one up.
QByteArray middleDay(int rows) { return bench::dayText(rows / 2).toUtf8(); }

// The first Inquiry of a session, bare: the day's row by its date.
void BM_Baseline_FirstInquiryOfSession(benchmark::State& state) {
    if (skipWithoutServer(state)) return;
    Bare bare(ledgerAddress(state.range(0)));
    const QByteArray day = middleDay(state.range(0));
    const QByteArray sql = "SELECT * FROM " + ledgerName().toUtf8() +
                           " WHERE \"Date\" = $1 ORDER BY \"Row key\" LIMIT 1";
    for (auto _ : state) bare.query(sql, {day.constData()});
}

// The same on a record source just opened on the first day (the books
// already open, as after login): its first find.
void BM_RecordSource_FirstInquiryOfSession(benchmark::State& state) {
    if (skipWithoutServer(state)) return;
    const QString address = ledgerAddress(state.range(0));
    auto keeper = ledger::openStore(ledger::Connection{address});
    const QString day = QString::fromUtf8(middleDay(state.range(0)));
    for (auto _ : state) {
        state.PauseTiming();
        auto data = std::make_unique<RecordSource>(QStringLiteral("Data1"));
        auto date = std::make_unique<Field>(*data, "Date");
        data->setDatabasePath(address);
        data->setSource(schema::kLedger);
        data->open();
        state.ResumeTiming();
        ledger::guardedFind(*data, QStringLiteral("Date like  '%1'").arg(day));
        benchmark::DoNotOptimize(data->currentIndex());
        state.PauseTiming();
        date.reset();
        data.reset();
        state.ResumeTiming();
    }
}

void BM_Baseline_SelectMonthTotals(benchmark::State& state) {
    if (skipWithoutServer(state)) return;
    Bare bare(ledgerAddress(state.range(0)));
    const QByteArray sql = "SELECT * FROM " + ledger::quoteName(schema::kMonthTotals).toUtf8();
    for (auto _ : state) bare.query(sql);
}

void BM_RecordSource_OpenMonthTotals(benchmark::State& state) {
    if (skipWithoutServer(state)) return;
    const QString address = ledgerAddress(state.range(0));
    auto keeper = ledger::openStore(ledger::Connection{address});
    for (auto _ : state) {
        RecordSource data(QStringLiteral("Data1"));
        Field month(data, "Date per month");
        data.setDatabasePath(address);
        data.setSource(schema::kMonthTotals);
        data.open();
        benchmark::DoNotOptimize(data.rowCount());
    }
}

void ledgerSizes(benchmark::internal::Benchmark* benchmark) {
    benchmark->Arg(3000)->Arg(100000)->Unit(benchmark::kMillisecond);
}
BENCHMARK(BM_Baseline_SelectKeys)->Apply(ledgerSizes);
BENCHMARK(BM_Baseline_ReadFirstRow)->Apply(ledgerSizes);
BENCHMARK(BM_RecordSource_Open)->Apply(ledgerSizes);
BENCHMARK(BM_Baseline_SelectLikeNoMatch)->Apply(ledgerSizes);
BENCHMARK(BM_Baseline_SelectDates)->Apply(ledgerSizes);
BENCHMARK(BM_RecordSource_FindFirstNoMatch)->Apply(ledgerSizes);
BENCHMARK(BM_Baseline_InsertAndFindDay)->Apply(ledgerSizes);
BENCHMARK(BM_RecordSource_SaveNewDay)->Apply(ledgerSizes);
BENCHMARK(BM_Baseline_FirstInquiryOfSession)->Apply(ledgerSizes);
BENCHMARK(BM_RecordSource_FirstInquiryOfSession)->Apply(ledgerSizes);
BENCHMARK(BM_Baseline_SelectMonthTotals)->Apply(ledgerSizes);
BENCHMARK(BM_RecordSource_OpenMonthTotals)->Apply(ledgerSizes);

}  // namespace
