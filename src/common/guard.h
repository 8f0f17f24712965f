// The exception barrier of every exported function: nothing thrown inside the
// library (an allocation failure, a bug) may cross the C interface.
#pragma once

#include <utility>

namespace vx {

template <class R, class F>
R Guarded(R on_failure, F &&body) noexcept {
    try {
        return std::forward<F>(body)();
    } catch (...) {
        return on_failure;
    }
}

template <class F>
void GuardedVoid(F &&body) noexcept {
    try {
        std::forward<F>(body)();
    } catch (...) {}
}

}  // namespace vx
