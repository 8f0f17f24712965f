#include "common/state.h"

#include "common/guard.h"
#include "common/text.h"
#include "platform/platform.h"

namespace vx {

LibMutex &LibLock() noexcept {
    static LibMutex lock;
    return lock;
}

std::atomic<int> g_device_change_state{0};
std::atomic<int> g_dev_list_enabled{0};

namespace {
platform::Wake *ChangeWake() {
    static platform::Wake *const wake = platform::NewWake();
    return wake;
}
}  // namespace

void SetDeviceChangeState(int value) {
    g_device_change_state.store(value);  // before the wake: the woken thread sees it
    platform::SetWake(ChangeWake());
}

bool WaitForDeviceChange(uint32_t ms) { return platform::WaitWake(ChangeWake(), ms); }

VestraInfo &GbDev() {
    static VestraInfo record{};
    return record;
}

void SetErrStr(VestraInfo *dev, const char *text) {
    CopyText(dev->errStr, text ? std::string_view(text) : std::string_view());
}

}  // namespace vx

extern "C" {

VX_API int32_t VX_GetErrNo(VestraInfo *dev) { return dev ? dev->errNo : 0; }

VX_API char *VX_GetErrStr(VestraInfo *dev) { return dev ? dev->errStr : nullptr; }

VX_API VestraInfo *VX_GetGBDev(void) { return &vx::GbDev(); }

}  // extern "C"
