// Identity, clock, account, battery and video-encoder information.
#include <cstring>
#include <string_view>

#include "common/clock.h"
#include "common/guard.h"
#include "common/state.h"
#include "common/text.h"
#include "common/timeutil.h"
#include "ops/rows.h"
#include "ops/steps.h"
#include "session/login.h"

using namespace vx;
using namespace vx::ops;

namespace {

constexpr int32_t kBatteryWindowMs = 20000;

std::string UtcNow() {
    char now[32] = {};
    GetUtcTimeStr(now, sizeof now);
    return now;
}

// Whether the battery may be asked now (throttled: not within 20 s of the
// last query); if so, the time is noted in the record. False for a null record.
bool NoteBatteryQuery(VestraInfo *dev, bool throttled) {
    if (dev == nullptr) return false;
    LibGuard lock(LibLock());
    int32_t now = ClockMs();
    int64_t elapsed = int64_t(now) - int64_t(dev->lastBatteryQuery);
    if (throttled && elapsed >= 0 && elapsed <= kBatteryWindowMs) return false;
    dev->lastBatteryQuery = now;
    return true;
}

}  // namespace

extern "C" {

VX_API uint32_t VX_GetDevInfo(VestraInfo *dev, const char *password, ZFYInfo *info) {
    return Guarded(0u, [&] {
        ZFYInfo scratch{};
        ZFYInfo *z = info != nullptr ? info : &scratch;
        return Get(
            dev, password, rows::kGetDevInfo,
            {Out::Field(z->serial, sizeof z->serial), Out::Field(z->userNo, sizeof z->userNo),
             Out::Field(z->userName, sizeof z->userName), Out::Field(z->unitNo, sizeof z->unitNo),
             Out::Field(z->unitName, sizeof z->unitName)});
    });
}

VX_API uint32_t VX_SetDevInfo(VestraInfo *dev, const char *password, const ZFYInfo *info) {
    return Guarded(0u, [&] {
        ZFYInfo empty{};
        const ZFYInfo &z = info != nullptr ? *info : empty;
        return Set(dev, password, rows::kSetDevInfo,
                   {AreaText(z.serial, sizeof z.serial), AreaText(z.userNo, sizeof z.userNo),
                    AreaText(z.userName, sizeof z.userName), AreaText(z.unitNo, sizeof z.unitNo),
                    AreaText(z.unitName, sizeof z.unitName)});
    });
}

VX_API uint32_t VX_SetDevTime(VestraInfo *dev, const char *password) {
    return Guarded(0u, [&] { return Set(dev, password, rows::kSetDevTime, {UtcNow()}); });
}
VX_API uint32_t VX_SetDevTimeCfg(VestraInfo *dev, const char *password, int32_t value,
                                 const char *text) {
    return Guarded(0u, [&] {
        return Set(dev, password, rows::kSetDevTime, {UtcNow(), int32_t(0), value, text});
    });
}
VX_API uint32_t VX_GetDevTimeCfg(VestraInfo *dev, const char *password, char *time, uint32_t *second,
                                 uint32_t *third, char *fourth) {
    return Guarded(0u, [&] {
        return Get(dev, password, rows::kGetDevTime,
                   {Out::Field(time, kArea), Out::Num(second), Out::Num(third),
                    Out::Field(fourth, kArea)});
    });
}
VX_API uint32_t VX_GetDevTime(VestraInfo *dev, const char *password, char *time) {
    uint32_t second = 0, third = 0;
    char fourth[kArea] = {};
    return VX_GetDevTimeCfg(dev, password, time, &second, &third, fourth);
}

VX_API uint32_t VX_SetDevUser(VestraInfo *dev, const char *password, const char *user,
                              const char *password1, const char *password2) {
    return Guarded(0u, [&] {
        return Set(dev, password, rows::kSetDevUser,
                   {user, PasswordDigest(password1 ? password1 : ""),
                    PasswordDigest(password2 ? password2 : "")});
    });
}

// Asked at most once in 20 s: the time of the last accepted query is kept in
// the record, and set before the exchange whatever its outcome.
VX_API uint32_t VX_GetBatVal(VestraInfo *dev, const char *password, uint32_t *level) {
    return Guarded(0u, [&]() -> uint32_t {
        if (!NoteBatteryQuery(dev, /*throttled=*/true)) return 0;
        return Get(dev, password, rows::kGetBatVal, {Out::Num(level)});
    });
}
// The same query at once; noted as above, so the window starts again.
VX_API uint32_t VX_GetBatValNow(VestraInfo *dev, const char *password, uint32_t *level) {
    return Guarded(0u, [&]() -> uint32_t {
        if (!NoteBatteryQuery(dev, /*throttled=*/false)) return 0;
        return Get(dev, password, rows::kGetBatVal, {Out::Num(level)});
    });
}

}  // extern "C"
