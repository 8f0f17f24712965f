// Windows implementation of the platform services: the host executable's
// directory, the millisecond clock, sleeping and broken-down time.
#include "platform/platform.h"

#include <windows.h>

#include <ctime>
#include <mutex>
#include <vector>

namespace vx::platform {

const char kPathSep = '\\';
const char kTextNewline[] = "\r\n";

std::string HostExeDir() {
    // The module of the process (the host executable), not this DLL's.
    std::vector<wchar_t> path(MAX_PATH);
    for (;;) {
        DWORD n = ::GetModuleFileNameW(nullptr, path.data(), DWORD(path.size()));
        if (n == 0) return std::string();
        if (n < path.size()) {
            path.resize(n);
            break;
        }
        if (path.size() >= 32768) return std::string();
        path.resize(path.size() * 2);
    }
    std::size_t cut = path.size();
    while (cut > 0 && path[cut - 1] != L'\\' && path[cut - 1] != L'/') --cut;
    if (cut <= 1) return std::string();  // no directory part
    path.resize(cut - 1);
    if (path.size() == 2 && path[1] == L':') path.push_back(L'\\');  // "C:" -> "C:\"
    // Narrow in the ANSI code page: the form every file operation here reads.
    int need = ::WideCharToMultiByte(CP_ACP, 0, path.data(), int(path.size()), nullptr, 0, nullptr,
                                     nullptr);
    if (need <= 0) return std::string();
    std::string out(std::size_t(need), '\0');
    ::WideCharToMultiByte(CP_ACP, 0, path.data(), int(path.size()), out.data(), need, nullptr,
                          nullptr);
    return out;
}

namespace {
// Captured when the library is loaded: clock() on Windows counts wall-clock
// time from the process's start in the same way.
const ULONGLONG g_start = ::GetTickCount64();
}  // namespace

uint32_t MillisSinceStart() { return static_cast<uint32_t>(::GetTickCount64() - g_start); }

void SleepMs(uint32_t ms) { ::Sleep(ms); }

bool UtcFields(std::time_t t, std::tm *out) {
    __time64_t v = t;
    return ::_gmtime64_s(out, &v) == 0;
}

bool LocalFields(std::time_t t, std::tm *out) {
    // _tzset reads TZ again (the runtime caches it); one caller at a time.
    static std::mutex zone_lock;
    std::lock_guard<std::mutex> guard(zone_lock);
    ::_tzset();
    __time64_t v = t;
    return ::_localtime64_s(out, &v) == 0;
}

}  // namespace vx::platform
