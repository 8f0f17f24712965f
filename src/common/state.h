// Library-wide values and the per-record outcome (status number, error text).
#pragma once

#include <atomic>
#include <cstdint>
#include <mutex>
#include <new>

#include "LibVestra.h"
#include "common/thread_safety.h"

namespace vx {

// The recursive library lock as a capability the compiler tracks: internal
// steps that need it held say REQUIRES(LibLock()) and do not take it again.
// Recursion stays for the host's list section and its callbacks, which call
// exports while holding it.
class CAPABILITY("mutex") LibMutex {
public:
    void lock() ACQUIRE() {
        native_.lock();
        ++holds_;
    }
    void unlock() RELEASE() {
        --holds_;
        native_.unlock();
    }
    // In a forked child, whose one thread held the lock through the fork
    // handlers: the old mutex names an owner thread the child lacks, so it is
    // made anew and taken again as often as the thread held it before the
    // handler's own hold.
    void RenewInChild() NO_THREAD_SAFETY_ANALYSIS {
        unsigned keep = holds_ - 1;
        new (&native_) std::recursive_mutex;
        holds_ = 0;
        for (unsigned i = 0; i < keep; ++i) lock();
    }

private:
    std::recursive_mutex native_;
    unsigned holds_ = 0;  // changed only by the owning thread, under native_
};

// The one library lock that serialises every device exchange, open, close,
// list update and refresh. Constructed on first use, which happens before
// any export can take it (function-local statics are thread-safe).
LibMutex &LibLock() noexcept;

// Holds the library lock from construction to the end of its scope.
class SCOPED_CAPABILITY LibGuard {
public:
    explicit LibGuard(LibMutex &lock) ACQUIRE(lock) : lock_(lock) { lock_.lock(); }
    ~LibGuard() RELEASE() { lock_.unlock(); }
    LibGuard(const LibGuard &) = delete;
    LibGuard &operator=(const LibGuard &) = delete;

private:
    LibMutex &lock_;
};

// 1 an arrival was reported, 2 a removal (or an operation found its device
// gone), 0 nothing pending. Written through SetDeviceChangeState; the refresh
// thread takes and resets it in one step.
extern std::atomic<int> g_device_change_state;
// Every writer that means "a refresh is due" (the event source, a transfer
// failure that closes a device, the "Device not Open" road, the monitor's
// start) comes here: the value is set, then the refresh thread woken.
void SetDeviceChangeState(int value);
// The refresh thread's rest: until the next SetDeviceChangeState (true) or
// ms have passed (false). A call made while it was not resting still wakes
// the next rest, so no event is lost between a look and a rest.
bool WaitForDeviceChange(uint32_t ms);
// Cleared by the direct probe/open operations; set when the monitor starts.
extern std::atomic<int> g_dev_list_enabled;

// The library-owned record of the standard recorder interface.
VestraInfo &GbDev();

// Replaces the record's whole error text, cut to fit the field (status
// number and text together: SetOutcome, common/outcome.h).
void SetErrStr(VestraInfo *dev, const char *text);

}  // namespace vx
