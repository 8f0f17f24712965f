// The Windows device-event source: a hidden top-level "myusbmsg" window whose
// procedure turns WM_DEVICECHANGE messages into events, in order.
#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <iostream>
#include <memory>
#include <string>
#include <thread>

#include "platform/platform.h"
#include "support/device_window_win32.h"

namespace {

using namespace vx::platform;

using Clock = std::chrono::steady_clock;

long long MsSince(Clock::time_point start) {
    return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
}

// The next event; one that comes after 20 s is a failure that says when it
// came. The waiting thread is joined before the next one is made: under wine,
// a detached thread of this thread library that is still ending while the
// next is made now and then keeps the new one from starting for more than
// 20 s (or starts it with a null state and crashes it), and the late waiter
// then took the event meant for a later call.
DeviceEvent NextEvent(DeviceEvents *events, Clock::time_point start) {
    std::packaged_task<DeviceEvent()> wait([events] { return WaitDeviceEvent(events); });
    std::future<DeviceEvent> next = wait.get_future();
    std::thread waiter(std::move(wait));
    const bool in_time = next.wait_for(std::chrono::seconds(20)) == std::future_status::ready;
    waiter.join();  // a source that never answers ends at ctest's time-out
    if (!in_time) ADD_FAILURE() << "no event within 20 s; it came at " << MsSince(start) << " ms";
    return next.get();
}

// Faults: a window that cannot be found by its class (a message-only window,
// another class name), or that shows; events for queries, pending removals,
// ports, handles, OEM devices or a bare "nodes changed"; a crash on a null
// payload; arrival and removal swapped or dropped for volumes or interfaces;
// events out of order; a message answered with other than 0; a loop that
// does not end when the window is destroyed.
TEST(DeviceEventsWindow, TurnsVolumeAndInterfaceArrivalsAndRemovalsIntoEvents) {
    std::string name;
    DeviceEvents *events = OpenDeviceEvents(&name);
    ASSERT_NE(nullptr, events) << name;
    EXPECT_EQ(std::string::npos, name.find("volumes only")) << name;
    HWND window = testwin::OwnDeviceWindow();
    ASSERT_NE(nullptr, window);
    EXPECT_FALSE(::IsWindowVisible(window));
    EXPECT_EQ(::GetDesktopWindow(), ::GetAncestor(window, GA_PARENT));

    const struct {
        WPARAM code;
        DWORD type;
        bool with_data;
        DeviceEvent event;
    } kMessages[] = {
        {DBT_DEVICEARRIVAL, DBT_DEVTYP_DEVICEINTERFACE, true, kArrival},
        {DBT_DEVICEQUERYREMOVE, DBT_DEVTYP_DEVICEINTERFACE, true, kNoEvent},
        {DBT_DEVICEREMOVEPENDING, DBT_DEVTYP_DEVICEINTERFACE, true, kNoEvent},
        {DBT_DEVICEREMOVECOMPLETE, DBT_DEVTYP_DEVICEINTERFACE, true, kRemoval},
        {DBT_DEVICEARRIVAL, DBT_DEVTYP_PORT, true, kNoEvent},
        {DBT_DEVICEARRIVAL, DBT_DEVTYP_HANDLE, true, kNoEvent},
        {DBT_DEVICEREMOVECOMPLETE, DBT_DEVTYP_OEM, true, kNoEvent},
        {DBT_DEVNODES_CHANGED, 0, false, kNoEvent},
        {DBT_DEVICEARRIVAL, 0, false, kNoEvent},
        {DBT_DEVICEREMOVECOMPLETE, DBT_DEVTYP_VOLUME, true, kRemoval},
        {DBT_DEVICEARRIVAL, DBT_DEVTYP_VOLUME, true, kArrival},
        {DBT_DEVICEREMOVECOMPLETE, DBT_DEVTYP_PORT, true, kNoEvent},
    };
    // Each send is timed: SendMessage returns once the window procedure has
    // run, so a send that takes long is the message's delivery being late,
    // not the library's queue.
    const Clock::time_point start = Clock::now();
    for (const auto &m : kMessages) {
        const long long before = MsSince(start);
        EXPECT_EQ(0, testwin::SendDeviceChange(window, m.code, m.type, m.with_data))
            << m.code << "/" << m.type;
        const long long after = MsSince(start);
        if (after - before > 1000)  // noted, not judged: a loaded machine is slow too
            std::cerr << "[   NOTE   ] message " << m.code << "/" << m.type << " sent at " << before
                      << " ms reached the window procedure by " << after << " ms\n";
    }
    // Sent last: nothing may come between the expected events and it.
    testwin::SendDeviceChange(window, DBT_DEVICEREMOVECOMPLETE, DBT_DEVTYP_DEVICEINTERFACE);

    int index = 0;
    for (const auto &m : kMessages) {
        if (m.event != kNoEvent) {
            EXPECT_EQ(m.event, NextEvent(events, start)) << "message " << index;
        }
        ++index;
    }
    EXPECT_EQ(kRemoval, NextEvent(events, start)) << "the last message's event";

    ::PostMessageW(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(kSourceFailed, NextEvent(events, start));
    EXPECT_EQ(kSourceFailed, NextEvent(events, start)) << "an ended source stays ended";
    EXPECT_EQ(nullptr, testwin::OwnDeviceWindow());
}

}  // namespace
