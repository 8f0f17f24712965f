#include "protocol/exchange.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>

#include "common/log.h"
#include "transport/completeness.h"
#include "transport/usbio.h"

namespace vx {

// NOLINTNEXTLINE(cert-dcl50-cpp): printf-checked by its format attribute
std::string FormatCommand(const char *format, ...) {
    char area[kCommandArea] = {};
    va_list args;
    va_start(args, format);
    int n = std::vsnprintf(area, sizeof area, format, args);
    va_end(args);
    if (n < 0) return std::string();
    return std::string(area, std::size_t(n) < sizeof area ? std::size_t(n) : sizeof area - 1);
}

int Transact(VestraInfo *dev, std::string_view command, char *reply, int capacity) {
    std::fill(reply, reply + capacity, '\0');
    int written = WriteFullDev(dev, command);  // a failed write shows as a failed read
    if (written >= 0 && written < int(command.size())) {
        // A device that takes a cut line as a command would act on it and
        // answer OK; its reply is not read, so a cut command never succeeds.
        LibLog("[%s]: command cut after %d of %d bytes: no reply read\n", "Transact", written,
               int(command.size()));
        return -1;
    }
    return ReadFullDev(dev, reply, capacity);
}

bool ReplyAccepted(const char *reply, int n) { return n > 4 && CheckCmdResult(reply) == 1; }

}  // namespace vx
