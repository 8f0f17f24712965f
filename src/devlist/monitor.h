// The monitor (device events) and refresh threads, and how they start.
#pragma once

#include "LibVestra.h"

namespace vx {

constexpr int kRefreshStartDelayMs = 300;

// One refresh: the list update, DevSum and the callbacks. Under the library
// lock from start to end when state is not 0 (an event caused it).
void RefreshDevList(int state);

// The callback the host gave VX_InitDevListPthreadEx, or null.
DevListCallback CurrentCallback();

}  // namespace vx
