// A libudev stand-in with just the monitor calls the library's event source
// makes, delivering the virtual bus's uevents. Built as libudev.so.1 beside
// the virtual libusb, so the library's run-time load of libudev finds it.
#include <cstdlib>
#include <cstring>
#include <string>

#include "vsim.h"

struct udev {
    int refs;
};
struct udev_monitor {
    int fd;
};
struct udev_device {
    char action[16];
};

extern "C" {

__attribute__((visibility("default"))) udev *udev_new() { return new udev{1}; }

__attribute__((visibility("default"))) udev *udev_unref(udev *u) {
    delete u;
    return nullptr;
}

__attribute__((visibility("default"))) udev_monitor *udev_monitor_new_from_netlink(
    udev *, const char *name) {
    if (name == nullptr || (std::strcmp(name, "udev") != 0 && std::strcmp(name, "kernel") != 0))
        return nullptr;
    if (!vsim::uevents_on()) return nullptr;  // like a container without netlink
    vsim::drop_uevents();
    return new udev_monitor{vsim::uevent_fd()};
}

__attribute__((visibility("default"))) int udev_monitor_filter_add_match_subsystem_devtype(
    udev_monitor *, const char *subsystem, const char *) {
    return subsystem != nullptr && std::strcmp(subsystem, "usb") == 0 ? 0 : -1;
}

__attribute__((visibility("default"))) int udev_monitor_enable_receiving(udev_monitor *) {
    return 0;
}

__attribute__((visibility("default"))) int udev_monitor_get_fd(udev_monitor *m) {
    return m != nullptr ? m->fd : -1;
}

__attribute__((visibility("default"))) udev_device *udev_monitor_receive_device(udev_monitor *) {
    std::string action;
    if (!vsim::take_uevent(&action)) return nullptr;
    auto *d = new udev_device{};
    std::strncpy(d->action, action.c_str(), sizeof d->action - 1);
    return d;
}

__attribute__((visibility("default"))) const char *udev_device_get_action(udev_device *d) {
    return d != nullptr ? d->action : nullptr;
}

__attribute__((visibility("default"))) udev_device *udev_device_unref(udev_device *d) {
    delete d;
    return nullptr;
}

}  // extern "C"
