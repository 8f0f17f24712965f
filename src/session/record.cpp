#include "session/record.h"

#include <new>

#include "common/log.h"
#include "common/outcome.h"
#include "common/state.h"
#include "common/text.h"
#include "transport/usbio.h"

namespace vx {

std::unique_ptr<VestraInfo> NewRecord() {
    return std::unique_ptr<VestraInfo>(new (std::nothrow) VestraInfo{});
}

void MarkNotOpen(VestraInfo *dev) {
    Close_Device(dev);
    SetOutcome(dev, Outcome::NotOpen);
    LibLog("Device not Open\n");
    SetDeviceChangeState(2);
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

bool ApplySerialString(VestraInfo *dev, std::string_view text) {
    std::size_t cut = text.find('_');
    CopyText(dev->serial, text.substr(0, cut));
    if (cut == std::string_view::npos) return false;
    int32_t status = 0;
    for (std::size_t i = cut + 1;
         i < text.size() && text[i] >= '0' && text[i] <= '9' && status < 100000000; ++i)
        status = status * 10 + (text[i] - '0');
    dev->udiskStatus = status;
    dev->busVendorId = uint16_t(dev->model.vendorId);
    dev->busProductId = uint16_t(dev->model.productId);
    return true;
}

}  // namespace vx
