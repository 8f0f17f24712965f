// The last-error text behind usb_strerror, and the barrier that keeps
// exceptions inside the libusb entry points.
#pragma once

#include <utility>

// Internal: kept out of the exported symbols.
#pragma GCC visibility push(hidden)

namespace vsim {

// Remembers the error for usb_strerror (per thread) and returns code.
int set_error(int code, const char *what);

template <class R, class F>
R guarded(R on_failure, F &&body) noexcept {
    try {
        return std::forward<F>(body)();
    } catch (...) {
        return on_failure;
    }
}

template <class F>
void guarded_void(F &&body) noexcept {
    try {
        std::forward<F>(body)();
    } catch (...) {
    }
}

}  // namespace vsim

#pragma GCC visibility pop
