// One list update: the removal pass, then the arrival pass. Also the state
// the monitor shares with the update (whether the process is ending).
#pragma once

#include <atomic>

#include "common/state.h"

namespace vx {

// True once the process has begun to exit: passes stop between devices.
extern std::atomic<bool> g_list_stopping;

// After an update: DevSum recounted, logged and g_dev_list_updated set when the
// update changed a slot or the count moved. True when it did. Lock held.
bool RecountDevList(int changed) REQUIRES(LibLock());

}  // namespace vx
