// The refresh thread and one refresh.
#include <mutex>

#include "common/clock.h"
#include "common/log.h"
#include "common/state.h"
#include "devlist/list.h"
#include "devlist/monitor.h"
#include "devlist/refresh_timer.h"
#include "devlist/update.h"
#include "platform/platform.h"

namespace vx {

void RefreshDevList(int state) {
    std::unique_lock<LibMutex> event_lock(LibLock(), std::defer_lock);
    if (state != 0) event_lock.lock();  // held through the callbacks too
    int r = static_cast<int>(VX_InitDevList());
    bool changed = false;
    int32_t sum = 0;
    {
        // The recount reads every slot: under the lock, also for a timed
        // refresh, whose callback alone runs outside it.
        LibGuard lock(LibLock());
        changed = RecountDevList(r);
        sum = TheDevList().DevSum;
    }
    DevListCallback callback = CurrentCallback();
    if (changed) {
        if (callback != nullptr && !g_list_stopping.load()) callback(1, sum);
        g_dev_list_updated = 1;
    }
    if (state >= 1 && callback != nullptr && !g_list_stopping.load()) callback(2, state);
}

}  // namespace vx
