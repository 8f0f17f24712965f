#include "common/clock.h"

#include <atomic>

#include "platform/platform.h"

namespace vx {
namespace {
std::atomic<uint32_t (*)()> g_clock{nullptr};
}  // namespace

int32_t ClockMs() {
    uint32_t (*clock)() = g_clock.load();
    return int32_t(clock != nullptr ? clock() : platform::MillisSinceStart());
}

void SetClockForTesting(uint32_t (*clock)()) { g_clock.store(clock); }

}  // namespace vx
