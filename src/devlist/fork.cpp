// Forking hosts (posix): a host may fork while another of its threads, or a
// refresh, holds a lock of the library; the child has only the forking thread,
// so such a lock would stay held in it for good. Around every fork the parent
// takes each lock the library owns (the library lock first, as every thread
// does), and the child gets them free and the data they guard whole. The
// child has no monitor threads; it may start its own.
#if !defined(_WIN32)

#include <new>
#include <pthread.h>

#include "common/log.h"
#include "common/state.h"
#include "devlist/monitor.h"
#include "devlist/threads.h"
#include "platform/posix/fork_locks_posix.h"
#include "standard/gbdevice.h"

namespace vx {
namespace {

void Prepare() {
    LibLock().lock();
    LogLock().lock();
    platform::LockPlatformForFork();
}

void InParent() {
    platform::UnlockPlatformAfterFork();
    LogLock().unlock();
    LibLock().unlock();
}

// How often the forking thread holds the library lock, this handler's own
// hold included. A recursive mutex records its owner by kernel thread id,
// which the child's thread no longer has: unlocking there is refused, so the
// lock is made anew and taken again as often as the thread held it before.
unsigned LibLockHolds() {
#if defined(__GLIBC__)
    return LibLock().native_handle()->__data.__count;
#else
    return 1;  // without the count, the forking thread's own holds are lost
#endif
}

void InChild() {
    unsigned holds = LibLockHolds();
    new (&LibLock()) std::recursive_mutex;
    for (unsigned i = 1; i < holds; ++i) LibLock().lock();
    new (&LogLock()) std::mutex;
    platform::RenewPlatformInChild();
    RenewMaintenanceLockInChild();
    ForgetThreadsInChild();
    ForgetMonitorInChild();
}

// Registered once, as the library is loaded (before any export can run);
// the C library drops the handlers when the library is unloaded.
const int g_fork_handlers = ::pthread_atfork(Prepare, InParent, InChild);

}  // namespace
}  // namespace vx

#endif
