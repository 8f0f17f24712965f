// The library's one diagnostic writer. Lines go to "LibVestra.log" beside the
// host executable (rotated to "LibVestra.1.log"), to standard output, or
// nowhere, as VX_SetLibLog chooses. Logging never fails an operation.
#pragma once

#include <mutex>
#include <string>

namespace vx {

constexpr int kLogLineSize = 1024;  // a whole line is at most 1023 characters
constexpr const char *kLogName = "LibVestra.log";
constexpr const char *kOldLogName = "LibVestra.1.log";

// printf-style; the message carries its own "\n".
void LibLog(const char *format, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 1, 2)))
#endif
    ;

// Serialises whole lines and the rotation; a leaf lock (the fork handlers
// take it after the library lock).
std::mutex &LogLock();

// Full path of the current log; rotates it first when it is over the limit.
std::string GetLibLogPath();

}  // namespace vx
