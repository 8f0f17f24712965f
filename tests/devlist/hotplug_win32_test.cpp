// The hot-plug monitor on Windows, through the shipped DLL on the virtual
// bus: the WM_DEVICECHANGE messages the bus sends to the "myusbmsg" window,
// as the system does, bring refreshes, list changes and callbacks. (The
// window procedure's reading of each kind of message is
// unit/device_events_win32_test.cpp's.)
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "LibVestra.h"
#include "vsim.h"

namespace {

struct Call {
    int kind, value;
    bool operator==(const Call &o) const { return kind == o.kind && value == o.value; }
};
using Calls = std::vector<Call>;
std::mutex g_lock;
Calls g_calls;

void Record(int32_t kind, int32_t value) {
    std::lock_guard<std::mutex> guard(g_lock);
    g_calls.push_back({kind, value});
}

// The first n callbacks, waiting (bounded) for them; fewer if they do not come.
Calls FirstCalls(std::size_t n) {
    for (auto end = std::chrono::steady_clock::now() + std::chrono::seconds(30);;
         std::this_thread::sleep_for(std::chrono::milliseconds(20))) {
        std::lock_guard<std::mutex> guard(g_lock);
        if (g_calls.size() >= n || std::chrono::steady_clock::now() >= end)
            return Calls(g_calls.begin(), g_calls.begin() + std::min(n, g_calls.size()));
    }
}

// Faults: the window missing or not registered under its class, or the
// virtual bus's broadcasts not reaching it (then a scenario's timed plugs
// show in vxctl watch only at timed refreshes); an arrival or removal message
// not turned into an event-caused refresh (a timed refresh would bring no
// kind-2 callback); the kinds swapped; the recorder not listed, or its slot
// not freed.
TEST(HotPlugWindow, ThePlugAndUnplugBroadcastsRefreshTheList) {
    vsim::reset();
    vsim::add_bus("001", 1);
    vsim::set_uevents(true);
    VX_SetLibLog(VX_LOG_OFF);
    VX_InitDevListPthreadEx(Record);
    EXPECT_EQ((Calls{{2, 2}}), FirstCalls(1)) << "the start's own refresh";

    int id = vsim::plug({.model = "VX007", .serial = "A1234567_1", .values = {}});
    ASSERT_EQ((Calls{{2, 2}, {1, 1}, {2, 1}}), FirstCalls(3));
    EXPECT_EQ(1u, VX_CheckDevHandle(VX_GetDevHandleFromList(0)));
    char serial[VX_SERIAL_LEN + 1] = {};
    VX_GetDevSNFromList(0, serial);
    EXPECT_STREQ("A1234567", serial);

    vsim::unplug(id);
    ASSERT_EQ((Calls{{2, 2}, {1, 1}, {2, 1}, {1, 0}, {2, 2}}), FirstCalls(5));
    EXPECT_EQ(0u, VX_CheckDevHandle(VX_GetDevHandleFromList(0)));
}

}  // namespace
