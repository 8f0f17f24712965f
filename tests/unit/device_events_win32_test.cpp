// The Windows device-event source: a hidden top-level "myusbmsg" window whose
// procedure turns WM_DEVICECHANGE messages into events, in order.
#include <gtest/gtest.h>
#include <windows.h>
#include <dbt.h>

#include <chrono>
#include <cstring>
#include <future>
#include <iostream>
#include <string>
#include <thread>

#include "platform/platform.h"

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

// The "myusbmsg" window of this process: other test processes on the same
// desktop have windows of the same class.
HWND OwnDeviceWindow() {
    for (HWND w = ::FindWindowExW(nullptr, nullptr, L"myusbmsg", nullptr); w != nullptr;
         w = ::FindWindowExW(nullptr, w, L"myusbmsg", nullptr)) {
        DWORD owner = 0;
        ::GetWindowThreadProcessId(w, &owner);
        if (owner == ::GetCurrentProcessId()) return w;
    }
    return nullptr;
}

// Sends WM_DEVICECHANGE synchronously, as the system does: the window
// procedure has run when this returns. The broadcast is a device interface
// of the USB device class, with its path as the system names it; or a volume
// (drive E:); or only a header of another type; or, for type 0, none (a
// null lparam).
LRESULT SendDeviceChange(HWND w, WPARAM code, DWORD type) {
    static const wchar_t kPath[] =
        L"\\\\?\\USB#VID_2B6F&PID_0007#A1234567_1#{a5dcbf10-6530-11d2-901f-00c04fb951ed}";
    union {
        unsigned char bytes[512];  // first, so that {} clears all of it
        DEV_BROADCAST_HDR header;
        DEV_BROADCAST_DEVICEINTERFACE_W interface_;
        DEV_BROADCAST_VOLUME volume;
    } b{};
    b.header.dbch_devicetype = type;
    b.header.dbch_size = sizeof(DEV_BROADCAST_HDR);
    if (type == DBT_DEVTYP_DEVICEINTERFACE) {
        b.interface_.dbcc_classguid = {
            0xA5DCBF10, 0x6530, 0x11D2, {0x90, 0x1F, 0x00, 0xC0, 0x4F, 0xB9, 0x51, 0xED}};
        std::memcpy(b.interface_.dbcc_name, kPath, sizeof kPath);
        b.header.dbch_size =
            DWORD(sizeof(DEV_BROADCAST_DEVICEINTERFACE_W) + sizeof kPath - sizeof(wchar_t));
    } else if (type == DBT_DEVTYP_VOLUME) {
        b.volume.dbcv_unitmask = 1u << 4;
        b.header.dbch_size = sizeof(DEV_BROADCAST_VOLUME);
    }
    return ::SendMessageW(w, WM_DEVICECHANGE, code, type != 0 ? reinterpret_cast<LPARAM>(&b) : 0);
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
    HWND window = OwnDeviceWindow();
    ASSERT_NE(nullptr, window);
    EXPECT_FALSE(::IsWindowVisible(window));
    EXPECT_EQ(::GetDesktopWindow(), ::GetAncestor(window, GA_PARENT));

    const struct {
        WPARAM code;
        DWORD type;
        DeviceEvent event;
    } kMessages[] = {
        {DBT_DEVICEARRIVAL, DBT_DEVTYP_DEVICEINTERFACE, kArrival},
        {DBT_DEVICEQUERYREMOVE, DBT_DEVTYP_DEVICEINTERFACE, kNoEvent},
        {DBT_DEVICEREMOVEPENDING, DBT_DEVTYP_DEVICEINTERFACE, kNoEvent},
        {DBT_DEVICEREMOVECOMPLETE, DBT_DEVTYP_DEVICEINTERFACE, kRemoval},
        {DBT_DEVICEARRIVAL, DBT_DEVTYP_PORT, kNoEvent},
        {DBT_DEVICEARRIVAL, DBT_DEVTYP_HANDLE, kNoEvent},
        {DBT_DEVICEREMOVECOMPLETE, DBT_DEVTYP_OEM, kNoEvent},
        {DBT_DEVNODES_CHANGED, 0, kNoEvent},
        {DBT_DEVICEARRIVAL, 0, kNoEvent},
        {DBT_DEVICEREMOVECOMPLETE, DBT_DEVTYP_VOLUME, kRemoval},
        {DBT_DEVICEARRIVAL, DBT_DEVTYP_VOLUME, kArrival},
        {DBT_DEVICEREMOVECOMPLETE, DBT_DEVTYP_PORT, kNoEvent},
    };
    // Each send is timed: SendMessage returns once the window procedure has
    // run, so a send that takes long is the message's delivery being late,
    // not the library's queue.
    const Clock::time_point start = Clock::now();
    for (const auto &m : kMessages) {
        const long long before = MsSince(start);
        EXPECT_EQ(0, SendDeviceChange(window, m.code, m.type)) << m.code << "/" << m.type;
        const long long after = MsSince(start);
        if (after - before > 1000)  // noted, not judged: a loaded machine is slow too
            std::cerr << "[   NOTE   ] message " << m.code << "/" << m.type << " sent at " << before
                      << " ms reached the window procedure by " << after << " ms\n";
    }
    // Sent last: nothing may come between the expected events and it.
    SendDeviceChange(window, DBT_DEVICEREMOVECOMPLETE, DBT_DEVTYP_DEVICEINTERFACE);

    for (std::size_t i = 0; i < std::size(kMessages); ++i) {
        if (kMessages[i].event == kNoEvent) continue;
        EXPECT_EQ(kMessages[i].event, NextEvent(events, start)) << "message " << i;
    }
    EXPECT_EQ(kRemoval, NextEvent(events, start)) << "the last message's event";

    ::PostMessageW(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(kSourceFailed, NextEvent(events, start));
    EXPECT_EQ(kSourceFailed, NextEvent(events, start)) << "an ended source stays ended";
    EXPECT_EQ(nullptr, OwnDeviceWindow());
}

}  // namespace
