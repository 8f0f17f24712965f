// One full raw-command exchange (logged in: flush, write, reply) against a
// virtual recorder that takes its time-outs in real time. The protocol's own
// floor is the flush before every command: one 100 ms read time-out. The
// floor is measured in the same run, on the same virtual bus, and the
// exchange is reported as a ratio over it.
#include <benchmark/benchmark.h>

#include <chrono>
#include "transport/models.h"

#include "LibVestra.h"
#include "vsim.h"

namespace {

using Clock = std::chrono::steady_clock;

double ms_since(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// One bulk read that times out after 100 ms, straight on the bus.
double flush_floor_ms(int samples) {
    usb_init();
    usb_find_busses();
    usb_find_devices();
    struct usb_device *dev = usb_get_busses()->devices;
    usb_dev_handle *h = usb_open(dev);
    char buf[4096];
    auto start = Clock::now();
    for (int i = 0; i < samples; ++i) usb_bulk_read(h, 0x81, buf, sizeof buf, 100);
    double per = ms_since(start) / samples;
    usb_close(h);
    return per;
}

void BM_CmdExchange(benchmark::State &state) {
    vsim::reset();
    vsim::add_bus("001", 1);
    vsim::DeviceSpec spec;
    spec.model = "VX001";
    int id = vsim::plug(spec);
    vsim::set_value(id, "DEVNAME", "bench");
    vsim::set_realtime(true);
    VX_SetLibLog(VX_LOG_OFF);
    VestraInfo *dev = VX_InitDev("VX001");
    if (dev == nullptr || !VX_Login(dev, "888888")) {
        state.SkipWithError("no virtual recorder");
        return;
    }
    double floor = flush_floor_ms(5);
    double total = 0;
    for (auto _ : state) {
        auto start = Clock::now();
        uint32_t ok = VX_Cmd(dev, "888888", "VX+DEVNAME?\r\n");
        total += ms_since(start);
        if (!ok) state.SkipWithError("exchange failed");
    }
    double per = total / double(state.iterations());
    state.counters["exchange_ms"] = per;
    state.counters["floor_ms"] = floor;
    state.counters["ratio_over_floor"] = per / floor;
    VX_UnInitDev(dev);
    vsim::reset();
}
BENCHMARK(BM_CmdExchange)->Unit(benchmark::kMillisecond)->Iterations(20);

}  // namespace

BENCHMARK_MAIN();
