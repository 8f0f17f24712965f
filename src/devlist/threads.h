// The two threads of the monitor and the process-exit guard they rely on.
#pragma once

#include <cstdint>

namespace vx::platform {
struct DeviceEvents;
}

namespace vx {

class RefreshTimer;

// Device events become g_device_change_state (1 arrival, 2 removal).
void StartEventThread(platform::DeviceEvents *source);
// Refreshes when the rules call for it and rests in between.
void StartRefreshThread();
// One turn of the refresh thread, at the library clock's now: refreshes if
// one is due, then gives the milliseconds until the next is due (the rest,
// unless a device event cuts it short). False, and no refresh, once the
// process is exiting.
bool RefreshWhenDue(RefreshTimer &timer, uint32_t *rest_ms);
// Registered once: at process exit, waits for a refresh in progress to end
// (it stops between devices) and keeps the threads from starting another,
// so they never touch state that static destruction has ended.
void GuardProcessExit();
// The fork handler's child side: no refresh runs and the refresh thread is
// nobody, so the child's exit waits for nothing.
void ForgetThreadsInChild();

}  // namespace vx
