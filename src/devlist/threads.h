// The two threads of the monitor and the process-exit guard they rely on.
#pragma once

namespace vx::platform {
struct DeviceEvents;
}

namespace vx {

// Device events become DeviceChangeState (1 arrival, 2 removal).
void StartEventThread(platform::DeviceEvents *source);
// Checks the refresh rules every kRefreshPollMs and refreshes when due.
void StartRefreshThread();
// Registered once: at process exit, waits for a refresh in progress to end
// (it stops between devices) and keeps the threads from starting another,
// so they never touch state that static destruction has ended.
void GuardProcessExit();

}  // namespace vx
