// The crash collector's chain: a fatal signal goes first to the action that
// was in force before the collector installed itself (a managed runtime's
// null-reference and safepoint handler, a host's recovery handler), and only
// a fault that this earlier action leaves unresolved reaches the dump.
#pragma once

#include <csignal>

namespace vx::platform {

// Notes the action in force for sig; called before the collector replaces it.
void RecordEarlierAction(int sig);

enum class EarlierVerdict {
    kResolved,    // the thread resumes elsewhere, or the memory was made accessible
    kUnresolved,  // default, ignored, or returned unchanged, or re-raised: dump
    kReraised,    // this entry is the earlier handler re-raising its own signal
                  // on this thread: the entry that called it decides
};

// Runs the earlier action for this delivery as the kernel would have run it
// and says what became of the fault. Async-signal-safe.
EarlierVerdict OfferToEarlierAction(int sig, siginfo_t *info, void *context);

}  // namespace vx::platform
