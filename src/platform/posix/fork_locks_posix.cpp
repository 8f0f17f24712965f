#include "platform/posix/fork_locks_posix.h"

#include <new>

#include "platform/log_dir.h"

namespace vx::platform {

// None of these nests inside another, so any order is deadlock-free; the
// same order each time keeps it readable.
void LockPlatformForFork() {
    SetterLock().lock();
    ZoneLock().lock();
    LockWakesForFork();
}

void UnlockPlatformAfterFork() {
    UnlockWakesAfterFork();
    ZoneLock().unlock();
    SetterLock().unlock();
}

void RenewPlatformInChild() {
    RenewWakesInChild();
    new (&ZoneLock()) std::mutex;
    new (&SetterLock()) std::mutex;
}

}  // namespace vx::platform
