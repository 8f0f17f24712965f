// The Windows device-event source: a hidden top-level "myusbmsg" window whose
// procedure turns WM_DEVICECHANGE messages into events, in order.
#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <memory>
#include <string>
#include <thread>

#include "platform/platform.h"
#include "support/device_window_win32.h"

namespace {

using namespace vx::platform;

// The next event, or kNoEvent (with a failure) if none comes in time.
DeviceEvent NextEvent(DeviceEvents *events) {
    auto result = std::make_shared<std::promise<DeviceEvent>>();
    std::future<DeviceEvent> next = result->get_future();
    std::thread([events, result] { result->set_value(WaitDeviceEvent(events)); }).detach();
    if (next.wait_for(std::chrono::seconds(20)) != std::future_status::ready) {
        ADD_FAILURE() << "no event came";
        return kNoEvent;
    }
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
    for (const auto &m : kMessages)
        EXPECT_EQ(0, testwin::SendDeviceChange(window, m.code, m.type, m.with_data))
            << m.code << "/" << m.type;
    // Sent last: nothing may come between the expected events and it.
    testwin::SendDeviceChange(window, DBT_DEVICEREMOVECOMPLETE, DBT_DEVTYP_DEVICEINTERFACE);

    int index = 0;
    for (const auto &m : kMessages) {
        if (m.event != kNoEvent) {
            EXPECT_EQ(m.event, NextEvent(events)) << "message " << index;
        }
        ++index;
    }
    EXPECT_EQ(kRemoval, NextEvent(events)) << "the last message's event";

    ::PostMessageW(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(kSourceFailed, NextEvent(events));
    EXPECT_EQ(kSourceFailed, NextEvent(events)) << "an ended source stays ended";
    EXPECT_EQ(nullptr, testwin::OwnDeviceWindow());
}

}  // namespace
