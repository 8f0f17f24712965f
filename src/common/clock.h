// Milliseconds "as clock()": wall-clock time since the process started, from
// a monotonic clock. Tests may put a clock of their own in its place.
#pragma once

#include <cstdint>

namespace vx {

int32_t ClockMs();
// Null restores the real clock.
void SetClockForTesting(uint32_t (*clock)());

}  // namespace vx
