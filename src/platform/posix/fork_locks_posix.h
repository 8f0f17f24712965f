// The platform's own locks across a fork: the zone lock, the log folder's
// setter lock and every wake. Called by the library's fork handlers, in that
// order, after the library lock and the log lock are taken.
#pragma once

#include <mutex>

namespace vx::platform {

// The pieces, each beside what it guards.
std::mutex &ZoneLock();   // platform_posix.cpp
void LockWakesForFork();  // wake_posix.cpp
void UnlockWakesAfterFork();
void RenewWakesInChild();

// Takes every platform lock, so no thread of the parent is inside one when
// the process is copied.
void LockPlatformForFork();
// The parent's side: releases them.
void UnlockPlatformAfterFork();
// The child's side: each lock made anew (free, owned by nobody), and each
// wake made anew with its flag kept: the child has none of the parent's
// resting threads, whose waits a copied condition variable would still count.
void RenewPlatformInChild();

}  // namespace vx::platform
