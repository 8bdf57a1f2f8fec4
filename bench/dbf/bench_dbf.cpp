// Table engine figures (printed, not asserted):
// - appends to a table with the send log's six C fields, committed (fsync) after each
//   record as the send run does, and once at the end for comparison; records/s;
// - seeks of random keys in a 100,000-key NTX on STR(AUFTRNR,6); time per seek.
// Run: build/bench/dbf/bench_dbf   (the tables live in a temporary folder)
#include "dbf/ntx_builder.h"
#include "dbf/table.h"

#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <random>

namespace {

using namespace sendwerk::dbf;

const QList<FieldDef> sendLogFields = {{"AUFTRNR", 'C', 6, 0}, {"ART", 'C', 1, 0},       {"DATUM", 'C', 10, 0},
                                       {"ZEIT", 'C', 8, 0},    {"FORMULAR", 'C', 50, 0}, {"ADRESSE", 'C', 50, 0}};

void appendRecords(benchmark::State& state, bool commitEach) {
    constexpr int records = 10000;
    for (auto _ : state) {
        state.PauseTiming();
        QTemporaryDir dir;
        Table::create(dir.path() + "/LOG_SENDWERK", sendLogFields);
        std::unique_ptr<Table> table;
        table = std::move(Table::open(dir.path() + "/LOG_SENDWERK", ShareMode::Shared).value());
        state.ResumeTiming();
        for (int i = 0; i < records; ++i) {
            table->appendBlank();
            table->put("AUFTRNR", QByteArray::number(100000 + i));
            table->put("ART", "M");
            table->put("DATUM", "15.07.24  ");
            table->put("ZEIT", "12:34:56");
            table->put("FORMULAR", "Sterbefall");
            table->put("ADRESSE", "empfaenger@example.org");
            if (commitEach) table->commit();
        }
        table->commit();
    }
    state.SetItemsProcessed(state.iterations() * records);
}

void BM_SendLogAppendCommitEach(benchmark::State& state) { appendRecords(state, true); }
void BM_SendLogAppendCommitOnce(benchmark::State& state) { appendRecords(state, false); }
BENCHMARK(BM_SendLogAppendCommitEach)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_SendLogAppendCommitOnce)->Iterations(3)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_SeekIn100000KeyIndex(benchmark::State& state) {
    constexpr int keys = 100000;
    QTemporaryDir dir;
    const QString name = dir.path() + "/BEST";
    Table::create(name, {{"AUFTRNR", 'N', 6, 0}, {"ANSP_KTOI", 'C', 40, 0}});
    std::unique_ptr<Table> table;
    table = std::move(Table::open(name, ShareMode::Exclusive).value());
    std::vector<int> numbers(keys);
    for (int i = 0; i < keys; ++i) numbers[static_cast<std::size_t>(i)] = 100000 + i * 7;
    std::shuffle(numbers.begin(), numbers.end(), std::mt19937(3));
    for (int n : numbers) {
        table->appendBlank();
        table->putNumber("AUFTRNR", n);
        table->put("ANSP_KTOI", "kunde" + QByteArray::number(n) + "@example.org");
    }
    table->commit();
    buildIndex(*table, dir.path() + "/XAUFTRNR.NTX", "STR(AUFTRNR,6)");
    table->setIndex(dir.path() + "/XAUFTRNR.NTX");
    std::vector<QByteArray> searches;
    for (int n : numbers) searches.push_back(QByteArray::number(n).rightJustified(6, ' '));
    std::shuffle(searches.begin(), searches.end(), std::mt19937(4));

    std::size_t next = 0;
    int misses = 0;
    for (auto _ : state) {
        if (!table->seek(searches[next])) ++misses;
        benchmark::DoNotOptimize(table->recNo());
        next = (next + 1) % searches.size();
    }
    state.counters["misses"] = misses;
}
BENCHMARK(BM_SeekIn100000KeyIndex)->Iterations(100000)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
