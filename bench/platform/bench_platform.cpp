// Figures for the platform layer: how long a listing of a full outbox takes (the send
// run takes one per run, the panes one per refresh), what one DOS path resolution
// costs (every file call makes one) and what a detached start costs (one per mail).
// Prints figures, asserts nothing.
#include "platform/file_system.h"
#include "platform/process_starter.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <stdexcept>

namespace {

constexpr int kOrders = 10000;

// A temporary office whose outbox holds kOrders order files and, beside them, a result
// file for every tenth order, created once for all runs.
class Outbox {
public:
    Outbox() {
        if (!root_.isValid() || !QDir().mkpath(folder())) throw std::runtime_error("cannot create the outbox");
        for (int i = 0; i < kOrders; ++i) {
            const QString base =
                QStringLiteral("%1/%2_%3_2024-07-15").arg(folder(), i % 3 ? "Sterbefall" : "RECHNUNG").arg(100000 + i);
            touch(base + (i % 7 ? ".ausg" : ".AUSG"));
            if (i % 10 == 0) touch(base + ".result");
        }
    }
    sendwerk::FileSystem files() const {
        return sendwerk::FileSystem(sendwerk::PathResolver({{QChar('C'), root_.path()}}));
    }

private:
    QString folder() const { return root_.path() + "/ZUMA/CMail/Ausgang"; }
    static void touch(const QString& path) {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly)) throw std::runtime_error("cannot create " + path.toStdString());
    }
    QTemporaryDir root_;
};

const Outbox& outbox() {
    static const Outbox box;
    return box;
}

void BM_ListOutbox(benchmark::State& state) {
    const sendwerk::FileSystem files = outbox().files();
    qsizetype found = 0;
    for (auto _ : state) {
        const QStringList names = files.list("C:\\ZUMA\\CMAIL\\AUSGANG\\*.ausg");
        found = names.size();
        benchmark::DoNotOptimize(names);
    }
    state.counters["files"] = double(found);
    state.counters["files/s"] = benchmark::Counter(double(found) * state.iterations(), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_ListOutbox)->Unit(benchmark::kMillisecond);

void BM_ResolveOrderPath(benchmark::State& state) {
    const sendwerk::FileSystem files = outbox().files();
    // Wrong case in every component: each one is looked up in its folder listing.
    const QString wrongCase = state.range(0) ? "C:\\zuma\\cmail\\ausgang\\sterbefall_100001_2024-07-15.AUSG"
                                             : "C:\\ZUMA\\CMail\\Ausgang\\Sterbefall_100001_2024-07-15.ausg";
    for (auto _ : state) benchmark::DoNotOptimize(files.native(wrongCase));
    state.SetLabel(state.range(0) ? "every component in the wrong case" : "exact spelling");
}
BENCHMARK(BM_ResolveOrderPath)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

void BM_StartDetached(benchmark::State& state) {
    const sendwerk::FileSystem files = outbox().files();
    sendwerk::PosixProcessStarter starter(files, {});
    for (auto _ : state) benchmark::DoNotOptimize(starter.startDetached("/bin/true", {"-s", "Betreff"}));
    state.counters["starts/s"] = benchmark::Counter(double(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_StartDetached)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
