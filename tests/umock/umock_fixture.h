// Runs each case in a child process of this program under umockdev's
// preload library, so that the testbed stands in for /sys and /dev and
// libusb 0.1's usbdevfs ioctls reach the emulated devices. A child also
// keeps the monitor threads and libusb's once-only bus scan of one case
// away from the next.
#pragma once

#include <dlfcn.h>
#include <link.h>
#include <gtest/gtest.h>

#include <chrono>
#include <climits>
#include <cstdlib>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "support/run_in_child.h"

namespace umock {

inline bool InChild() { return std::getenv("VX_UMOCK_CHILD") != nullptr; }

// The sanitizer runtime this program was linked with, or empty: it must
// stay first among preloaded libraries, ahead of umockdev's.
inline std::string SanitizerRuntime() {
    std::string found;
    ::dl_iterate_phdr(
        [](dl_phdr_info *info, size_t, void *out) {
            std::string name = info->dlpi_name != nullptr ? info->dlpi_name : "";
            if (name.find("/libasan.so") != std::string::npos ||
                name.find("/libtsan.so") != std::string::npos) {
                *static_cast<std::string *>(out) = name;
                return 1;
            }
            return 0;
        },
        &found);
    return found;
}

// In the parent: runs the current test alone in a preloaded child, true
// there (the caller returns). In the child: false, the test body runs.
inline bool RunUnderUmockdev() {
    if (InChild()) return false;
    std::vector<std::string> preload{SanitizerRuntime()};
    if (const char *earlier = std::getenv("LD_PRELOAD")) preload.emplace_back(earlier);
    preload.emplace_back("libumockdev-preload.so.0");
    std::string list;
    for (const std::string &p : preload)
        if (!p.empty()) list += (list.empty() ? "" : ":") + p;
    std::string tsan = "TSAN_OPTIONS=suppressions=" VX_UMOCK_TSAN_SUPP;
    if (const char *earlier = std::getenv("TSAN_OPTIONS")) tsan += std::string(" ") + earlier;
    testsupport::RunCaseInChild({"VX_UMOCK_CHILD=1", "LD_PRELOAD=" + list, tsan});
    return true;
}

// The file the loader bound the library's libusb calls to.
inline std::string LoadedLibusb() {
    Dl_info where{};
    void *symbol = ::dlsym(RTLD_DEFAULT, "usb_bulk_read");
    if (symbol == nullptr || ::dladdr(symbol, &where) == 0 || where.dli_fname == nullptr) return {};
    char resolved[PATH_MAX];
    return ::realpath(where.dli_fname, resolved) != nullptr ? resolved : where.dli_fname;
}

inline std::string SystemLibusb() {
    char resolved[PATH_MAX];
    return ::realpath(VX_SYSTEM_LIBUSB, resolved) != nullptr ? resolved : VX_SYSTEM_LIBUSB;
}

// Waits (at most timeout_ms) for done() to hold.
inline bool WaitUntil(const std::function<bool()> &done, int timeout_ms = 10000) {
    for (int waited = 0; waited < timeout_ms; waited += 10) {
        if (done()) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return done();
}

}  // namespace umock
