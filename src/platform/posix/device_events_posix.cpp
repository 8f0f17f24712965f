// USB arrivals and removals from the kernel's uevents, through libudev's
// monitor. libudev is loaded at run time: a host on a system without it (or a
// container without netlink) still loads the library, and timed refreshes
// keep the list current.
#include <cerrno>
#include <cstring>
#include <dlfcn.h>
#include <poll.h>
#include <unistd.h>

#include "platform/platform.h"

namespace vx::platform {

namespace {

struct Udev {
    void *(*udev_new)();
    void *(*monitor_new)(void *udev, const char *name);
    int (*filter)(void *monitor, const char *subsystem, const char *devtype);
    int (*enable)(void *monitor);
    int (*get_fd)(void *monitor);
    void *(*receive)(void *monitor);
    const char *(*action)(void *device);
    void *(*device_unref)(void *device);
    void *(*udev_unref)(void *udev);
};

template <class F>
bool Bind(void *lib, const char *name, F *fn) {
    *fn = reinterpret_cast<F>(::dlsym(lib, name));
    return *fn != nullptr;
}

bool LoadUdev(Udev *u) {
    void *lib = ::dlopen("libudev.so.1", RTLD_NOW | RTLD_LOCAL);  // never closed
    if (lib == nullptr) return false;
    return Bind(lib, "udev_new", &u->udev_new) &&
           Bind(lib, "udev_monitor_new_from_netlink", &u->monitor_new) &&
           Bind(lib, "udev_monitor_filter_add_match_subsystem_devtype", &u->filter) &&
           Bind(lib, "udev_monitor_enable_receiving", &u->enable) &&
           Bind(lib, "udev_monitor_get_fd", &u->get_fd) &&
           Bind(lib, "udev_monitor_receive_device", &u->receive) &&
           Bind(lib, "udev_device_get_action", &u->action) &&
           Bind(lib, "udev_device_unref", &u->device_unref) &&
           Bind(lib, "udev_unref", &u->udev_unref);
}

}  // namespace

struct DeviceEvents {
    Udev udev;
    void *context;
    void *monitor;
    int fd;
};

DeviceEvents *OpenDeviceEvents(std::string *name) {
    auto *source = new DeviceEvents{};  // lives as long as the monitor thread: for good
    if (!LoadUdev(&source->udev)) {
        *name = "libudev.so.1 not loadable";
        delete source;
        return nullptr;
    }
    Udev &u = source->udev;
    void *ctx = u.udev_new();
    // With a udev daemon running, its events come after the device node is
    // ready to open; without one (a container), the kernel's own.
    const char *which = ::access("/run/udev/control", F_OK) == 0 ? "udev" : "kernel";
    void *monitor = ctx != nullptr ? u.monitor_new(ctx, which) : nullptr;
    if (monitor == nullptr || u.filter(monitor, "usb", "usb_device") < 0 || u.enable(monitor) < 0 ||
        u.get_fd(monitor) < 0) {
        *name = std::string("no ") + which + " netlink monitor";
        if (ctx != nullptr)
            u.udev_unref(ctx);  // a half-made monitor stays: libudev has no safe undo
        delete source;
        return nullptr;
    }
    source->context = ctx;
    source->monitor = monitor;
    source->fd = u.get_fd(monitor);
    *name = which;
    return source;
}

DeviceEvent WaitDeviceEvent(DeviceEvents *source) {
    pollfd p{source->fd, POLLIN, 0};
    int n = ::poll(&p, 1, -1);
    if (n < 0) return errno == EINTR ? kNoEvent : kSourceFailed;
    if ((p.revents & (POLLERR | POLLNVAL)) != 0) return kSourceFailed;
    void *device = source->udev.receive(source->monitor);
    if (device == nullptr) return kNoEvent;
    const char *action = source->udev.action(device);
    DeviceEvent event = kNoEvent;
    if (action != nullptr && std::strcmp(action, "add") == 0) event = kArrival;
    if (action != nullptr && std::strcmp(action, "remove") == 0) event = kRemoval;
    source->udev.device_unref(device);
    return event;
}

}  // namespace vx::platform
