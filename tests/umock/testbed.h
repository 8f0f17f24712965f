// The umockdev testbed of one process: a root hub on bus 001 (a real system
// always has one, and libusb 0.1 looks for busses only once) and recorders
// plugged and unplugged with the uevents libudev's monitor receives.
#pragma once

#include <umockdev.h>

#include <string>

#include "umock/usbfs_device.h"

namespace umock {

class Testbed {
public:
    Testbed();
    ~Testbed();
    Testbed(const Testbed &) = delete;
    Testbed &operator=(const Testbed &) = delete;

    // Adds the device's sysfs entry and usbdevfs node; announce: with an
    // "add" uevent. Returns false if umockdev refused.
    bool Plug(UsbfsDevice &device, bool announce);
    // The "remove" uevent, then the device's entry and node go.
    void Unplug(UsbfsDevice &device);

private:
    static std::string SysPath(const UsbfsDevice &device);
    static std::string NodeName(const UsbfsDevice &device);

    UMockdevTestbed *testbed_;
    UsbfsDevice hub_;
};

}  // namespace umock
