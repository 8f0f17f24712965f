#include "common/log.h"

#include <atomic>
#include <cstdarg>
#include <cstdio>
#include <mutex>
#include <cstring>

#include "LibVestra.h"
#include "common/guard.h"
#include "common/timeutil.h"
#include "platform/log_dir.h"
#include "platform/platform.h"

namespace vx {
namespace {

std::atomic<int> g_log_mode{VX_LOG_FILE};
std::atomic<int> g_log_max_size{5242880};
std::atomic<bool> g_link_reported{false};  // said once per process

bool EndsInSeparator(const std::string &dir) {
    return dir.back() == platform::kPathSep || dir.back() == '/';
}

// In the folder the host chose, else beside the host executable; where its
// directory cannot be found, the bare name (the working directory), never
// the root directory.
std::string InLogFolder(const char *name) {
    char chosen[platform::kLogDirArea];
    std::string dir =
        platform::CopyLogDir(chosen, sizeof chosen) > 0 ? chosen : platform::HostExeDir();
    if (dir.empty()) return name;
    if (!EndsInSeparator(dir)) dir += platform::kPathSep;
    return dir + name;
}

bool FileSize(const std::string &path, long long *size) {
    uint64_t n = 0;
    if (!platform::FileSize(path.c_str(), &n)) return false;
    *size = n > uint64_t(INT64_MAX) ? INT64_MAX : static_cast<long long>(n);
    return true;
}

}  // namespace

// Serialises whole lines, so lines from several threads never interleave and
// no thread appends while another rotates. A leaf lock: nothing is called
// under it that could take another lock.
std::mutex &LogLock() {
    static std::mutex lock;
    return lock;
}

std::string GetLibLogPath() {
    std::string path = InLogFolder(kLogName);
    long long size = 0;
    if (FileSize(path, &size) && size > g_log_max_size.load()) {
        std::string old = InLogFolder(kOldLogName);
        platform::RemoveFile(old.c_str());
        platform::RenameFile(path.c_str(), old.c_str());
    }
    return path;
}

namespace {

// The bytes of a line as the log file holds them: each "\n" as the platform's
// text files write it (CR LF on Windows, so a message that ends in "\r\n"
// ends in "\r\r\n" there, as text-mode appends always wrote it).
std::string FileBytes(const char *line) {
    std::string bytes;
    for (const char *p = line; *p != '\0'; ++p) {
        if (*p == '\n')
            bytes += platform::kTextNewline;
        else
            bytes += *p;
    }
    return bytes;
}

// Writes one finished line where the mode says. Never throws: a log that
// cannot be written (no memory, no file) loses the line, nothing else.
void WriteLine(int mode, const char *line) noexcept {
    try {
        std::lock_guard<std::mutex> guard(LogLock());
        if (mode & VX_LOG_FILE) {
            std::string path = GetLibLogPath();
            std::string bytes = FileBytes(line);
            if (platform::AppendToFile(path.c_str(), bytes.data(), bytes.size()) ==
                    platform::Append::kLinkRefused &&
                !g_link_reported.exchange(true))
                std::fprintf(stderr, "LibVestra: %s is a symbolic link; the log is not written\n",
                             path.c_str());
        } else if (mode & VX_LOG_CONSOLE) {
            std::fputs(line, stdout);
            std::fflush(stdout);
        }
    } catch (...) {}
}

}  // namespace

// NOLINTNEXTLINE(cert-dcl50-cpp): printf-checked by its format attribute
void LibLog(const char *format, ...) {
    int mode = g_log_mode.load();
    if (mode == 0) {
        // A host with the log off still crosses daylight-saving changes: the
        // dump's name takes the offset from here, also without a refresh thread.
        platform::NoteLocalTimeOffset();
        return;
    }

    char line[kLogLineSize] = {};
    char stamp[64] = {};
    try {
        std::tm local{};
        if (GetLocalTimeStr(stamp, sizeof stamp, &local)) platform::NoteLocalTimeOffset(local);
    } catch (...) {  // a line without its time beats no line
    }
    int used = std::snprintf(line, sizeof line, "[%s] ", stamp);
    if (used < 0) used = 0;
    if (used < kLogLineSize - 1) {
        va_list args;
        va_start(args, format);
        std::vsnprintf(line + used, sizeof line - static_cast<std::size_t>(used), format, args);
        va_end(args);
    }

    WriteLine(mode, line);
}

}  // namespace vx

extern "C" {

VX_API void VX_SetLibLog(int32_t mode) { vx::g_log_mode.store(mode); }

VX_API void VX_SetLibLogSize(int32_t bytes) { vx::g_log_max_size.store(bytes); }

VX_API void VX_SetLibLogDir(const char *dir) {
    vx::GuardedVoid([&] {
        if (!vx::platform::SetLogDir(dir))
            vx::LibLog(
                "[VX_SetLibLogDir]: a folder of %d bytes or more is refused; the log "
                "stays where it was\n",
                static_cast<int>(vx::platform::kLogDirArea));
    });
}

}  // extern "C"
