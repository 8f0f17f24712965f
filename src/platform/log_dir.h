// The folder a host chose for the log and the crash dumps (VX_SetLibLogDir),
// kept where the crash handler can read it: a fixed area, no lock.
#pragma once

#include <cstddef>
#include <mutex>

namespace vx::platform {

// The longest folder text kept, terminator included.
constexpr std::size_t kLogDirArea = 4096;

// Stores a copy of dir; null or "" restores the default (beside the host
// executable). A text that does not fit is refused: false, setting unchanged.
bool SetLogDir(const char *dir);

// Copies the chosen folder into out with its terminator and returns its
// length; 0 when none is chosen (or it does not fit in out). Lock-free and
// async-signal-safe: a copy torn by a concurrent change is read again, and
// given up (0) when it keeps changing under the reader.
std::size_t CopyLogDir(char *out, std::size_t capacity);

// Serialises the setters (the readers take no lock); the fork handlers take
// it too.
std::mutex &SetterLock();

}  // namespace vx::platform
