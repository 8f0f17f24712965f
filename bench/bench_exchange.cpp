// A full raw-command exchange (logged in: flush, write, reply) and a
// row-driven get (VX_GetDevName: the same exchange built from its row, the
// reply judged by its rule) against a virtual recorder that takes its
// time-outs in real time. The protocol's own floor is the flush before every
// command: one 100 ms read time-out, read straight on the same virtual bus
// in the same run (BM_FlushFloor). Both are reported as ratios over it; the
// get must stay within 2% of the floor (ratio at most 1.02), so whatever the
// row machinery costs is lost in the wait every command already pays.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstring>
#include "transport/models.h"

#include "LibVestra.h"
#include "ratio_reporter.h"
#include "vsim.h"

namespace {

constexpr char kPwd[] = "888888";
constexpr char kDevName[] = "bench";

// One logged-in recorder on a fresh real-time bus, or null.
VestraInfo *OpenRecorder() {
    vsim::reset();
    vsim::add_bus("001", 1);
    vsim::DeviceSpec spec;
    spec.model = "VX001";
    int id = vsim::plug(spec);
    vsim::set_value(id, "DEVNAME", kDevName);
    vsim::set_realtime(true);
    VX_SetLibLog(VX_LOG_OFF);
    VestraInfo *dev = VX_InitDev("VX001");
    if (dev != nullptr && !VX_Login(dev, kPwd)) {
        VX_UnInitDev(dev);
        dev = nullptr;
    }
    return dev;
}

void CloseRecorder(VestraInfo *dev) {
    if (dev != nullptr) VX_UnInitDev(dev);
    vsim::reset();
}

// The floor: one bulk read that times out after 100 ms, straight on the bus
// beside the library's own handle.
void BM_FlushFloor(benchmark::State &state) {
    VestraInfo *dev = OpenRecorder();
    if (dev == nullptr) {
        state.SkipWithError("no virtual recorder");
        return;
    }
    usb_init();
    usb_find_busses();
    usb_find_devices();
    usb_dev_handle *h = usb_open(usb_get_busses()->devices);
    char buf[4096];
    for (auto _ : state) usb_bulk_read(h, 0x81, buf, sizeof buf, 100);
    usb_close(h);
    CloseRecorder(dev);
}

void BM_CmdExchange(benchmark::State &state) {
    VestraInfo *dev = OpenRecorder();
    if (dev == nullptr) {
        state.SkipWithError("no virtual recorder");
        return;
    }
    for (auto _ : state) {
        if (!VX_Cmd(dev, kPwd, "VX+DEVNAME?\r\n")) {
            state.SkipWithError("exchange failed");
            break;
        }
    }
    CloseRecorder(dev);
}

void BM_GetDevName(benchmark::State &state) {
    VestraInfo *dev = OpenRecorder();
    if (dev == nullptr) {
        state.SkipWithError("no virtual recorder");
        return;
    }
    char name[VX_TEXT_AREA];
    for (auto _ : state) {
        std::memset(name, 0, sizeof name);  // the raw copy writes no terminator
        if (!VX_GetDevName(dev, kPwd, name) || std::strcmp(name, kDevName) != 0) {
            state.SkipWithError("get failed");
            break;
        }
    }
    CloseRecorder(dev);
}

// Real time: the waits are the point. Repetitions give the reporter a best
// (least disturbed) figure for each.
BENCHMARK(BM_FlushFloor)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(10)
    ->Repetitions(5);
BENCHMARK(BM_CmdExchange)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(10)
    ->Repetitions(5);
BENCHMARK(BM_GetDevName)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(10)
    ->Repetitions(5);

}  // namespace

RATIO_BENCHMARK_MAIN({"BM_CmdExchange", "BM_FlushFloor"}, {"BM_GetDevName", "BM_FlushFloor"})
