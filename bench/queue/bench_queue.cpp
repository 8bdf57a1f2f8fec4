// How much the engine itself costs per order, next to the office's fixed pauses (10.5 s
// for a single-recipient order that is sent), and how the whitelist test scales.
// Prints figures, asserts nothing.
#include <benchmark/benchmark.h>

#include <chrono>

#include <sys/resource.h>

#include "queue/send_run.h"
#include "queue/testing/queue_office.h"
#include "queue/whitelist.h"

namespace sendwerk {
namespace {

using testing::PlannedAnswer;
using testing::QueueOffice;

QByteArray whitelistOf(int lines) {
    QByteArray text;
    text.reserve(lines * 24);
    for (int i = 0; i < lines; ++i) text += "kunde" + QByteArray::number(i).rightJustified(6, '0') + "@firma.de,\r\n";
    return text + "ok@firma.de,\r\nrefuse@firma.de,\r\nherr meier\r\n";
}

// Five kinds of orders in turn: accepted, refused, quarantined, a list of three
// (accepted, refused, quarantined) and a recipient without "@".
void writeOrders(QueueOffice& o, int count) {
    for (int i = 0; i < count; ++i) {
        const QString name = QStringLiteral("Brief_%1_x.ausg").arg(100000 + i);
        switch (i % 5) {
        case 0:
            o.writeOrder(name, "ok@firma.de|||Betreff|||Text|||");
            o.client.plan(PlannedAnswer::accepted());
            break;
        case 1:
            o.writeOrder(name, "refuse@firma.de|||Betreff|||Text|||");
            o.client.plan(PlannedAnswer::failure());
            break;
        case 2: o.writeOrder(name, "fremd@x.de|||Betreff|||Text|||"); break;
        case 3:
            o.writeOrder(name, "{ok@firma.de,refuse@firma.de,fremd@x.de}|||Betreff|||Text|||");
            o.client.plan({PlannedAnswer::accepted(), PlannedAnswer::failure()});
            break;
        default: o.writeOrder(name, "Herr Meier|||Betreff|||Text|||"); break;
        }
    }
}

long peakRssKilobytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

void BM_SendRun1000Orders(benchmark::State& state) {
    const int orders = int(state.range(0));
    double pausedPerOrder = 0;
    double engineSeconds = 0;
    for (auto _ : state) {
        state.PauseTiming();
        QueueOffice o;
        o.writeWhitelist(whitelistOf(20000));
        writeOrders(o, orders);
        state.ResumeTiming();
        const auto start = std::chrono::steady_clock::now();
        Senden(o.shared, o.context);
        engineSeconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        pausedPerOrder = o.clock.pausedSeconds() / orders;
    }
    const double handled = double(orders) * double(state.iterations());
    state.counters["engine_ms_per_order"] = 1000.0 * engineSeconds / handled;
    state.counters["office_pause_s_per_order"] = pausedPerOrder;
    state.counters["pause_s_single_sent_order"] = 10.5;
    state.counters["peak_rss_MiB"] = double(peakRssKilobytes()) / 1024.0;
    state.SetItemsProcessed(int64_t(handled));
}
BENCHMARK(BM_SendRun1000Orders)->Arg(1000)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_WhitelistTest100000Lines(benchmark::State& state) {
    const Whitelist whitelist(whitelistOf(100000));
    bool passed = false;
    for (auto _ : state) {
        passed = whitelist.passes("OK@Firma.de") && !whitelist.passes("fremd@x.de");
        benchmark::DoNotOptimize(passed);
    }
    state.counters["lines"] = 100000;
    state.counters["bytes"] = double(whitelist.text().size());
    state.SetItemsProcessed(int64_t(state.iterations()) * 2);
}
BENCHMARK(BM_WhitelistTest100000Lines)->Unit(benchmark::kMicrosecond);

void BM_WhitelistBuild100000Lines(benchmark::State& state) {
    const QByteArray text = whitelistOf(100000);
    for (auto _ : state) benchmark::DoNotOptimize(Whitelist(text).text().size());
}
BENCHMARK(BM_WhitelistBuild100000Lines)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace sendwerk

BENCHMARK_MAIN();
