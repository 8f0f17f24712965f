#include "session/device.h"

#include <cstring>
#include <string>

#include "common/guard.h"
#include "common/log.h"
#include "common/state.h"
#include "common/text.h"
#include "ops/rows.h"
#include "protocol/command.h"
#include "protocol/exchange.h"
#include "protocol/payload.h"
#include "session/record.h"
#include "transport/models.h"
#include "transport/usbio.h"

namespace vx {

int GetGBIDCode(VestraInfo *dev) {
    std::memset(dev->idCode, 0, sizeof dev->idCode);
    std::string command;
    ops::BuildCommand(ops::rows::kGetIdCode, {}, &command);
    char reply[kReplyArea];
    if (!Transact(dev, command, reply, sizeof reply).Accepted()) return 0;
    std::string_view code;
    if (!FindPayload(reply, ops::ReplyKey(ops::rows::kGetIdCode.key), &code)) return 0;
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
std::unique_ptr<VestraInfo> InitByModel(const char *name) REQUIRES(LibLock()) {
    std::unique_ptr<VestraInfo> dev = NewRecord();
    if (!dev) return nullptr;
    InitUsbBus();
    const DevModel *model = FindModelByName(name);
    if (model == nullptr) {
        LibLog("GetPidVid Failed\n");
        return nullptr;
    }
    dev->model = *model;
    char text[1024];
    if (!OpenModel(dev.get(), text, sizeof text)) {
        LibLog("%s", text);
        return nullptr;
    }
    return dev;
}

// Opens the first attached recorder (first model in table order) into a new
// record and reads its ID code. Null when none answers with one.
std::unique_ptr<VestraInfo> OpenFirstIdentified() REQUIRES(LibLock()) {
    int row = FindFirstModel();
    if (row < 0) return nullptr;
    std::unique_ptr<VestraInfo> dev = NewRecord();
    if (!dev) return nullptr;
    InitUsbBus();
    dev->model = DevModelTable[row];
    int state = 0;
    if (!Open_Device(dev.get(), dev->model.productId, dev->model.vendorId, &state)) return nullptr;
    if (GetGBIDCode(dev.get()) != 1) {
        Close_Device(dev.get());
        return nullptr;
    }
    return dev;
}

void CopyOut(char *out, const char *text) {
    if (out != nullptr) std::memcpy(out, text, std::strlen(text) + 1);
}

}  // namespace

extern "C" {

VX_API uint32_t VX_CheckDevExist(void) {
    return Guarded(0u, [] {
        LibGuard lock(LibLock());
        for (const DevModel &row : DevModelTable) {
            if (row.productId == 0) continue;
            if (CheckPidVidExist(row.productId, row.vendorId) == 1) return 1u;
        }
        return 0u;
    });
}

VX_API uint32_t VX_ProbeDev(char *modelName) {
    return Guarded(0u, [&] {
        g_dev_list_enabled = 0;
        LibGuard lock(LibLock());
        const DevModel *known = FindFirstKnown("VX_ProbeDev");
        if (known == nullptr) return 0u;
        CopyOut(modelName, known->name);
        return 1u;
    });
}

VX_API uint32_t VX_ProbeDevEx(char *idCode) {
    return Guarded(0u, [&] {
        g_dev_list_enabled = 0;
        LibGuard lock(LibLock());
        int row = FindFirstModel();
        if (row < 0) return 0u;
        std::unique_ptr<VestraInfo> dev = NewRecord();
        if (!dev) {
            LibLog("[%s]: pVestraInfo is NULL\n", "VX_ProbeDevEx");
            return 0u;
        }
        const DevModel &model = DevModelTable[row];
        if (CheckPidVidExist(model.productId, model.vendorId) != 1) {
            LibLog("[%s]: CheckPidVidExist is FALSE\n", "VX_ProbeDevEx");
            return 0u;
        }
        dev->model = model;
        int state = 0;
        if (!Open_Device(dev.get(), model.productId, model.vendorId, &state)) {
            LibLog("[%s]: Open_Device is FAILED\n", "VX_ProbeDevEx");
            return 0u;
        }
        uint32_t result = 0;
        if (GetGBIDCode(dev.get()) == 1) {
            CopyOut(idCode, dev->idCode);
            result = 1;
        }
        Close_Device(dev.get());
        return result;
    });
}

VX_API VestraInfo *VX_InitDev(const char *modelName) {
    return Guarded<VestraInfo *>(nullptr, [&] {
        g_dev_list_enabled = 0;
        LibGuard lock(LibLock());
        return InitByModel(modelName).release();
    });
}

VX_API VestraInfo *VX_InitDevEx(const char *idCode) {
    return Guarded<VestraInfo *>(nullptr, [&]() -> VestraInfo * {
        g_dev_list_enabled = 0;
        LibGuard lock(LibLock());
        std::unique_ptr<VestraInfo> dev = OpenFirstIdentified();
        if (!dev) return nullptr;
        if (idCode != nullptr && std::strcmp(dev->idCode, idCode) == 0) return dev.release();
        Close_Device(dev.get());
        return nullptr;
    });
}

VX_API uint32_t VX_CheckDevHandle(VestraInfo *dev) {
    if (dev == nullptr) return 0;
    LibGuard lock(LibLock());
    return dev->usbHandle != nullptr ? 1 : 0;
}

VX_API uint32_t VX_GetIDCode(VestraInfo *dev, char *idCode) {
    return Guarded(0u, [&] {
        if (dev == nullptr) return 0u;
        LibGuard lock(LibLock());
        if (GetGBIDCode(dev) != 1) return 0u;
        CopyOut(idCode, dev->idCode);
        return 1u;
    });
}

}  // extern "C"
