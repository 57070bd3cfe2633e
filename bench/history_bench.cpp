// SPDX-License-Identifier: GPL-3.0-or-later
// What the books' history costs a Save: a day's Save and a wage Save on a
// ledger of 100,000 days whose books keep their history (second argument
// 1), beside the very same work on the same books with the history's
// triggers dropped (0), the baseline. Each Save commits, the disk's sync
// included; the CPU column leaves the sync out.

#include <benchmark/benchmark.h>

#include <QFile>
#include <QTemporaryDir>
#include <map>
#include <memory>

#include "fake_field.h"
#include "full_ledger.h"
#include "ledger/records/record_source.h"
#include "ledger/records/wage_posting.h"
#include "ledger/schema/schema.h"
#include "ledger/store/sqlite/sqlite_statements.h"
#include "ledger/store/who_writes.h"
#include "setup/schema_builder.h"

namespace {

using ledger::RecordSource;
namespace schema = ledger::schema;

// The ledger of `days` days and two wage rows a day, made once; a copy of it
// for each benchmark, with or without the history's triggers.
QString booksFor(const benchmark::State& state) {
    static QTemporaryDir dir;
    static std::map<int, QString> made;
    const int days = int(state.range(0));
    const bool history = state.range(1) != 0;
    if (made.find(days) == made.end()) {
        const QString path = dir.filePath(QStringLiteral("ledger-%1.mdb").arg(days));
        bench::writeFullLedger(path, {days, 5, 2 * days, {}, true});
        made[days] = path;
    }
    static int copies = 0;
    const QString copy = dir.filePath(QStringLiteral("copy-%1.mdb").arg(++copies));
    QFile::copy(made[days], copy);
    if (!history) {
        ledger::statements::Connection books(copy);
        setup::dropHistoryTriggers(books);
    }
    return copy;
}

// The day's Save as the daily window makes it: New, the date and the day's
// 43 figures typed, Refresh (which stores the day), the find of its date.
void BM_SaveOfADay(benchmark::State& state) {
    ledger::setStaffOnDuty(QStringLiteral("Marta"));
    RecordSource data(QStringLiteral("Data1"));
    std::vector<std::unique_ptr<FakeField>> fields;
    for (const auto& column : schema::findTable(schema::kLedger)->columns)
        fields.push_back(std::make_unique<FakeField>(data, column.name));
    data.setDatabasePath(booksFor(state));
    data.setSource(schema::kLedger);
    data.open();
    int n = 0;
    for (auto _ : state) {
        const QString day = QStringLiteral("2400/1/%1").arg(++n);
        data.addNew();
        fields.front()->type(day);
        for (size_t c = 1; c < fields.size(); ++c) fields[c]->type(QStringLiteral("12.5"));
        data.refresh();
        ledger::guardedFind(data, QStringLiteral("Date like  '%1'").arg(day));
        benchmark::DoNotOptimize(data.currentIndex());
    }
}

// The wage window's Save: a new wage row of 11 values stored with its wage
// added to the day's Personnel rate, in one transaction.
void BM_SaveOfAWage(benchmark::State& state) {
    ledger::setStaffOnDuty(QStringLiteral("Marta"));
    RecordSource days(QStringLiteral("Days")), wages(QStringLiteral("Wages"));
    FakeField date(days, QStringLiteral("Date"));
    const QStringList columns{"Date",          "Serial numbers",       "Name",
                              "Salary hour",   "Overtime salary hour", "Main hour",
                              "Work overtime", "Ask for leave",        "Absent",
                              "Insurance",     "Absent-Deduct"};
    const QStringList texts{"2200/1/1", "A00001", "Member 1", "180",  "240", "8",
                            "1",        "No",     "No",       "12.5", "0"};
    std::vector<std::unique_ptr<FakeField>> fields;
    for (const QString& column : columns)
        fields.push_back(std::make_unique<FakeField>(wages, column));
    const QString books = booksFor(state);
    for (RecordSource* source : {&days, &wages}) source->setDatabasePath(books);
    days.setSource(schema::kLedger);
    wages.setSource(schema::kWages);
    days.open();
    wages.open();
    // The last day of the ledger, as the daily window shows it.
    const QString day = bench::dayText(int(state.range(0)) - 1);
    ledger::guardedFind(days, QStringLiteral("Date like  '%1'").arg(day));
    if (date.text != day) state.SkipWithError("the day is not found");
    for (auto _ : state) {
        wages.addNew();
        for (size_t c = 0; c < fields.size(); ++c)
            fields[c]->type(c == 0 ? day : texts[qsizetype(c)]);
        ledger::storeWageWithDay(wages, days, day, 1668);
    }
}

void withAndWithoutHistory(benchmark::internal::Benchmark* benchmark) {
    benchmark->ArgNames({"days", "history"})
        ->Args({100000, 0})
        ->Args({100000, 1})
        ->Unit(benchmark::kMillisecond)
        ->MinTime(2.0);
}

BENCHMARK(BM_SaveOfADay)->Apply(withAndWithoutHistory);
BENCHMARK(BM_SaveOfAWage)->Apply(withAndWithoutHistory);

}  // namespace
