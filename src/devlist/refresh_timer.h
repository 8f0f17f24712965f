// When the refresh thread refreshes: a pending device event is acted on no
// sooner than 2 s after the previous refresh; without one, after the quiet
// interval, which starts at 10 s, grows by 5 s per timed refresh up to
// 3600 s, and drops back to 10 s after an event-caused one.
#pragma once

#include <cstdint>

namespace vx {

constexpr uint32_t kEventDebounceMs = 2000;
constexpr int kFirstIntervalS = 10;
constexpr int kIntervalStepS = 5;
constexpr int kLongestIntervalS = 3600;

class RefreshTimer {
public:
    explicit RefreshTimer(uint32_t start_ms) : last_ms_(start_ms) {}

    bool Due(uint32_t now_ms, int pending) const { return MsUntilDue(now_ms, pending) == 0; }

    // How long until a refresh is due (0: now): the end of the debounce when
    // an event is pending, else the end of the quiet interval. The refresh
    // thread rests exactly that long unless an event comes first.
    uint32_t MsUntilDue(uint32_t now_ms, int pending) const {
        uint32_t elapsed = now_ms - last_ms_;  // unsigned: survives the clock's wrap
        uint32_t due = static_cast<uint32_t>(interval_s_) * 1000u;
        if (pending > 0 && kEventDebounceMs < due) due = kEventDebounceMs;
        return elapsed >= due ? 0 : due - elapsed;
    }

    // A refresh starts now for the taken state; returns the seconds since the
    // previous one (the figure the refresh line logs).
    double Start(uint32_t now_ms, int taken) {
        double elapsed_s = static_cast<double>(now_ms - last_ms_) / 1000.0;
        if (taken > 0)
            interval_s_ = kFirstIntervalS;
        else if (interval_s_ < kLongestIntervalS)
            interval_s_ += kIntervalStepS;
        last_ms_ = now_ms;
        return elapsed_s;
    }

    int IntervalSeconds() const { return interval_s_; }

private:
    uint32_t last_ms_;
    int interval_s_ = kFirstIntervalS;
};

}  // namespace vx
