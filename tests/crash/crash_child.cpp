// A host that crashes, for the crash dump tests. Modes:
//   monitor        start the monitor, then fault (SIGSEGV)
//   own-handler    start the monitor, install its own SIGSEGV handler (with
//                  sigaction and with signal), then fault
//   dlopen         load the library with dlopen as ctypes does, start the
//                  monitor through dlsym, install its own handler, then fault
//   abort          start the monitor, then abort()
//   no-monitor     fault without starting the monitor
//   zone-log       start the monitor in UTC, move to UTC+9, write one log
//                  line, then fault (the dump is named in UTC+9)
//   zone-refresh   start the monitor and refresh thread in UTC, move to
//                  UTC+9, fault after the first refresh (named in UTC+9)
#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>
#include <dlfcn.h>
#include <unistd.h>

#include "LibVestra.h"

namespace {
void OwnHandler(int) {
    static const char kText[] = "own handler ran\n";
    (void)!::write(2, kText, sizeof kText - 1);
    ::_exit(42);
}
void InstallOwn() {
    struct sigaction sa {};
    sa.sa_handler = OwnHandler;
    ::sigaction(SIGSEGV, &sa, nullptr);
    ::signal(SIGSEGV, OwnHandler);
}
// The address comes from outside the compiler's view, so the store is a
// real fault and not an optimised-out null dereference.
[[gnu::noinline]] void Fault() {
    auto *p = reinterpret_cast<volatile int *>(std::strtoul(
        std::getenv("VX_FAULT_ADDRESS") ? std::getenv("VX_FAULT_ADDRESS") : "0x10", nullptr, 0));
    *p = 1;
}
}  // namespace

int main(int argc, char **argv) {
    if (argc < 2) return 2;
    std::string mode = argv[1];
    VX_SetLibLog(VX_LOG_OFF);
    if (mode == "dlopen") {
        void *lib = ::dlopen(argc > 2 ? argv[2] : "LibVestra.so", RTLD_NOW | RTLD_LOCAL);
        if (lib == nullptr) return 3;
        auto start = reinterpret_cast<void (*)()>(::dlsym(lib, "VX_InitDevListPthread"));
        if (start == nullptr) return 4;
        start();
        InstallOwn();
        Fault();
    }
    if (mode == "no-monitor") Fault();
    if (mode == "zone-log" || mode == "zone-refresh") {
        static std::atomic<bool> refreshed{false};
        ::setenv("TZ", "UTC0", 1);
        if (mode == "zone-log") VX_InitDevListPthread();
        if (mode == "zone-refresh")
            VX_InitDevListPthreadEx([](int32_t kind, int32_t) { refreshed = kind == 2; });
        ::setenv("TZ", "XST-9", 1);  // before the first refresh, 2 s after the start
        if (mode == "zone-log") {
            VX_SetLibLog(VX_LOG_FILE);
            VX_GetDevName(nullptr, "", nullptr);  // logs "No Find Device"
        }
        for (int i = 0; mode == "zone-refresh" && !refreshed.load() && i < 3000; ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        Fault();
    }
    VX_InitDevListPthread();
    if (mode == "own-handler") InstallOwn();
    if (mode == "abort") std::abort();
    Fault();
    return 0;
}
