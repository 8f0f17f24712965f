// The list's storage and its exported accessors, each with its own index
// rule. Every accessor that reads or writes a slot takes the (recursive)
// library lock itself: a host that does not bracket its reads with
// VX_ListEnterCriticalSection would otherwise read a serial half-written by
// the refresh thread. Bracketing still gives one consistent view of several.
#include "devlist/list.h"

#include <cstddef>
#include <cstring>

#include "common/guard.h"
#include "common/log.h"
#include "common/state.h"
#include "common/text.h"

namespace vx {

static_assert(offsetof(DevList, DevSum) == sizeof(VestraInfo) * kListSlots,
              "DevSum lies directly after the slots");
static_assert(offsetof(DevListInfo, index) == sizeof(void *) &&
                  offsetof(DevListInfo, serial) == sizeof(void *) + 16 &&
                  offsetof(DevListInfo, idCode) == sizeof(void *) + 32 &&
                  offsetof(DevListInfo, extraFlags) == sizeof(void *) + 40 &&
                  offsetof(DevListInfo, busProductId) == sizeof(void *) + 56 &&
                  offsetof(DevListInfo, busVendorId) == sizeof(void *) + 58,
              "DevListInfo keeps the field order of its 32-bit layout");
static_assert(sizeof(void *) != 4 || sizeof(DevListInfo) == 64, "64 bytes on 32-bit builds");

namespace {
DevList g_dev_list GUARDED_BY(LibLock());  // zero-initialised, trivially destructible
char g_slot_bus[kListSlots][kSlotBusName] GUARDED_BY(LibLock());

// Nested enters of the host's list section on this thread.
thread_local int g_section_depth = 0;

bool SlotIndexOk(int32_t index) { return index >= 0 && index < kListSlots; }

// The host's list section holds the lock from one export to the other, past
// either's return, which the analysis cannot follow.
void EnterListSection() NO_THREAD_SAFETY_ANALYSIS {
    LibLock().lock();
    ++g_section_depth;
}
void LeaveListSection() NO_THREAD_SAFETY_ANALYSIS {
    // Only a thread that entered may leave: unlocking a lock held by
    // nobody, or by another thread, would be undefined.
    if (g_section_depth == 0) return;
    --g_section_depth;
    LibLock().unlock();
}

// A slot's address is fixed; taking it reads nothing the lock guards.
VestraInfo *SlotAddress(int32_t index) NO_THREAD_SAFETY_ANALYSIS {
    return &g_dev_list.slots[index];
}
}  // namespace

std::atomic<int> g_dev_list_updated{1};

DevList &TheDevList() { return g_dev_list; }

char *SlotBus(int index) { return g_slot_bus[index]; }

void ClearDevList() {
    std::memset(&g_dev_list, 0, sizeof g_dev_list);
    std::memset(g_slot_bus, 0, sizeof g_slot_bus);
}

int CountListDev() {
    int n = 0;
    for (const VestraInfo &slot : g_dev_list.slots)
        if (slot.usbHandle != nullptr) ++n;
    return n;
}

void DumpDevList() {
    for (int i = 0; i < g_dev_list.DevSum && i < kListSlots; ++i) {
        const VestraInfo &slot = g_dev_list.slots[i];
        LibLog("[%d]=%s:%d\n", i, slot.serial, slot.udiskStatus);
    }
}

VestraInfo *FindListSlot(const VestraInfo *dev) {
    for (VestraInfo &slot : g_dev_list.slots)
        if (&slot == dev && slot.usbHandle != nullptr) return &slot;
    return nullptr;
}

// cppcheck-suppress knownConditionTrueFalse ; the exports below change the depth
bool ThisThreadInListSection() { return g_section_depth > 0; }

}  // namespace vx

using namespace vx;

extern "C" {

VX_API int32_t VX_GetDevListSum(void) {
    return Guarded<int32_t>(0, [] {
        LibGuard lock(LibLock());
        return TheDevList().DevSum;
    });
}

VX_API uint32_t VX_GetDevListIsUpdate(void) { return g_dev_list_updated.exchange(0) != 0 ? 1 : 0; }

VX_API void VX_ListEnterCriticalSection(void) { GuardedVoid(EnterListSection); }

VX_API void VX_ListLeaveCriticalSection(void) { GuardedVoid(LeaveListSection); }

VX_API uint32_t VX_GetDevSNFromList(int32_t index, char *serial) {
    return Guarded(0u, [&]() -> uint32_t {
        LibGuard lock(LibLock());
        if (!SlotIndexOk(index) || serial == nullptr) return 0;
        const VestraInfo &slot = TheDevList().slots[index];
        if (slot.serial[0] != '\0')
            CopyText(serial, VX_SERIAL_LEN, AreaText(slot.serial, VX_SERIAL_LEN));
        return 1;
    });
}

VX_API uint32_t VX_GetDevIDCodeFromList(int32_t index, char *idCode) {
    return Guarded(0u, [&]() -> uint32_t {
        LibGuard lock(LibLock());
        if (index < 0 || index >= TheDevList().DevSum || index >= kListSlots || idCode == nullptr)
            return 0;
        const VestraInfo &slot = TheDevList().slots[index];
        if (slot.idCode[0] != '\0')
            CopyText(idCode, VX_ID_CODE_LEN, AreaText(slot.idCode, VX_ID_CODE_LEN));
        return 1;
    });
}

VX_API uint32_t VX_GetUdiskStatuFromList(int32_t index, int32_t *status) {
    return Guarded(0u, [&]() -> uint32_t {
        LibGuard lock(LibLock());
        if (!SlotIndexOk(index) || status == nullptr) return 0;
        *status = TheDevList().slots[index].udiskStatus;
        return 1;
    });
}

VX_API uint32_t VX_GetDevIdxFromList(const char *serial, int32_t *index) {
    return Guarded(0u, [&]() -> uint32_t {
        if (serial == nullptr || index == nullptr) return 0;
        LibGuard lock(LibLock());
        std::string_view wanted(serial);
        for (int i = 0; i < kListSlots; ++i) {
            const VestraInfo &slot = TheDevList().slots[i];
            if (slot.usbHandle == nullptr || slot.serial[0] == '\0') continue;
            if (AreaText(slot.serial, VX_SERIAL_LEN) == wanted) {
                *index = i;
                return 1;
            }
        }
        return 0;
    });
}

VX_API VestraInfo *VX_GetDevHandleFromList(int32_t index) {
    return SlotIndexOk(index) ? SlotAddress(index) : nullptr;
}

VX_API uint32_t VX_GetDevAllListInfoFromList(DevListInfo *out, int32_t maxCount) {
    return Guarded(0u, [&]() -> uint32_t {
        if (out == nullptr || maxCount < 1) return 0;
        LibGuard lock(LibLock());
        int32_t written = 0;
        for (int i = 0; i < kListSlots && written < maxCount; ++i) {
            VestraInfo &slot = TheDevList().slots[i];
            if (slot.usbHandle == nullptr) continue;
            DevListInfo &info = out[written++];
            std::memset(&info, 0, sizeof info);
            info.handle = &slot;
            info.index = i;
            info.devNum = slot.devNum;
            info.udiskStatus = slot.udiskStatus;
            info.newDevFlag = slot.newDevFlag;
            CopyText(info.serial, AreaText(slot.serial, VX_SERIAL_LEN));
            CopyText(info.idCode, AreaText(slot.idCode, VX_ID_CODE_LEN));
            std::memcpy(info.extraFlags, slot.extraFlags, sizeof info.extraFlags);
            info.busProductId = slot.busProductId;
            info.busVendorId = slot.busVendorId;
        }
        return static_cast<uint32_t>(written);
    });
}

VX_API uint32_t VX_SetNewDevFlagToList(VestraInfo *dev, int32_t value) {
    return Guarded(0u, [&]() -> uint32_t {
        LibGuard lock(LibLock());
        VestraInfo *slot = FindListSlot(dev);
        if (slot == nullptr) return 0;
        slot->newDevFlag = value;
        return 1;
    });
}

VX_API uint32_t VX_GetNewDevFlagFromList(VestraInfo *dev, int32_t *value) {
    return Guarded(0u, [&]() -> uint32_t {
        LibGuard lock(LibLock());
        VestraInfo *slot = FindListSlot(dev);
        if (slot == nullptr || value == nullptr) return 0;
        *value = slot->newDevFlag;
        return 1;
    });
}

VX_API uint32_t VX_SetExFlagToList(VestraInfo *dev, uint32_t flag, uint8_t value) {
    return Guarded(0u, [&]() -> uint32_t {
        LibGuard lock(LibLock());
        VestraInfo *slot = FindListSlot(dev);
        if (slot == nullptr || flag >= VX_EXTRA_FLAGS) return 0;
        slot->extraFlags[flag] = value;
        return 1;
    });
}

VX_API uint32_t VX_GetExFlagFromList(VestraInfo *dev, uint32_t flag, uint8_t *value) {
    return Guarded(0u, [&]() -> uint32_t {
        LibGuard lock(LibLock());
        VestraInfo *slot = FindListSlot(dev);
        if (slot == nullptr || flag >= VX_EXTRA_FLAGS || value == nullptr) return 0;
        *value = slot->extraFlags[flag];
        return 1;
    });
}

}  // extern "C"
