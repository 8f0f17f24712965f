// usb_strerror: the text of the calling thread's last error, in the words of
// libusb 0.1 ("<what>: <strerror>"). Never a reliable diagnostic; plausible.
#include <usb.h>

#include <cstdio>
#include <cstring>

#include "usb_error.h"

namespace vsim {
namespace {
thread_local char last_error[256] = "No error";
}

int set_error(int code, const char *what) {
    char reason[128];
    const char *text = strerror_r(code < 0 ? -code : code, reason, sizeof reason);
    std::snprintf(last_error, sizeof last_error, "%s: %s", what, text);
    return code;
}

}  // namespace vsim

extern "C" char *usb_strerror(void) { return vsim::last_error; }
