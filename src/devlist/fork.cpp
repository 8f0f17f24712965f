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

// Leaves the library lock held across the fork: the handlers are its pair.
void Prepare() ACQUIRE(LibLock()) {
    LibLock().lock();
    LogLock().lock();
    platform::LockPlatformForFork();
}

void InParent() RELEASE(LibLock()) {
    platform::UnlockPlatformAfterFork();
    LogLock().unlock();
    LibLock().unlock();
}

void InChild() {
    LibLock().RenewInChild();
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
