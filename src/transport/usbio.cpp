#include "transport/usbio.h"

#include <cstdio>

#include "common/log.h"
#include "common/outcome.h"
#include "common/secret_mask.h"
#include "common/state.h"
#include "common/text.h"
#include "transport/models.h"

namespace vx {
namespace {

usb_dev_handle *HandleOf(const VestraInfo *dev) {
    return static_cast<usb_dev_handle *>(dev->usbHandle);
}

// Sets the record's configuration and claims its interface on an opened
// handle; who: the routine that logs the successes, or null.
bool ConfigureAndClaim(VestraInfo *dev, usb_dev_handle *handle, const char *who, char *text,
                       std::size_t size) {
    const int config = int(dev->model.configuration);
    const int iface = int(dev->model.interfaceNo);
    if (usb_set_configuration(handle, config) < 0) {
        std::snprintf(text, size, "error setting config #%d: %s\n", config, usb_strerror());
        return false;
    }
    if (who) LibLog("[%s]: success: set configuration #%d\n", who, config);
    if (usb_claim_interface(handle, iface) < 0) {
        std::snprintf(text, size, "error claiming interface #%d:\n%s\n", iface, usb_strerror());
        return false;
    }
    if (who) LibLog("[%s]: success: claim_interface #%d\n", who, iface);
    return true;
}

}  // namespace

bool OpenModel(VestraInfo *dev, char *text, std::size_t size) {
    usb_dev_handle *handle = open_dev(dev->model.productId, dev->model.vendorId);
    if (handle == nullptr) {
        std::snprintf(text, size, "error opening device: \n%s\n", usb_strerror());
        return false;
    }
    if (!ConfigureAndClaim(dev, handle, nullptr, text, size)) {
        usb_close(handle);
        return false;
    }
    dev->usbHandle = handle;
    return true;
}

int Open_Device(VestraInfo *dev, uint32_t pid, uint32_t vid, int *state) {
    if (dev->usbHandle != nullptr) Close_Device(dev);
    InitUsbBus();

    usb_dev_handle *handle = open_dev(pid, vid);
    if (handle == nullptr) {
        char text[1024];
        std::snprintf(text, sizeof text, "error opening device: \n%s\n", usb_strerror());
        SetErrStr(dev, text);
        LibLog("[%s] %s\n", "Open_Device", text);
    } else {
        dev->usbHandle = handle;
        LibLog("[%s]: success: device %04X:%04X opened\n", "Open_Device", pid, vid);
        char text[512];
        if (ConfigureAndClaim(dev, handle, "Open_Device", text, sizeof text)) {
            if (state) *state = 1;
            return 1;
        }
        SetErrStr(dev, text);
        LibLog("[%s]: %s\n", "Open_Device", text);
    }
    if (state) *state = 2;
    Close_Device(dev);
    return 0;
}

int ClaimDev(VestraInfo *dev) {
    if (dev == nullptr || dev->usbHandle == nullptr) return 0;
    char text[512] = {};
    Outcome outcome = Outcome::Done;
    const int config = int(dev->model.configuration);
    const int iface = int(dev->model.interfaceNo);
    if (usb_set_configuration(HandleOf(dev), config) < 0) {
        std::snprintf(text, sizeof text, "error setting config #%d: %s\n", config, usb_strerror());
        outcome = Outcome::ConfigFailed;
    } else if (usb_claim_interface(HandleOf(dev), iface) < 0) {
        std::snprintf(text, sizeof text, "error claiming interface #%d:\n%s\n", iface,
                      usb_strerror());
        outcome = Outcome::ClaimFailed;
    } else {
        return 1;
    }
    usb_close(HandleOf(dev));
    dev->usbHandle = nullptr;
    SetOutcome(dev, outcome, text);
    LibLog("%s", text);
    return 0;
}

bool BussesFound() { return usb_get_busses() != nullptr; }

bool OpenFound(VestraInfo *dev, struct usb_device *device) {
    dev->usbHandle = usb_open(device);
    return dev->usbHandle != nullptr;
}

int ReadSerialString(VestraInfo *dev, const struct usb_device *device, char *serial, int size) {
    if (device->descriptor.iSerialNumber == 0) return 0;
    return usb_get_string_simple(HandleOf(dev), device->descriptor.iSerialNumber, serial,
                                 std::size_t(size));
}

void VisitOpened(VestraInfo *dev, uint32_t pid, uint32_t vid,
                 FnRef<bool(VestraInfo *dev, const char *serial)> visit) {
    InitUsbBus();
    WalkDevices([&](struct usb_bus *, struct usb_device *d) REQUIRES(LibLock()) {
        if (d->descriptor.idVendor != vid || d->descriptor.idProduct != pid) return false;
        if (!OpenFound(dev, d)) return false;
        char serial[16] = {};
        if (ReadSerialString(dev, d, serial, sizeof serial) < 0) serial[0] = '\0';
        serial[sizeof serial - 1] = '\0';
        if (visit(dev, serial)) return true;
        Close_Device(dev);
        return false;
    });
}

void Close_Device(VestraInfo *dev) {
    if (usb_dev_handle *handle = HandleOf(dev)) {
        // The interface this record claimed, which is not always interface 0.
        usb_release_interface(handle, int(dev->model.interfaceNo));
        usb_close(handle);
    }
    dev->usbHandle = nullptr;
    dev->devNum = -1;
}

void FlushReadDev(VestraInfo *dev) {
    char scratch[kFlushChunk];
    for (int i = 0; i < kMaxFlushReads; ++i) {
        if (usb_bulk_read(HandleOf(dev), int(dev->model.bulkIn), scratch, kFlushChunk,
                          kFlushTimeoutMs) < 0)
            return;
    }
}

int WriteFullDev(VestraInfo *dev, std::string_view command) {
    if (dev->usbHandle == nullptr) {
        Close_Device(dev);
        return -1;
    }
    FlushReadDev(dev);
    CopyText(dev->lastCmd, command);

    const int whole = int(command.size());
    const std::string shown = MaskSecrets(command);  // what the log may carry
    int written = 0;
    for (int count = 0; written < whole; ++count) {
        int left = whole - written;
        int r = usb_bulk_write(HandleOf(dev), int(dev->model.bulkOut), command.data() + written,
                               left, kWriteTimeoutMs);
        if (r < 0) {
            LibLog("[%s]: usb_bulk_write %.*s error %d  : %s,so close dev\n", "WriteFullDev", left,
                   shown.data() + written, r, usb_strerror());
            Close_Device(dev);
            SetDeviceChangeState(2);
            return -1;
        }
        LibLog("[%s]: usb_bulk_write %.*s \n", "WriteFullDev", whole, shown.data());
        written += r < left ? r : left;
        if (count >= kMaxWrites - 1) break;
    }
    return written;
}

ReadResult ReadFullDev(VestraInfo *dev, char *reply, int capacity, CompleteRule complete) {
    int total = 0;
    int verdict = 0;
    int room = capacity - 1;  // the last byte keeps the text terminated
    int empty_reads = 0;
    while (room > 0) {
        int r = usb_bulk_read(HandleOf(dev), int(dev->model.bulkIn), reply + total, room,
                              kReadTimeoutMs);
        if (r < 0) {
            LibLog("[%s]: usb_bulk_read err:cmd:%s ret=%d,%s\n", "ReadFullDev",
                   MaskSecrets(AreaText(dev->lastCmd, sizeof dev->lastCmd)).c_str(), r,
                   usb_strerror());
            if (r != kUsbTimeout) {
                Close_Device(dev);
                SetDeviceChangeState(2);
            }
            return {-1, 0};
        }
        if (r > room) r = room;
        room -= r;
        total += r;
        reply[total] = '\0';
        verdict = complete(reply);
        if (verdict != 0) break;
        if (r == 0 && ++empty_reads >= kMaxEmptyReads) break;
    }
    LibLog("[%s]: readbuf [%d]:%s\n", "ReadFullDev", total, MaskSecrets(reply).c_str());
    return {total, verdict};
}

}  // namespace vx
