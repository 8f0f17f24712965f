// The device list with 50 virtual recorders in real-time mode.
//  - FullList: one list update (what the first refresh runs) bringing 50
//    recorders in, against the protocol's floor measured in the same run:
//    50 x (the flush time-out and one ID-code exchange), i.e. 50 identify
//    exchanges on an open record. Target: ratio at most 1.1.
//  - IdleCpu: processor time the monitor and refresh threads use over 60 s
//    with nothing happening, as a share of one core. Target: under 0.1%.
#include <sys/resource.h>

#include <chrono>
#include <string>
#include <thread>

#include "LibVestra.h"
#include "ratio_reporter.h"
#include "vsim.h"

namespace {

constexpr int kRecorders = 50;

void PlugFifty() {
    vsim::reset();
    vsim::add_bus("001", 1);
    for (int i = 0; i < kRecorders; ++i) {
        vsim::DeviceSpec spec;
        spec.model = "VX007";
        spec.serial = "B" + std::to_string(1000000 + i) + "_1";
        vsim::plug(spec);
    }
    vsim::set_realtime(true);
}

void BM_IdentifyFloor(benchmark::State &state) {
    PlugFifty();
    VestraInfo *dev = VX_InitDev("VX007");
    char id[VX_ID_CODE_LEN] = {};
    for (auto _ : state)
        for (int i = 0; i < kRecorders; ++i) benchmark::DoNotOptimize(VX_GetIDCode(dev, id));
    VX_UnInitDevList();
    VX_UnInitDev(dev);
}

void BM_FullList(benchmark::State &state) {
    PlugFifty();
    VX_InitDevListPthread();  // the host runs the updates: no timer in the way
    for (auto _ : state) {
        state.PauseTiming();
        VX_UnInitDevList();
        state.ResumeTiming();
        VX_InitDevList();
        if (VX_GetDevListSum() != kRecorders) state.SkipWithError("list not full");
    }
}

double CpuSeconds() {
    rusage u{};
    ::getrusage(RUSAGE_SELF, &u);
    return static_cast<double>(u.ru_utime.tv_sec + u.ru_stime.tv_sec) +
           static_cast<double>(u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

// Runs in a process whose list monitor is started here first (with a refresh
// thread); the main thread only sleeps, so the process's CPU is the threads'.
void BM_IdleCpu(benchmark::State &state) {
    vsim::reset();
    vsim::add_bus("001", 1);
    for (auto _ : state) {
        double cpu0 = CpuSeconds();
        auto t0 = std::chrono::steady_clock::now();
        std::this_thread::sleep_for(std::chrono::seconds(60));
        double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
        state.counters["cpu_percent_of_core"] = 100.0 * (CpuSeconds() - cpu0) / wall;
    }
}

}  // namespace

BENCHMARK(BM_IdentifyFloor)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(2);
BENCHMARK(BM_FullList)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(2);

int main(int argc, char **argv) {
    benchmark::Initialize(&argc, argv);
    bool idle = argc > 1 && std::string(argv[1]) == "--idle";
    if (idle) {
        VX_SetLibLog(VX_LOG_OFF);
        VX_InitDevListPthreadEx(nullptr);
        benchmark::RegisterBenchmark("BM_IdleCpu", BM_IdleCpu)
            ->Iterations(1)
            ->Unit(benchmark::kSecond);
        benchmark::ConsoleReporter plain;
        benchmark::RunSpecifiedBenchmarks(&plain);
        return 0;
    }
    VX_SetLibLog(VX_LOG_OFF);
    RatioReporter reporter(
        std::vector<std::pair<std::string, std::string>>{{"BM_FullList", "BM_IdentifyFloor"}});
    benchmark::RunSpecifiedBenchmarks(&reporter);
    return 0;
}
