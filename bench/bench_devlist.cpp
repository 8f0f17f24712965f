// The device list with virtual recorders.
//  - FullList: one list update (what the first refresh runs) bringing 50
//    recorders in, against the protocol's floor measured in the same run:
//    50 x (the flush time-out and one ID-code exchange), i.e. 50 identify
//    exchanges on an open record. Target: ratio at most 1.1.
//  - IdleCpu (`--idle`, alone in its process): what a docking station sees
//    at rest. Two recorders docked, the monitor and refresh threads started,
//    nothing happening for 60 s: the share of one core the process used (its
//    main thread only sleeps), the wake-ups of the library's threads (their
//    context switches), and the refreshes in the window (bus scans), which
//    are the start-up one at about 2 s and timed ones at about 12, 27 and
//    47 s. Targets: under 0.01% of a core, and at most 2 wake-ups per
//    refresh (the refresh thread's wake and its return to rest; the threads'
//    start is counted in the window too).
#include <dirent.h>
#include <sys/resource.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <fstream>
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

// Context switches of every thread of the process but the main one: each
// is a thread going to rest, so the count of wake-ups of the threads the
// library started (the main thread only sleeps; no other thread runs).
long long OtherThreadsSwitches() {
    long long total = 0;
    DIR *tasks = ::opendir("/proc/self/task");
    if (tasks == nullptr) return -1;
    const std::string self = std::to_string(::getpid());
    while (const dirent *e = ::readdir(tasks)) {
        std::string tid = e->d_name;
        if (tid == "." || tid == ".." || tid == self) continue;
        std::ifstream status("/proc/self/task/" + tid + "/status");
        for (std::string line; std::getline(status, line);) {
            for (const char *key : {"voluntary_ctxt_switches:", "nonvoluntary_ctxt_switches:"})
                if (line.rfind(key, 0) == 0) total += std::atoll(line.c_str() + std::strlen(key));
        }
    }
    ::closedir(tasks);
    return total;
}

void PlugTwo() {
    vsim::reset();
    vsim::add_bus("001", 1);
    for (const char *serial : {"A1000001_1", "A1000002_1"}) {
        vsim::DeviceSpec spec;
        spec.model = "VX007";
        spec.serial = serial;
        vsim::plug(spec);
    }
}

// The window opens just before the monitor starts, so it holds the start-up
// refresh and the timed ones after it, as a station's first minute does.
void BM_IdleCpu(benchmark::State &state) {
    constexpr int kWindowS = 60;
    PlugTwo();
    for (auto _ : state) {
        double cpu0 = CpuSeconds();
        long long scans0 = vsim::device_scans();
        auto t0 = std::chrono::steady_clock::now();
        VX_InitDevListPthreadEx(nullptr);
        std::this_thread::sleep_for(std::chrono::seconds(kWindowS));
        double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
        double cpu = CpuSeconds() - cpu0;
        double wakeups = static_cast<double>(OtherThreadsSwitches());
        double refreshes = static_cast<double>(vsim::device_scans() - scans0);
        state.counters["cpu_percent_of_core"] = 100.0 * cpu / wall;
        state.counters["wakeups_per_s"] = wakeups / wall;
        state.counters["refreshes"] = refreshes;
        state.counters["wakeups_per_refresh"] = refreshes > 0 ? wakeups / refreshes : wakeups;
        if (VX_GetDevListSum() != 2) state.SkipWithError("the two recorders were not listed");
    }
}

}  // namespace

int main(int argc, char **argv) {
    benchmark::Initialize(&argc, argv);
    VX_SetLibLog(VX_LOG_OFF);
    if (argc > 1 && std::string(argv[1]) == "--idle") {
        // Alone: the list benchmarks would race the refresh thread it starts.
        benchmark::RegisterBenchmark("BM_IdleCpu", BM_IdleCpu)
            ->Iterations(1)
            ->Unit(benchmark::kSecond);
        benchmark::ConsoleReporter plain;
        benchmark::RunSpecifiedBenchmarks(&plain);
        return 0;
    }
    benchmark::RegisterBenchmark("BM_IdentifyFloor", BM_IdentifyFloor)
        ->Unit(benchmark::kMillisecond)
        ->Iterations(1)
        ->Repetitions(2);
    benchmark::RegisterBenchmark("BM_FullList", BM_FullList)
        ->Unit(benchmark::kMillisecond)
        ->Iterations(1)
        ->Repetitions(2);
    RatioReporter reporter(
        std::vector<std::pair<std::string, std::string>>{{"BM_FullList", "BM_IdentifyFloor"}});
    benchmark::RunSpecifiedBenchmarks(&reporter);
    return 0;
}
