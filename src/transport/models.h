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

// Whether the bus scan found any bus at all.
bool BussesFound() REQUIRES(LibLock());
// Opens a device found by a walk into the record (not yet configured or
// claimed). False when it cannot be opened; the record is then closed.
bool OpenFound(VestraInfo *dev, struct usb_device *device) REQUIRES(LibLock());
// The serial-number string of a device opened into the record, into serial
// (size bytes, the whole area given to libusb, which keeps the last byte for
// the terminator). libusb's result: the length, 0 when the device has none,
// negative on failure.
int ReadSerialString(VestraInfo *dev, const struct usb_device *device, char *serial, int size)
    REQUIRES(LibLock());

}  // namespace vx
