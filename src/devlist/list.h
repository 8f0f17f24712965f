// The 50-slot device list: storage, counting and the slot lookups the
// accessors, the update passes and the refresh share.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>

#include "LibVestra.h"
#include "common/state.h"

namespace vx {

constexpr int kListSlots = VX_LIST_SLOTS;

// Slots and DevSum side by side, so one clear zero-fills both. Plain data in
// static storage: it outlives every static destructor, so a thread that
// still runs while the process exits never touches ended state.
struct DevList {
    VestraInfo slots[kListSlots];
    int32_t DevSum;
};

DevList &TheDevList() REQUIRES(LibLock());
// 1 at load; set by every refresh that changed the list; cleared by
// VX_GetDevListIsUpdate.
extern std::atomic<int> g_dev_list_updated;

// The bus (its directory name) each slot's device number belongs to.
constexpr std::size_t kSlotBusName = 32;
char *SlotBus(int index) REQUIRES(LibLock());

// Zero-fills every slot, DevSum and the slots' busses.
void ClearDevList() REQUIRES(LibLock());
// Number of slots whose USB handle is not null.
int CountListDev() REQUIRES(LibLock());
// Logs index, serial and U-disk status of slots 0 to DevSum - 1.
void DumpDevList() REQUIRES(LibLock());
// The in-use slot whose record is dev; null for any other pointer.
VestraInfo *FindListSlot(const VestraInfo *dev) REQUIRES(LibLock());

// True while the calling thread holds the lock through
// VX_ListEnterCriticalSection (the exit handler must not wait for the
// refresh thread then: that thread may be waiting for this one).
bool ThisThreadInListSection();

}  // namespace vx
