#include "session/record.h"

#include <new>

#include "common/log.h"
#include "common/state.h"
#include "transport/usbio.h"

namespace vx {

std::unique_ptr<VestraInfo> NewRecord() {
    return std::unique_ptr<VestraInfo>(new (std::nothrow) VestraInfo{});
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
    LibGuard lock(LibLock());
    if (dev->usbHandle == nullptr) {
        MarkNotOpen(dev);
        return false;
    }
    return true;
}

}  // namespace vx
