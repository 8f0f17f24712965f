// The wake-up a thread rests on: a flag under a mutex, and a condition
// variable whose timed wait runs on the monotonic clock (glibc's
// pthread_cond_clockwait), so a change of the system's time moves no wait.
#include <chrono>
#include <condition_variable>
#include <mutex>

#include "platform/platform.h"

namespace vx::platform {

struct Wake {
    std::mutex lock;
    std::condition_variable changed;
    bool set = false;
};

Wake *NewWake() { return new Wake; }

void SetWake(Wake *wake) {
    {
        std::lock_guard<std::mutex> guard(wake->lock);
        wake->set = true;
    }
    wake->changed.notify_one();
}

bool WaitWake(Wake *wake, uint32_t ms) {
    std::unique_lock<std::mutex> lock(wake->lock);
    if (!wake->changed.wait_for(lock, std::chrono::milliseconds(ms), [&] { return wake->set; }))
        return false;
    wake->set = false;
    return true;
}

}  // namespace vx::platform
