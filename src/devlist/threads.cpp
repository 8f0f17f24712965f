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
constexpr int kExitWaitMs = 10000;  // a refresh stops between devices well before
constexpr int kExitPollMs = 5;
constexpr uint32_t kZoneCheckMs = 60000;

// Enters a refresh unless the process is exiting.
bool EnterRefresh() {
    g_refresh_busy.store(true);
    if (!g_list_stopping.load()) return true;
    g_refresh_busy.store(false);
    return false;
}

void RefreshThread() {
    platform::PrepareThreadForCrashes();
    g_refresh_thread.store(std::this_thread::get_id());
    platform::SleepMs(kRefreshStartDelayMs);
    RefreshTimer timer(static_cast<uint32_t>(ClockMs()));
    uint32_t zone_checked = static_cast<uint32_t>(ClockMs());
    for (;;) {
        platform::SleepMs(kRefreshPollMs);
        if (g_list_stopping.load()) return;
        uint32_t now = static_cast<uint32_t>(ClockMs());
        if (now - zone_checked >= kZoneCheckMs) {
            platform::NoteLocalTimeOffset();
            zone_checked = now;
        }
        if (!timer.Due(now, DeviceChangeState.load())) continue;
        if (!EnterRefresh()) return;
        int state = DeviceChangeState.exchange(0);
        double elapsed = timer.Start(now, state);
        LibLog("refresh udiskflag=%d,duration=%f\n", state, elapsed);
        RefreshDevList(state);
        g_refresh_busy.store(false);
    }
}

void EventThread(platform::DeviceEvents *source) {
    platform::PrepareThreadForCrashes();
    for (;;) {
        platform::DeviceEvent event = platform::WaitDeviceEvent(source);
        if (event == platform::kSourceFailed) return;  // timed refreshes go on
        if (event == platform::kArrival || event == platform::kRemoval) DeviceChangeState = event;
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
    for (int waited = 0; g_refresh_busy.load() && waited < kExitWaitMs; waited += kExitPollMs)
        platform::SleepMs(kExitPollMs);
}

}  // namespace

void StartEventThread(platform::DeviceEvents *source) { std::thread(EventThread, source).detach(); }

void StartRefreshThread() { std::thread(RefreshThread).detach(); }

void GuardProcessExit() { std::atexit(OnProcessExit); }

}  // namespace vx
