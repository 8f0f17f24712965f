// The table of supported recorder models and the search of the USB busses.
#pragma once

#include <cstdint>

// The one place the libusb 0.1 declarations come from: libusb-win32's on
// Windows (declared here, its header is not needed), libusb-compat's on Linux.
#if defined(_WIN32)
#include "transport/libusb_win32.h"
#else
#include <usb.h>
#endif

#include "LibVestra.h"
#include "common/state.h"

namespace vx {

constexpr int kModelRows = 10;
extern const DevModel DevModelTable[kModelRows];

// usb_init and usb_find_busses once per process; usb_find_devices every call.
void InitUsbBus() REQUIRES(LibLock());

// Visits every bus, and every device of it, in list order until visit
// returns true; returns that device, or null. The caller holds the library
// lock, so no other thread rescans the lists meanwhile.
template <class OnBus, class Visit>
struct usb_device *WalkBusses(OnBus &&on_bus, Visit &&visit) REQUIRES(LibLock()) {
    for (struct usb_bus *bus = usb_get_busses(); bus != nullptr; bus = bus->next) {
        on_bus(bus);
        for (struct usb_device *dev = bus->devices; dev != nullptr; dev = dev->next) {
            if (visit(bus, dev)) return dev;
        }
    }
    return nullptr;
}

template <class Visit>
struct usb_device *WalkDevices(Visit &&visit) REQUIRES(LibLock()) {
    return WalkBusses([](struct usb_bus *) {}, visit);
}

// The table row whose model name is exactly name; null if none.
const DevModel *FindModelByName(const char *name);
// The first table row (stopping at the first empty one) with these ids.
const DevModel *FindModelByIds(uint32_t vid, uint32_t pid);

int GetPidVid(const char *name, uint32_t *vid, uint32_t *pid);
int CheckPidVidExist(uint32_t pid, uint32_t vid) REQUIRES(LibLock());
int FindFirstModel() REQUIRES(LibLock());
// The first device on the bus, in bus order, whose ids are in the table;
// every device seen is logged under who. Null when none is.
const DevModel *FindFirstKnown(const char *who) REQUIRES(LibLock());
usb_dev_handle *open_dev(uint32_t pid, uint32_t vid) REQUIRES(LibLock());

}  // namespace vx
