#include "protocol/exchange.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <vector>

#include "common/log.h"
#include "common/state.h"
#include "session/login.h"
#include "transport/completeness.h"
#include "transport/usbio.h"

namespace vx {

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

void MarkNotOpen(VestraInfo *dev) {
    LibGuard lock(LibLock());
    Close_Device(dev);
    SetOutcome(dev, VX_STATUS_NOT_OPEN, "Device not Open");
    LibLog("Device not Open\n");
    DeviceChangeState = 2;
}

bool CheckRecord(VestraInfo *dev) {
    if (dev == nullptr) {
        LibLog("No Find Device\n");
        return false;
    }
    if (dev->usbHandle == nullptr) {
        MarkNotOpen(dev);
        return false;
    }
    return true;
}

uint32_t RunExchange(VestraInfo *dev, const char *password, const Request &request) {
    if (!CheckRecord(dev)) return 0;
    Login(dev, password);
    if (dev->isLogin == 0) {
        SetOutcome(dev, VX_STATUS_NO_LOGIN, "No Login Device");
        return 0;
    }

    LibGuard lock(LibLock());
    std::vector<char> reply(std::size_t(request.reply_capacity), '\0');
    int n = Transact(dev, request.command, reply.data(), request.reply_capacity);

    int parsed = kParsed;
    bool ok = n > 4 && CheckCmdResult(reply.data()) == 1;
    if (ok && request.parse) {
        parsed = request.parse(reply.data());
        ok = parsed != kNotParsed;
    }
    if (ok) {
        dev->errNo = parsed < 0 ? parsed : VX_STATUS_OK;
        if (request.reply_is_result) SetErrStr(dev, reply.data());
        return 1;
    }
    SetOutcome(dev, VX_STATUS_FAILED, reply.data());
    return 0;
}

}  // namespace vx
