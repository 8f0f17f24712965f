#include "protocol/exchange.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>

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
    WriteFullDev(dev, command);  // a failed write shows as a failed read
    return ReadFullDev(dev, reply, capacity);
}

bool ReplyAccepted(const char *reply, int n) { return n > 4 && CheckCmdResult(reply) == 1; }

}  // namespace vx
