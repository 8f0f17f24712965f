// usb_strerror: the text of the calling thread's last error, in the words of
// libusb 0.1 ("<what>: <strerror>"). Never a reliable diagnostic; plausible.
#include "transport/models.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "usb_error.h"
#include "vsim.h"

namespace vsim {
namespace {
thread_local char last_error[256] = "No error";

#if defined(_WIN32)
// libusb-win32 reports a time-out as -116 and nearly every other failure as
// -5 (EIO); the sim answers as the real library of its platform does.
int platform_code(int code) {
    if (code >= 0) return code;
    return code == -ETIMEDOUT ? kTimedOut : kIoError;
}
const char *reason_of(int code, char *buf, std::size_t size) {
    if (strerror_s(buf, size, code < 0 ? -code : code) != 0)
        std::snprintf(buf, size, "error %d", code);
    return buf;
}
#else
int platform_code(int code) { return code; }
// Either strerror_r: the GNU one returns the text, the XSI one fills buf.
[[maybe_unused]] const char *pick(const char *text, char *) { return text; }
// NOLINTNEXTLINE(readability-non-const-parameter): the XSI form filled it
[[maybe_unused]] const char *pick(int, char *buf) { return buf; }
const char *reason_of(int code, char *buf, std::size_t size) {
    buf[0] = '\0';
    return pick(strerror_r(code < 0 ? -code : code, buf, size), buf);
}
#endif

}  // namespace

int set_error(int code, const char *what) {
    char reason[128];
    std::snprintf(last_error, sizeof last_error, "%s: %s", what,
                  reason_of(code, reason, sizeof reason));
    return platform_code(code);
}

}  // namespace vsim

extern "C" char *usb_strerror(void) { return vsim::last_error; }
