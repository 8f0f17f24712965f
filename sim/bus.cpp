// The virtual bus: busses, plugging and unplugging, and the libusb device lists.
//
// plug() and unplug() change only the sim's own table; the lists the library
// walks (usb_busses, bus->devices) change at usb_find_devices, as with a real
// rescan. New devices are appended to their bus's list in plug order. Structs
// that were ever on a list are never freed.
#include <cstdio>
#include <cstring>
#include <set>

#include "internal.h"

// Declared by usb.h with C++ linkage; global variables are not mangled.
struct usb_bus *usb_busses = nullptr;

namespace vsim {

State &state() {
    static State *s = new State;  // outlives every thread and static destructor
    return *s;
}

namespace {

usb_bus *make_bus(State &st, const std::string &dirname, uint32_t location) {
    st.graveyard_busses.push_back(std::make_unique<usb_bus>());
    usb_bus *b = st.graveyard_busses.back().get();
    std::memset(b, 0, sizeof *b);
    std::snprintf(b->dirname, sizeof b->dirname, "%s", dirname.c_str());
    b->location = location;
    // Link at the tail of the live list.
    usb_bus **tail = &usb_busses;
    usb_bus *prev = nullptr;
    while (*tail) {
        prev = *tail;
        tail = &(*tail)->next;
    }
    b->prev = prev;
    *tail = b;
    return b;
}

int lowest_free_devnum(const State &st, int bus) {
    std::set<int> used;
    for (const auto &d : st.devices)
        if (d && d->plugged && d->rec.spec.bus == bus) used.insert(d->node->dev.devnum);
    int n = 1;
    while (used.count(n)) ++n;
    return n;
}

void fill_node(UsbNode &n, const DeviceSpec &s, usb_bus *bus, int devnum) {
    struct usb_device &d = n.dev;
    std::snprintf(d.filename, sizeof d.filename, "%03d", devnum);
    d.bus = bus;
    d.devnum = static_cast<uint8_t>(devnum);
    d.num_children = 0;

    usb_device_descriptor &dd = d.descriptor;
    dd.bLength = USB_DT_DEVICE_SIZE;
    dd.bDescriptorType = USB_DT_DEVICE;
    dd.bcdUSB = 0x0200;
    dd.bMaxPacketSize0 = 64;
    dd.idVendor = s.vid;
    dd.idProduct = s.pid;
    dd.bcdDevice = 0x0100;
    dd.iManufacturer = 1;
    dd.iProduct = 2;
    dd.iSerialNumber = 3;
    dd.bNumConfigurations = 1;

    // One configuration, one interface, one bulk IN and one bulk OUT endpoint.
    const int eps[2] = {s.ep_in, s.ep_out};
    for (int i = 0; i < 2; ++i) {
        usb_endpoint_descriptor &e = n.endpoints[i];
        e.bLength = USB_DT_ENDPOINT_SIZE;
        e.bDescriptorType = USB_DT_ENDPOINT;
        e.bEndpointAddress = static_cast<uint8_t>(eps[i]);
        e.bmAttributes = USB_ENDPOINT_TYPE_BULK;
        e.wMaxPacketSize = 512;
    }
    usb_interface_descriptor &a = n.altsetting;
    a.bLength = USB_DT_INTERFACE_SIZE;
    a.bDescriptorType = USB_DT_INTERFACE;
    a.bInterfaceNumber = static_cast<uint8_t>(s.interface_no);
    a.bNumEndpoints = 2;
    a.bInterfaceClass = USB_CLASS_VENDOR_SPEC;
    a.endpoint = n.endpoints;
    n.interface.altsetting = &n.altsetting;
    n.interface.num_altsetting = 1;
    usb_config_descriptor &c = n.config;
    c.bLength = USB_DT_CONFIG_SIZE;
    c.bDescriptorType = USB_DT_CONFIG;
    c.wTotalLength = USB_DT_CONFIG_SIZE + USB_DT_INTERFACE_SIZE + 2 * USB_DT_ENDPOINT_SIZE;
    c.bNumInterfaces = 1;
    c.bConfigurationValue = static_cast<uint8_t>(s.configuration);
    c.bmAttributes = 0x80;
    c.MaxPower = 250;
    c.interface = &n.interface;
    d.config = &n.config;
}

void unlink_device(struct usb_device *d) {
    usb_bus *b = d->bus;
    if (d->prev)
        d->prev->next = d->next;
    else if (b && b->devices == d)
        b->devices = d->next;
    if (d->next) d->next->prev = d->prev;
    d->next = d->prev = nullptr;
}

void append_device(usb_bus *b, struct usb_device *d) {
    struct usb_device **tail = &b->devices;
    struct usb_device *prev = nullptr;
    while (*tail) {
        prev = *tail;
        tail = &(*tail)->next;
    }
    d->prev = prev;
    d->next = nullptr;
    *tail = d;
}

}  // namespace

std::shared_ptr<Device> find_device(int id) {
    State &st = state();
    if (id < 1 || static_cast<std::size_t>(id) > st.devices.size()) return nullptr;
    return st.devices[static_cast<std::size_t>(id) - 1];
}

void unplug_locked(Device &d) {
    if (!d.plugged) return;
    d.plugged = false;
    d.in.clear();
    d.out.clear();
    state().changed.notify_all();
    post_uevent("remove");
}

int find_busses_locked() {
    int changes = 0;
    for (Bus &b : state().busses) {
        if (!b.seen) ++changes;
        b.seen = true;
    }
    return changes;
}

// The rescan: unplugged devices leave their lists, plugged ones join theirs.
int find_devices_locked() {
    const State &st = state();
    int changes = 0;
    for (const auto &d : st.devices) {
        if (d->listed && !d->plugged) {
            unlink_device(&d->node->dev);
            d->listed = false;
            ++changes;
        }
    }
    for (const auto &d : st.devices) {
        if (!d->listed && d->plugged) {
            append_device(d->node->dev.bus, &d->node->dev);
            d->listed = true;
            ++changes;
        }
    }
    return changes;
}

void reset() {
    stop_events();
    State &st = state();
    Lock lk(st.lock);
    for (const auto &d : st.devices) {
        unplug_locked(*d);
        if (d->listed) unlink_device(&d->node->dev);
        d->listed = false;
    }
    for (const Bus &b : st.busses) b.node->next = b.node->prev = nullptr;
    usb_busses = nullptr;
    st.busses.clear();
    st.devices.clear();
    st.handlers.clear();
    st.transfers.clear();
    st.calls.clear();
    st.device_scans = 0;
    st.realtime = false;
    st.changed.notify_all();
}

int add_bus(const std::string &dirname, uint32_t location) {
    State &st = state();
    Lock lk(st.lock);
    st.busses.push_back(Bus{make_bus(st, dirname, location), false});
    return static_cast<int>(st.busses.size()) - 1;
}

// A device on a bus that does not exist yet creates the missing busses,
// named "001", "002", ... after their index.
int plug(const DeviceSpec &spec_in) {
    DeviceSpec spec = spec_in;
    if (!apply_model(spec) || spec.bus < 0) return -1;
    State &st = state();
    Lock lk(st.lock);
    while (static_cast<int>(st.busses.size()) <= spec.bus) {
        char name[16];
        std::snprintf(name, sizeof name, "%03d", static_cast<int>(st.busses.size()) + 1);
        st.busses.push_back(Bus{make_bus(st, name, 0), false});
    }
    int number = spec.devnum > 0 ? spec.devnum : lowest_free_devnum(st, spec.bus);
    if (number > 127) return -1;

    auto d = std::make_shared<Device>();
    d->rec.id = static_cast<int>(st.devices.size()) + 1;
    d->rec.spec = spec;
    d->rec.values = default_values(spec);
    for (const auto &kv : spec.values) d->rec.set(kv.first, kv.second);
    d->rec.initial_values = d->rec.values;
    st.graveyard_devices.push_back(std::make_unique<UsbNode>());
    d->node = st.graveyard_devices.back().get();
    fill_node(*d->node, spec, st.busses[static_cast<std::size_t>(spec.bus)].node, number);
    st.by_node[&d->node->dev] = d;
    st.devices.push_back(d);
    st.changed.notify_all();
    post_uevent("add");
    return d->rec.id;
}

void unplug(int id) {
    Lock lk(state().lock);
    if (auto d = find_device(id)) unplug_locked(*d);
}

int replug_locked(Device &d) {
    unplug_locked(d);
    DeviceSpec spec = d.rec.spec;
    // The next free number above the old one (wrapping), never the old one.
    std::set<int> used;
    for (const auto &o : state().devices)
        if (o->plugged && o->rec.spec.bus == spec.bus) used.insert(o->node->dev.devnum);
    int old = d.node->dev.devnum;
    spec.devnum = 0;
    for (int step = 1; step < 127 && spec.devnum == 0; ++step) {
        int n = (old - 1 + step) % 127 + 1;
        if (!used.count(n)) spec.devnum = n;
    }
    if (spec.devnum == 0) return -1;
    d.successor = plug(spec);
    return d.successor;
}

int replug(int id) {
    Lock lk(state().lock);
    auto d = find_device(id);
    return d ? replug_locked(*d) : -1;
}

bool plug_again(int id) {
    State &st = state();
    Lock lk(st.lock);
    auto d = find_device(id);
    if (!d || d->plugged || d->listed) return false;
    const DeviceSpec &spec = d->rec.spec;
    fill_node(*d->node, spec, st.busses[static_cast<std::size_t>(spec.bus)].node,
              lowest_free_devnum(st, spec.bus));
    Recorder &rec = d->rec;
    rec.logged_in = false;
    rec.powering_off = false;
    rec.values = rec.initial_values;
    rec.data_packs.clear();
    rec.shell_lines.clear();
    d->commands.clear();
    d->faults = Faults();
    d->later_at = 0;
    d->leaving = false;
    d->plugged = true;
    st.changed.notify_all();
    post_uevent("add");
    return true;
}

int replugged_as(int id) {
    Lock lk(state().lock);
    auto d = find_device(id);
    return d ? d->successor : 0;
}

int devnum(int id) {
    Lock lk(state().lock);
    auto d = find_device(id);
    return d ? d->node->dev.devnum : -1;
}

}  // namespace vsim
