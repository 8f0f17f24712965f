#include "transport/models.h"

#include <cstring>

#include "common/log.h"

namespace vx {

const DevModel DevModelTable[kModelRows] = {
    {0x3A7C, 0x0C07, 1, 0, 0x81, 0x01, "VX007"},
    {0x3A7C, 0x0C05, 1, 0, 0x81, 0x01, "VX005"},
    {0x3A7C, 0x0C06, 1, 2, 0x83, 0x02, "VX006"},
    {0x3A7C, 0x0C04, 1, 2, 0x83, 0x02, "VX004"},
    {0x5E31, 0x0001, 1, 0, 0x81, 0x01, "VX001"},
    {0x5E31, 0x000F, 1, 0, 0x81, 0x01, "VX002"},
    {},
    {},
    {},
    {},
};

namespace {
bool g_bus_initialised GUARDED_BY(LibLock()) = false;

void LogBus(const char *who, const struct usb_bus *bus) {
    LibLog(" [%s]: bus:  dirname=%s,location=%d\n", who, bus->dirname, int(bus->location));
}

void LogDevice(const char *who, const struct usb_device *dev) {
    LibLog("[%s]:  %04X:%04X ,filename=%s,devnum=%d ,num_children=%d \n", who,
           dev->descriptor.idVendor, dev->descriptor.idProduct, dev->filename, int(dev->devnum),
           int(dev->num_children));
}

bool HasIds(const struct usb_device *dev, uint32_t vid, uint32_t pid) {
    return dev->descriptor.idVendor == vid && dev->descriptor.idProduct == pid;
}
}  // namespace

void InitUsbBus() {
    if (!g_bus_initialised) {
        usb_init();
        usb_find_busses();
        g_bus_initialised = true;
    }
    usb_find_devices();
}

const DevModel *FindModelByName(const char *name) {
    if (name == nullptr) return nullptr;
    for (const DevModel &row : DevModelTable) {
        if (row.vendorId == 0) break;
        if (std::strncmp(row.name, name, sizeof row.name) == 0 &&
            std::strlen(name) < sizeof row.name)
            return &row;
    }
    return nullptr;
}

const DevModel *FindModelByIds(uint32_t vid, uint32_t pid) {
    for (const DevModel &row : DevModelTable) {
        if (row.vendorId == 0) break;
        if (row.vendorId == vid && row.productId == pid) return &row;
    }
    return nullptr;
}

int GetPidVid(const char *name, uint32_t *vid, uint32_t *pid) {
    const DevModel *row = FindModelByName(name);
    if (row == nullptr) return 0;
    if (vid) *vid = row->vendorId;
    if (pid) *pid = row->productId;
    return 1;
}

int CheckPidVidExist(uint32_t pid, uint32_t vid) {
    InitUsbBus();
    struct usb_device *found = WalkDevices([&](struct usb_bus *bus, struct usb_device *dev) {
        if (!HasIds(dev, vid, pid)) return false;
        LogBus("CheckPidVidExist", bus);
        LogDevice("CheckPidVidExist", dev);
        return true;
    });
    return found != nullptr ? 1 : 0;
}

int FindFirstModel() {
    for (int i = 0; i < kModelRows; ++i) {
        const DevModel &row = DevModelTable[i];
        if (row.productId == 0) continue;
        if (CheckPidVidExist(row.productId, row.vendorId) == 1) return i;
    }
    return -1;
}

const DevModel *FindFirstKnown(const char *who) {
    InitUsbBus();
    const DevModel *known = nullptr;
    WalkDevices([&](struct usb_bus *, struct usb_device *d) {
        uint16_t vid = d->descriptor.idVendor, pid = d->descriptor.idProduct;
        LibLog("[%s]:  %04X:%04X  \n", who, vid, pid);
        known = FindModelByIds(vid, pid);
        if (known == nullptr) return false;
        LibLog("[%s]: Find  %04X:%04X  \n", who, vid, pid);
        return true;
    });
    return known;
}

usb_dev_handle *open_dev(uint32_t pid, uint32_t vid) {
    struct usb_device *found = WalkBusses([](struct usb_bus *bus) { LogBus("open_dev", bus); },
                                          [&](struct usb_bus *, struct usb_device *dev) {
                                              LogDevice("open_dev", dev);
                                              return HasIds(dev, vid, pid);
                                          });
    return found != nullptr ? usb_open(found) : nullptr;
}

}  // namespace vx
