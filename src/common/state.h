// Library-wide values and the per-record outcome (status number, error text).
#pragma once

#include <atomic>
#include <mutex>

#include "LibVestra.h"

namespace vx {

// The one recursive library lock that serialises every device exchange, open,
// close, list update and refresh. Constructed on first use, which happens
// before any export can take it (function-local statics are thread-safe).
std::recursive_mutex &LibLock();
using LibGuard = std::lock_guard<std::recursive_mutex>;

// Set to 2 by any transfer failure that closes a device and by the
// "Device not Open" road; the hot-plug monitor reads and resets it.
extern std::atomic<int> DeviceChangeState;
// Cleared by the direct probe/open operations; set when the monitor starts.
extern std::atomic<int> DevListEnabled;

// The library-owned record of the standard recorder interface.
VestraInfo &GbDev();

// Replaces the record's whole error text, cut to fit the field.
void SetErrStr(VestraInfo *dev, const char *text);
// Status number and error text in one step.
void SetOutcome(VestraInfo *dev, int status, const char *text);

}  // namespace vx
