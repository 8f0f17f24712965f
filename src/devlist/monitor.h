// The monitor (device events) and refresh threads, and how they start.
#pragma once

#include "LibVestra.h"

namespace vx {

constexpr int kRefreshStartDelayMs = 300;

// One refresh: the list update, DevSum and the callbacks. Under the library
// lock from start to end when state is not 0 (an event caused it).
void RefreshDevList(int state);

// The fork handler's child side: the child has no monitor threads, and may
// start its own (the process-wide installs are not made again).
void ForgetMonitorInChild();

// The callback the host gave VX_InitDevListPthreadEx, or null.
DevListCallback CurrentCallback();

}  // namespace vx
