// The last-error text behind usb_strerror, and the barrier that keeps
// exceptions inside the libusb entry points.
#pragma once

#include "common/guard.h"

// Internal: kept out of the exported symbols.
#pragma GCC visibility push(hidden)

namespace vsim {

// Remembers the error for usb_strerror (per thread) and returns code as the
// platform's libusb would: unchanged on Linux (negative errno values); on
// Windows kTimedOut for -ETIMEDOUT and kIoError for any other failure.
int set_error(int code, const char *what);

// The library's own barrier keeps exceptions inside the entry points here too.
using vx::Guarded;
using vx::GuardedVoid;

}  // namespace vsim

#pragma GCC visibility pop
