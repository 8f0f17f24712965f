#include "session/device.h"

#include <cstdio>
#include <cstring>
#include <new>
#include <usb.h>

#include "common/guard.h"
#include "common/log.h"
#include "common/state.h"
#include "common/text.h"
#include "protocol/exchange.h"
#include "protocol/payload.h"
#include "transport/completeness.h"
#include "transport/models.h"
#include "transport/usbio.h"

namespace vx {

VestraInfo *NewRecord() { return new (std::nothrow) VestraInfo{}; }

int GetGBIDCode(VestraInfo *dev) {
    std::memset(dev->idCode, 0, sizeof dev->idCode);
    char reply[kReplyArea];
    int n = Transact(dev, "VX+GBIDCODE?\r\n", reply, sizeof reply);
    if (n < 5 || CheckCmdResult(reply) != 1) return 0;
    std::string_view code;
    if (!FindPayload(reply, "+GBIDCODE:", &code)) return 0;
    // A code that does not fit the 7-character field is refused, not cut.
    if (code.size() >= sizeof dev->idCode) return 0;
    CopyText(dev->idCode, code);
    return code.size() >= std::size_t(kIdCodeMin) ? 1 : 0;
}

}  // namespace vx

using namespace vx;

namespace {

// A record opened as VX_InitDev does it: open, configuration, interface, each
// failure logged with its libusb text. Null on failure.
VestraInfo *InitByModel(const char *name) {
    VestraInfo *dev = NewRecord();
    if (dev == nullptr) return nullptr;
    InitUsbBus();
    uint32_t vid = 0, pid = 0;
    if (!GetPidVid(name, &vid, &pid)) {
        LibLog("GetPidVid Failed\n");
        delete dev;
        return nullptr;
    }
    char text[1024];
    usb_dev_handle *handle = open_dev(pid, vid);
    if (handle == nullptr) {
        std::snprintf(text, sizeof text, "error opening device: \n%s\n", usb_strerror());
        LibLog("%s", text);
        delete dev;
        return nullptr;
    }
    dev->usbHandle = handle;
    dev->model = *FindModelByName(name);
    if (!ConfigureAndClaim(dev, handle, nullptr, text, sizeof text)) {
        usb_close(handle);
        LibLog("%s", text);
        delete dev;
        return nullptr;
    }
    return dev;
}

// Opens the first attached recorder (first model in table order) into a new
// record and reads its ID code. Null when none answers with one.
VestraInfo *OpenFirstIdentified() {
    int row = FindFirstModel();
    if (row < 0) return nullptr;
    VestraInfo *dev = NewRecord();
    if (dev == nullptr) return nullptr;
    InitUsbBus();
    dev->model = DevModelTable[row];
    int state = 0;
    if (!Open_Device(dev, dev->model.productId, dev->model.vendorId, &state)) {
        delete dev;
        return nullptr;
    }
    if (GetGBIDCode(dev) != 1) {
        Close_Device(dev);
        delete dev;
        return nullptr;
    }
    return dev;
}

}  // namespace

extern "C" {

VX_API uint32_t VX_CheckDevExist(void) {
    return Guarded<uint32_t>(0, [] {
        LibGuard lock(LibLock());
        for (const DevModel &row : DevModelTable) {
            if (row.productId == 0) continue;
            if (CheckPidVidExist(row.productId, row.vendorId) == 1) return 1u;
        }
        return 0u;
    });
}

VX_API uint32_t VX_ProbeDev(char *modelName) {
    return Guarded<uint32_t>(0, [&] {
        DevListEnabled = 0;
        LibGuard lock(LibLock());
        InitUsbBus();
        const DevModel *known = nullptr;
        WalkDevices([&](struct usb_bus *, struct usb_device *d) {
            uint16_t vid = d->descriptor.idVendor, pid = d->descriptor.idProduct;
            LibLog("[%s]:  %04X:%04X  \n", "VX_ProbeDev", vid, pid);
            known = FindModelByIds(vid, pid);
            if (known == nullptr) return false;
            LibLog("[%s]: Find  %04X:%04X  \n", "VX_ProbeDev", vid, pid);
            return true;
        });
        if (known == nullptr) return 0u;
        if (modelName != nullptr) std::memcpy(modelName, known->name, std::strlen(known->name) + 1);
        return 1u;
    });
}

VX_API uint32_t VX_ProbeDevEx(char *idCode) {
    return Guarded<uint32_t>(0, [&] {
        DevListEnabled = 0;
        LibGuard lock(LibLock());
        int row = FindFirstModel();
        if (row < 0) return 0u;
        VestraInfo *dev = NewRecord();
        if (dev == nullptr) {
            LibLog("[%s]: pVestraInfo is NULL\n", "VX_ProbeDevEx");
            return 0u;
        }
        uint32_t result = 0;
        const DevModel &model = DevModelTable[row];
        int state = 0;
        if (CheckPidVidExist(model.productId, model.vendorId) != 1) {
            LibLog("[%s]: CheckPidVidExist is FALSE\n", "VX_ProbeDevEx");
        } else {
            dev->model = model;
            if (!Open_Device(dev, model.productId, model.vendorId, &state)) {
                LibLog("[%s]: Open_Device is FAILED\n", "VX_ProbeDevEx");
            } else {
                if (GetGBIDCode(dev) == 1) {
                    if (idCode != nullptr) std::memcpy(idCode, dev->idCode, std::strlen(dev->idCode) + 1);
                    result = 1;
                }
                Close_Device(dev);
            }
        }
        delete dev;
        return result;
    });
}

VX_API VestraInfo *VX_InitDev(const char *modelName) {
    return Guarded<VestraInfo *>(nullptr, [&] {
        DevListEnabled = 0;
        LibGuard lock(LibLock());
        return InitByModel(modelName);
    });
}

VX_API VestraInfo *VX_InitDevEx(const char *idCode) {
    return Guarded<VestraInfo *>(nullptr, [&]() -> VestraInfo * {
        DevListEnabled = 0;
        LibGuard lock(LibLock());
        VestraInfo *dev = OpenFirstIdentified();
        if (dev == nullptr) return nullptr;
        if (idCode != nullptr && std::strcmp(dev->idCode, idCode) == 0) return dev;
        Close_Device(dev);
        delete dev;
        return nullptr;
    });
}

VX_API uint32_t VX_CheckDevHandle(VestraInfo *dev) {
    return dev != nullptr && dev->usbHandle != nullptr ? 1 : 0;
}

VX_API uint32_t VX_GetIDCode(VestraInfo *dev, char *idCode) {
    return Guarded<uint32_t>(0, [&] {
        if (dev == nullptr) return 0u;
        LibGuard lock(LibLock());
        if (GetGBIDCode(dev) != 1) return 0u;
        if (idCode != nullptr) std::memcpy(idCode, dev->idCode, std::strlen(dev->idCode) + 1);
        return 1u;
    });
}

}  // extern "C"
