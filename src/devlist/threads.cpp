#include "devlist/threads.h"

#include <atomic>
#include <cstdlib>
#include <thread>

#include "common/clock.h"
#include "common/log.h"
#include "common/state.h"
#include "devlist/list.h"
#include "devlist/monitor.h"
#include "devlist/refresh_timer.h"
#include "devlist/update.h"
#include "platform/platform.h"

namespace vx {

namespace {

// True while the refresh thread is between its stop check and the end of a
// refresh (callbacks included). With g_list_stopping it forms a handshake:
// each side sets its own flag first, then reads the other's.
std::atomic<bool> g_refresh_busy{false};
std::atomic<std::thread::id> g_refresh_thread{};
constexpr uint32_t kExitWaitMs = 10000;  // a refresh stops between devices well before

// Set as each refresh ends; the exit handler rests on it.
platform::Wake *RefreshEnded() {
    static platform::Wake *const wake = platform::NewWake();
    return wake;
}

// Enters a refresh unless the process is exiting.
bool EnterRefresh() {
    g_refresh_busy.store(true);
    if (!g_list_stopping.load()) return true;
    g_refresh_busy.store(false);
    return false;
}

void LeaveRefresh() {
    g_refresh_busy.store(false);
    platform::SetWake(RefreshEnded());
}

// Between two turns the thread rests until the next one is due or a device
// event comes: at rest it does not run at all.
void RefreshThread() {
    platform::PrepareThreadForCrashes();
    g_refresh_thread.store(std::this_thread::get_id());
    platform::SleepMs(kRefreshStartDelayMs);
    RefreshTimer timer(static_cast<uint32_t>(ClockMs()));
    uint32_t rest_ms = 0;
    while (!g_list_stopping.load() && RefreshWhenDue(timer, &rest_ms)) WaitForDeviceChange(rest_ms);
}

void EventThread(platform::DeviceEvents *source) {
    platform::PrepareThreadForCrashes();
    for (;;) {
        platform::DeviceEvent event = platform::WaitDeviceEvent(source);
        if (event == platform::kSourceFailed) return;  // timed refreshes go on
        if (event == platform::kArrival || event == platform::kRemoval) SetDeviceChangeState(event);
    }
}

void OnProcessExit() {
    g_list_stopping.store(true);
    // A DLL's handlers run after the system ended the threads, perhaps in
    // mid-refresh: nothing will end the refresh, and this holds the loader lock.
    if (platform::OtherThreadsEnded()) return;
    // exit() called from a callback: the refresh thread is this thread.
    if (g_refresh_thread.load() == std::this_thread::get_id()) return;
    // This thread holds the list section: a refresh waiting for the lock
    // waits for good, and never reaches ended state.
    if (ThisThreadInListSection()) return;
    // A wake left from an earlier refresh ends a rest early; the flag decides.
    uint32_t start = platform::MillisSinceStart();
    while (g_refresh_busy.load()) {
        uint32_t waited = platform::MillisSinceStart() - start;
        if (waited >= kExitWaitMs) return;
        platform::WaitWake(RefreshEnded(), kExitWaitMs - waited);
    }
}

}  // namespace

bool RefreshWhenDue(RefreshTimer &timer, uint32_t *rest_ms) {
    uint32_t now = static_cast<uint32_t>(ClockMs());
    if (timer.Due(now, g_device_change_state.load())) {
        if (!EnterRefresh()) return false;
        int state = g_device_change_state.exchange(0);
        double elapsed = timer.Start(now, state);
        platform::NoteLocalTimeOffset();  // a crash dump is named by it
        LibLog("refresh udiskflag=%d,duration=%f\n", state, elapsed);
        RefreshDevList(state);
        LeaveRefresh();
        now = static_cast<uint32_t>(ClockMs());
    }
    *rest_ms = timer.MsUntilDue(now, g_device_change_state.load());
    return true;
}

void StartEventThread(platform::DeviceEvents *source) { std::thread(EventThread, source).detach(); }

void StartRefreshThread() {
    RefreshEnded();  // made now, not in the exit handler
    std::thread(RefreshThread).detach();
}

void ForgetThreadsInChild() {
    g_refresh_busy.store(false);
    g_refresh_thread.store(std::thread::id());
}

// Without the handler (registration refused) exit keeps its plain order.
void GuardProcessExit() { (void)std::atexit(OnProcessExit); }

}  // namespace vx
