// SPDX-License-Identifier: GPL-3.0-or-later
// Amount parse and amount text per call, and a criterion's match per row, each
// next to the bare library call doing the same work in the same run. Every
// benchmark reports our time per call, the baseline's, and their ratio.

#include <benchmark/benchmark.h>

#include <QString>
#include <QVariant>
#include <charconv>
#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

#include "ledger/amount/amount.h"
#include "ledger/query/criteria.h"

namespace {

using Clock = std::chrono::steady_clock;

// Runs a batch of our calls and a batch of baseline calls in every iteration,
// times both, and leaves the ratio in the counters. The benchmark's own time
// is ours alone (manual time).
template <typename Ours, typename Baseline>
void compareWithBaseline(benchmark::State& state, std::size_t batch, Ours ours, Baseline baseline) {
    double oursSeconds = 0;
    double baselineSeconds = 0;
    std::int64_t calls = 0;
    for (auto _ : state) {
        const auto start = Clock::now();
        for (std::size_t i = 0; i < batch; ++i) ours(i);
        const auto middle = Clock::now();
        for (std::size_t i = 0; i < batch; ++i) baseline(i);
        const auto end = Clock::now();
        const double oursElapsed = std::chrono::duration<double>(middle - start).count();
        oursSeconds += oursElapsed;
        baselineSeconds += std::chrono::duration<double>(end - middle).count();
        calls += static_cast<std::int64_t>(batch);
        state.SetIterationTime(oursElapsed);
    }
    state.counters["ns_per_call"] = oursSeconds * 1e9 / static_cast<double>(calls);
    state.counters["baseline_ns_per_call"] = baselineSeconds * 1e9 / static_cast<double>(calls);
    state.counters["ratio"] = baselineSeconds > 0 ? oursSeconds / baselineSeconds : 0;
    state.SetItemsProcessed(calls);
}

// Figures as the ledger's fields hold them.
const std::vector<std::string>& amountTexts() {
    static const std::vector<std::string> texts = {"1234.5", "12",      "0.3",   "-3",    "99.99",
                                                   "100000", "0.05",    "18000", "250.5", "7",
                                                   "1E+15",  "1200.75", "35",    "0"};
    return texts;
}

void BM_AmountParse(benchmark::State& state) {
    const std::vector<std::string>& ascii = amountTexts();
    std::vector<QString> fields;
    for (const std::string& text : ascii) fields.push_back(QString::fromStdString(text));
    const std::size_t n = fields.size();
    compareWithBaseline(
        state, 1024,
        [&](std::size_t i) { benchmark::DoNotOptimize(ledger::parseAmount(fields[i % n])); },
        [&](std::size_t i) {
            const std::string& text = ascii[i % n];
            double value = 0;
            std::from_chars(text.data(), text.data() + text.size(), value);
            benchmark::DoNotOptimize(value);
        });
}
BENCHMARK(BM_AmountParse)->UseManualTime();

void BM_AmountText(benchmark::State& state) {
    const std::vector<double> values = {
        1234.5, 12,    0.1 + 0.2, -3,     99.99,   1e5,     1.0 / 3,
        18000,  250.5, 1e15,      1.5e16, 0.00001, 1200.75, 3.14159265358979};
    const std::size_t n = values.size();
    compareWithBaseline(
        state, 1024,
        [&](std::size_t i) { benchmark::DoNotOptimize(ledger::amountText(values[i % n])); },
        [&](std::size_t i) {
            char buffer[32];
            auto result = std::to_chars(buffer, buffer + sizeof buffer, values[i % n],
                                        std::chars_format::general, 15);
            // the baseline also hands back a QString, as a field needs one
            benchmark::DoNotOptimize(
                QString::fromLatin1(buffer, static_cast<qsizetype>(result.ptr - buffer)));
        });
}
BENCHMARK(BM_AmountText)->UseManualTime();

// A ledger's day texts, one row each: 2001/1/1 to 2028/12/28.
std::vector<QString> dayTexts() {
    std::vector<QString> days;
    for (int year = 2001; year <= 2028; ++year)
        for (int month = 1; month <= 12; ++month)
            for (int day = 1; day <= 28; ++day)
                days.push_back(QStringLiteral("%1/%2/%3").arg(year).arg(month).arg(day));
    return days;
}

// The find every day lookup does: a LIKE without wildcards on the Date column,
// next to a plain case-insensitive compare.
void BM_CriterionMatchDay(benchmark::State& state) {
    const std::vector<QString> days = dayTexts();
    std::vector<std::vector<QVariant>> rows;
    for (const QString& day : days) rows.push_back({QVariant(day)});
    const ledger::Criterion criterion =
        ledger::Criterion::parse(QStringLiteral("Date like  '2002/2/12'"));
    const QString wanted = QStringLiteral("2002/2/12");
    const std::size_t n = rows.size();
    compareWithBaseline(
        state, n, [&](std::size_t i) { benchmark::DoNotOptimize(criterion.matches(rows[i])); },
        [&](std::size_t i) {
            benchmark::DoNotOptimize(QString::compare(days[i], wanted, Qt::CaseInsensitive) == 0);
        });
}
BENCHMARK(BM_CriterionMatchDay)->UseManualTime();

// The wage-detail filter: a name pattern with a wildcard on each side, next
// to a plain case-insensitive contains.
void BM_CriterionMatchNamePattern(benchmark::State& state) {
    const std::vector<QString> names = {
        QStringLiteral("Tovena"),        QStringLiteral("Joanna Lin"),
        QStringLiteral("Chen Mei-ling"), QStringLiteral("Wang Da-wei"),
        QStringLiteral("ANNA"),          QStringLiteral("Huang Shu-fen"),
        QStringLiteral("Lee"),           QStringLiteral("Marianne Okafor")};
    std::vector<std::vector<QVariant>> rows;
    for (int i = 0; i < 1000; ++i) rows.push_back({QVariant(names[i % names.size()])});
    const ledger::Criterion criterion = ledger::Criterion::parse(QStringLiteral("Name LIKE'*an*'"));
    const QString wanted = QStringLiteral("an");
    const std::size_t n = rows.size();
    compareWithBaseline(
        state, n, [&](std::size_t i) { benchmark::DoNotOptimize(criterion.matches(rows[i])); },
        [&](std::size_t i) {
            benchmark::DoNotOptimize(names[i % names.size()].contains(wanted, Qt::CaseInsensitive));
        });
}
BENCHMARK(BM_CriterionMatchNamePattern)->UseManualTime();

}  // namespace
