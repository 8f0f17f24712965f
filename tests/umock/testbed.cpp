#include "umock/testbed.h"

#include <cstdio>

namespace umock {

namespace {

std::string Hex(const std::vector<uint8_t> &bytes) {
    std::string out;
    char pair[3];
    for (uint8_t b : bytes) {
        std::snprintf(pair, sizeof pair, "%02X", b);
        out += pair;
    }
    return out;
}

}  // namespace

Testbed::Testbed()
    : testbed_(umockdev_testbed_new()),
      hub_({.vendor = 0x1D6B, .product = 0x0002, .device_class = 9, .devnum = 1}, RecorderSpec{}) {
    Plug(hub_, false);
}

Testbed::~Testbed() { g_object_unref(testbed_); }

std::string Testbed::SysPath(const UsbfsDevice &device) {
    const UsbIds &ids = device.Ids();
    std::string bus = "usb" + std::to_string(ids.bus);
    if (ids.device_class == 9) return "/sys/devices/pci0000:00/" + bus;
    return "/sys/devices/pci0000:00/" + bus + "/" + std::to_string(ids.bus) + "-" +
           std::to_string(ids.devnum);
}

std::string Testbed::NodeName(const UsbfsDevice &device) {
    char name[32];
    std::snprintf(name, sizeof name, "bus/usb/%03d/%03d", device.Ids().bus, device.Ids().devnum);
    return name;
}

bool Testbed::Plug(UsbfsDevice &device, bool announce) {
    const UsbIds &ids = device.Ids();
    const std::string sys = SysPath(device);
    const std::string node = NodeName(device);
    char numbers[160];
    std::snprintf(numbers, sizeof numbers,
                  "E: BUSNUM=%03d\nE: DEVNUM=%03d\nA: busnum=%d\nA: devnum=%d\nA: idVendor=%04x\n"
                  "A: idProduct=%04x\nA: dev=189:%d\n",
                  ids.bus, ids.devnum, ids.bus, ids.devnum, ids.vendor, ids.product,
                  (ids.bus - 1) * 128 + ids.devnum - 1);
    // The node's contents are what reading it gives: the descriptors, which
    // is how libusb 0.1 reads them from usbdevfs.
    std::string record = "P: " + sys.substr(4) + "\nN: " + node + "=" + Hex(device.Descriptors()) +
                         "\nE: DEVNAME=/dev/" + node +
                         "\nE: DEVTYPE=usb_device\nE: SUBSYSTEM=usb\n" + numbers +
                         "H: descriptors=" + Hex(device.Descriptors()) + "\n";
    if (!ids.serial.empty()) record += "A: serial=" + ids.serial + "\n";
    GError *error = nullptr;
    bool added = umockdev_testbed_add_from_string(testbed_, record.c_str(), &error) != FALSE;
    if (added)
        added = umockdev_testbed_attach_ioctl(testbed_, ("/dev/" + node).c_str(), device.Handler(),
                                              &error) != FALSE;
    if (error != nullptr) {
        std::fprintf(stderr, "umockdev: %s\n", error->message);
        g_error_free(error);
    }
    if (added && announce) umockdev_testbed_uevent(testbed_, sys.c_str(), "add");
    return added;
}

void Testbed::Unplug(UsbfsDevice &device) {
    const std::string sys = SysPath(device);
    umockdev_testbed_uevent(testbed_, sys.c_str(), "remove");
    // The handler stays attached: handles the library still holds reach it
    // and get what the kernel gives for a vanished device.
    device.Unplug();
    umockdev_testbed_remove_device(testbed_, sys.c_str());
}

}  // namespace umock
