// Starting the monitor: crash handler, a clear list, the event source and
// the threads. Only the first start does anything; nothing stops them.
#include "devlist/monitor.h"

#include <atomic>
#include <string>

#include "common/guard.h"
#include "common/log.h"
#include "common/state.h"
#include "devlist/list.h"
#include "devlist/threads.h"
#include "platform/platform.h"

namespace vx {

namespace {

std::atomic<bool> g_monitor_started{false};  // the threads of this process
std::atomic<bool> g_installed{false};        // handler, pin and exit guard
std::atomic<DevListCallback> g_callback{nullptr};

void StartMonitor(DevListCallback callback, bool with_refresh, const char *who) {
    if (g_monitor_started.exchange(true)) return;
    LibGuard lock(LibLock());
    if (!g_installed.exchange(true)) {
        bool pinned = false;
        platform::InstallCrashHandler(&pinned);
        if (!pinned) LibLog("[%s]: crash handler installed but not pinned\n", who);
        // The threads run this library's code until the process ends: it must
        // never be unloaded, and exit must not pull state from under them.
        platform::KeepLibraryLoaded();
        GuardProcessExit();
    }
    // A forked child's list holds the parent's handles: forgotten, not
    // closed (closing would release the parent's claim on the interface).
    ClearDevList();
    if (callback != nullptr) g_callback = callback;
    // Set before any thread runs, so a host that updates the list right
    // after the start finds it enabled and the first refresh scans the bus.
    g_dev_list_enabled = 1;
    SetDeviceChangeState(2);
    std::string source_name;
    platform::DeviceEvents *source = platform::OpenDeviceEvents(&source_name);
    if (source != nullptr) {
        LibLog("[%s]: USB events from %s\n", who, source_name.c_str());
        StartEventThread(source);
    } else {
        LibLog("[%s]: no USB event source (%s); timed refreshes keep the list current\n", who,
               source_name.c_str());
    }
    if (with_refresh) StartRefreshThread();
}

}  // namespace

void ForgetMonitorInChild() { g_monitor_started.store(false); }

DevListCallback CurrentCallback() { return g_callback.load(); }

}  // namespace vx

using namespace vx;

extern "C" {

VX_API void VX_InitDevListPthreadEx(DevListCallback callback) {
    GuardedVoid([&] { StartMonitor(callback, true, "VX_InitDevListPthreadEx"); });
}

VX_API void VX_InitDevListPthread(void) {
    GuardedVoid([] { StartMonitor(nullptr, false, "VX_InitDevListPthread"); });
}

}  // extern "C"
