// Clang's thread-safety attributes: the lock contract written into the
// types and checked at compile time (-Wthread-safety, scripts/lint.sh).
// Other compilers see nothing.
#pragma once

#if defined(__clang__)
#define VX_THREAD_ATTRIBUTE(x) __attribute__((x))
#else
#define VX_THREAD_ATTRIBUTE(x)
#endif

// A type whose objects are locks.
#define CAPABILITY(name) VX_THREAD_ATTRIBUTE(capability(name))
// A guard that holds a lock for its lifetime.
#define SCOPED_CAPABILITY VX_THREAD_ATTRIBUTE(scoped_lockable)
// Data read or written only with the lock held.
#define GUARDED_BY(lock) VX_THREAD_ATTRIBUTE(guarded_by(lock))
// A function called only with the lock held (it does not take it again).
#define REQUIRES(...) VX_THREAD_ATTRIBUTE(requires_capability(__VA_ARGS__))
// A function that takes the lock itself, so it is not called holding it.
#define EXCLUDES(...) VX_THREAD_ATTRIBUTE(locks_excluded(__VA_ARGS__))
#define ACQUIRE(...) VX_THREAD_ATTRIBUTE(acquire_capability(__VA_ARGS__))
#define RELEASE(...) VX_THREAD_ATTRIBUTE(release_capability(__VA_ARGS__))
// A function whose locking the analysis cannot follow (a lock held past its
// return on purpose); each use says why.
#define NO_THREAD_SAFETY_ANALYSIS VX_THREAD_ATTRIBUTE(no_thread_safety_analysis)
