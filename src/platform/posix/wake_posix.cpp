// The wake-up a thread rests on: a flag under a mutex, and a condition
// variable whose timed wait runs on the monotonic clock (glibc's
// pthread_cond_clockwait), so a change of the system's time moves no wait.
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <new>

#include "platform/platform.h"
#include "platform/posix/fork_locks_posix.h"

namespace vx::platform {

struct Wake {
    std::mutex lock;
    std::condition_variable changed;
    bool set = false;
};

namespace {
// Every wake made, for the fork handlers. A handful exist (one per resting
// thread kind), each made once; a wake beyond the table is never renewed.
constexpr int kMaxWakes = 16;
std::atomic<Wake *> g_wakes[kMaxWakes];
std::atomic<int> g_wake_count{0};

template <class Visit>
void EachWake(Visit visit) {
    int n = g_wake_count.load();
    for (int i = 0; i < n && i < kMaxWakes; ++i)
        if (Wake *wake = g_wakes[i].load()) visit(wake);
}

// The wakes locked before the fork: a wake made meanwhile is not unlocked.
// Forks are serialised by the library lock, which the handlers take first.
Wake *g_held[kMaxWakes];
int g_held_count = 0;
}  // namespace

Wake *NewWake() {
    Wake *wake = new Wake;
    int slot = g_wake_count.fetch_add(1);
    if (slot < kMaxWakes) g_wakes[slot].store(wake);
    return wake;
}

void LockWakesForFork() {
    g_held_count = 0;
    EachWake([](Wake *wake) {
        wake->lock.lock();
        g_held[g_held_count++] = wake;
    });
}

void UnlockWakesAfterFork() {
    for (int i = 0; i < g_held_count; ++i) g_held[i]->lock.unlock();
}

// The old mutex and condition variable are left as they are (destroying a
// condition variable the parent's threads waited on could block for good).
void RenewWakesInChild() {
    EachWake([](Wake *wake) {
        bool set = wake->set;
        new (wake) Wake;
        wake->set = set;
    });
}

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
