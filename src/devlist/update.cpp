// The list update and its two passes. Slots are keyed by bus and device
// number: device numbers repeat across busses on Linux, so the number alone
// would hide a second recorder that happens to share it.
#include "devlist/update.h"

#include <cstdlib>
#include <cstring>
#include <string>

#include "common/clock.h"
#include "common/guard.h"
#include "common/log.h"
#include "common/outcome.h"
#include "common/state.h"
#include "common/text.h"
#include "devlist/list.h"
#include "platform/platform.h"
#include "ops/rows.h"
#include "protocol/command.h"
#include "protocol/exchange.h"
#include "session/device.h"
#include "session/record.h"
#include "transport/models.h"
#include "transport/usbio.h"

namespace vx {

std::atomic<bool> g_list_stopping{false};

namespace {

constexpr int kSerialArea = 16;
constexpr int kIdCodeAttempts = 2;
constexpr int kIdCodeRetryMs = 100;
constexpr const char *kDefaultSerial = "vestraunit";
constexpr const char *kFactoryPassword = "507193";
constexpr std::size_t kUuidMax = 11;

bool SameBus(int slot, const struct usb_bus *bus) REQUIRES(LibLock()) {
    return bus != nullptr && std::strncmp(SlotBus(slot), bus->dirname, kSlotBusName - 1) == 0;
}

// The in-use slot holding the device of this bus and number, or -1.
int ListedSlot(const struct usb_bus *bus, int devnum) REQUIRES(LibLock()) {
    for (int i = 0; i < kListSlots; ++i) {
        const VestraInfo &slot = TheDevList().slots[i];
        if (slot.usbHandle != nullptr && slot.devNum == devnum && SameBus(i, bus)) return i;
    }
    return -1;
}

// Decimal digits at the start of text; 0 if none.
int32_t LeadingNumber(const char *text) {
    int32_t value = 0;
    for (; *text >= '0' && *text <= '9'; ++text) {
        if (value > (INT32_MAX - 9) / 10) break;  // an absurd status stays bounded
        value = value * 10 + (*text - '0');
    }
    return value;
}

int OpenListDev(struct usb_bus *bus, struct usb_device *device, int devnum, int *index)
    REQUIRES(LibLock()) {
    const DevModel *model =
        FindModelByIds(device->descriptor.idVendor, device->descriptor.idProduct);
    if (model == nullptr) return 0;
    int free_slot = -1;
    for (int i = 0; i < kListSlots && free_slot < 0; ++i)
        if (TheDevList().slots[i].usbHandle == nullptr) free_slot = i;
    if (free_slot < 0) return 0;

    VestraInfo &slot = TheDevList().slots[free_slot];
    std::memset(&slot, 0, sizeof slot);
    slot.devNum = -1;
    slot.model = *model;
    CopyText(SlotBus(free_slot), kSlotBusName, bus->dirname);
    if (!OpenFound(&slot, device)) return 0;

    char serial[kSerialArea] = {};
    // The whole area, so that all 15 characters arrive.
    int n = ReadSerialString(&slot, device, serial, sizeof serial);
    if (n <= 0 || serial[0] == '\0') {
        Close_Device(&slot);
        return 0;
    }
    LibLog("DevSerial:%s\n", serial);
    if (!ApplySerialString(&slot, serial)) {  // a recorder's string holds "_"
        Close_Device(&slot);
        return 0;
    }
    if (ClaimDev(&slot) != 1) {
        Close_Device(&slot);
        return 0;
    }
    slot.devNum = devnum;
    *index = free_slot;
    return 1;
}

void ReplaceDefaultSerial(VestraInfo &slot) {
    if (std::strcmp(slot.serial, kDefaultSerial) != 0) return;
    // The UUID operation copies up to a whole text area; only 11 characters
    // of it are kept.
    char uuid[VX_TEXT_AREA] = {};
    if (VX_GetDevUUID(&slot, kFactoryPassword, uuid) != 1) return;
    std::memset(slot.serial, 0, sizeof slot.serial);
    CopyText(slot.serial, AreaText(uuid, kUuidMax));
    LibLog("Change error SN[vestra] ==> [%s]\n", slot.serial);
}

int CheckRemoveUsbDev() REQUIRES(LibLock()) {
    int changed = 0;
    for (int i = 0; i < kListSlots; ++i) {
        VestraInfo &slot = TheDevList().slots[i];
        if (slot.usbHandle == nullptr || slot.devNum < 0) continue;
        bool present =
            WalkDevices([&](struct usb_bus *bus, struct usb_device *dev) REQUIRES(LibLock()) {
                return dev->devnum == slot.devNum && SameBus(i, bus);
            }) != nullptr;
        if (present) continue;
        LibLog("[%s]:  Close Dev[%d][%d]:[%s_%s]\n", "CheckRemoveUsbDev", i, slot.devNum,
               slot.idCode, slot.serial);
        Close_Device(&slot);
        changed = 1;
    }
    return changed;
}

int CheckNewUsbDev() REQUIRES(LibLock()) {
    int changed = 0;
    WalkDevices([&](struct usb_bus *bus, struct usb_device *device) REQUIRES(LibLock()) {
        if (g_list_stopping.load()) return true;  // the process is ending: stop here
        if (ListedSlot(bus, device->devnum) >= 0) return false;
        int index = -1;
        if (OpenListDev(bus, device, device->devnum, &index) != 1) return false;
        VestraInfo &slot = TheDevList().slots[index];
        for (int attempt = 0; attempt < kIdCodeAttempts; ++attempt) {
            if (GetGBIDCode(&slot) == 1) break;
            platform::SleepMs(kIdCodeRetryMs);
        }
        ReplaceDefaultSerial(slot);
        slot.lastBatteryQuery = ClockMs();
        LibLog("[%s]:  Add Dev[%d][%d]:[%s_%s]\n", "CheckNewUsbDev", index, slot.devNum,
               slot.idCode, slot.serial);
        slot.newDevFlag = 1;
        changed = 1;
        return false;
    });
    return changed;
}

int QueryUdiskStatu(VestraInfo *dev) REQUIRES(LibLock()) {
    dev->udiskStatus = 0;
    std::string command;
    ops::BuildCommand(ops::rows::kGetUdiskStat, {}, &command);
    char reply[kReplyArea];
    if (!Transact(dev, command, reply, sizeof reply).Accepted()) return 0;
    const std::string key = ops::ReplyKey(ops::rows::kGetUdiskStat.key);
    const char *at = std::strstr(reply, key.c_str());
    if (at == nullptr || std::strstr(at, "\r\n") == nullptr) return 0;
    dev->udiskStatus = LeadingNumber(at + key.size());
    return 1;
}

}  // namespace

bool RecountDevList(int changed) {
    DevList &list = TheDevList();
    int count = CountListDev();
    if (changed != 1 && list.DevSum == count) return false;
    list.DevSum = count;
    LibLog("refresh DevSum=%d\n", count);
    DumpDevList();
    return true;
}

}  // namespace vx

using namespace vx;

extern "C" {

VX_API uint32_t VX_InitDevList(void) {
    return Guarded(0u, []() -> uint32_t {
        if (g_dev_list_enabled.load() == 0) return 0;
        LibGuard lock(LibLock());
        InitUsbBus();
        int r = 0;
        if (BussesFound()) {
            if (CheckRemoveUsbDev() == 1) r = 1;
            if (CheckNewUsbDev() == 1) r = 1;
        }
        // DevSum and g_dev_list_updated are a refresh's to change: a host that
        // updates the list itself reads the slots, not the count.
        return static_cast<uint32_t>(r);
    });
}

VX_API void VX_UnInitDevList(void) {
    GuardedVoid([] {
        LibGuard lock(LibLock());
        for (VestraInfo &slot : TheDevList().slots) {
            if (slot.usbHandle == nullptr) continue;
            SetOutcome(&slot, Outcome::Done);  // the status only; the text stays
            VX_Logout(&slot);
            Close_Device(&slot);
        }
        ClearDevList();
    });
}

VX_API uint32_t VX_GetUdiskStatu(VestraInfo *dev, const char *password, int32_t *status) {
    (void)password;  // the query needs no login
    return Guarded(0u, [&]() -> uint32_t {
        if (dev == nullptr) return 0;
        LibGuard lock(LibLock());
        if (QueryUdiskStatu(dev) != 1) return 0;
        if (status != nullptr) *status = dev->udiskStatus;
        return 1;
    });
}

}  // extern "C"
