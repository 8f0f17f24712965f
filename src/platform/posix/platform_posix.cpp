// POSIX implementation of the platform services.
#include "platform/platform.h"
#include "platform/posix/fork_locks_posix.h"

#include <chrono>
#include <climits>
#include <mutex>
#include <thread>
#include <unistd.h>

namespace vx::platform {

const char kPathSep = '/';
const char kTextNewline[] = "\n";

std::string HostExeDir() {
    char buf[PATH_MAX + 1];
    ssize_t n = ::readlink("/proc/self/exe", buf, sizeof buf - 1);
    if (n <= 0) return std::string();
    std::string path(buf, static_cast<std::size_t>(n));
    std::size_t cut = path.rfind('/');
    if (cut == std::string::npos) return std::string();
    if (cut == 0) return "/";
    return path.substr(0, cut);
}

namespace {
// Captured when the library is loaded, which is as close to process start as a
// library gets; the clock only has to be monotonic and in milliseconds.
const auto g_start = std::chrono::steady_clock::now();
}  // namespace

uint32_t MillisSinceStart() {
    auto d = std::chrono::steady_clock::now() - g_start;
    return static_cast<uint32_t>(std::chrono::duration_cast<std::chrono::milliseconds>(d).count());
}

void SleepMs(uint32_t ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

bool UtcFields(std::time_t t, std::tm *out) { return ::gmtime_r(&t, out) != nullptr; }
// The C library locks the zone state inside; this lock makes that order
// visible to the thread sanitizer, which cannot see the library's own.
std::mutex &ZoneLock() {
    static std::mutex lock;
    return lock;
}

bool LocalFields(std::time_t t, std::tm *out) {
    // localtime_r alone need not notice a changed TZ, so tzset runs first.
    std::lock_guard<std::mutex> guard(ZoneLock());
    ::tzset();
    return ::localtime_r(&t, out) != nullptr;
}

}  // namespace vx::platform
