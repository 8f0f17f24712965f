// The libusb 0.1 calls the library makes, over the virtual bus.
//
// Error codes follow Debian's libusb 0.1.12 on Linux: -ETIMEDOUT for a read
// with nothing to deliver, -ENODEV at once for an unplugged device, -ENOENT
// for an endpoint or interface the device does not have, -EINVAL for a
// configuration it does not have or an interface released without a claim.
#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>

#include "internal.h"
#include "usb_error.h"

// A handle names its usb_device; the sim finds the recorder behind it (ids
// may be reused after reset(), usb_device structs never are).
struct usb_dev_handle {
    struct usb_device *node;
    bool claimed;
};

namespace vsim {
namespace {

void record_call(const char *name, const Device &d, int arg, bool with_arg = true) {
    std::string s = std::string(name) + " " + std::to_string(d.rec.id);
    if (with_arg) s += " " + std::to_string(arg);
    state().calls.push_back(s);
}

Device *device_of(const usb_dev_handle *h) {
    if (!h) return nullptr;
    auto it = state().by_node.find(h->node);
    return it == state().by_node.end() ? nullptr : it->second.get();
}

// Common entry of the calls on a handle: the lock is held by the caller.
int check_handle(usb_dev_handle *h) {
    Device *d = device_of(h);
    if (!d) return set_error(-EINVAL, "invalid device handle");
    if (!d->plugged) return set_error(-ENODEV, "No such device");
    return 0;
}

}  // namespace
}  // namespace vsim

using namespace vsim;

extern "C" {

void usb_init(void) {
    GuardedVoid([] { load_scenario_from_env(); });
}

int usb_find_busses(void) {
    return Guarded(-ENOMEM, [] {
        Lock lk(state().lock);
        return find_busses_locked();
    });
}

int usb_find_devices(void) {
    return Guarded(-ENOMEM, [] {
        Lock lk(state().lock);
        ++state().device_scans;
        return find_devices_locked();
    });
}

struct usb_bus *usb_get_busses(void) {
    return usb_busses;
}

usb_dev_handle *usb_open(struct usb_device *dev) {
    return Guarded<usb_dev_handle *>(nullptr, [dev]() -> usb_dev_handle * {
        State &st = state();
        Lock lk(st.lock);
        auto it = st.by_node.find(dev);
        if (it == st.by_node.end() || !it->second->plugged) {
            set_error(-ENODEV, "No such device");
            return nullptr;
        }
        record_call("open", *it->second, 0, false);
        return new usb_dev_handle{dev, false};
    });
}

int usb_close(usb_dev_handle *h) {
    return Guarded(-EINVAL, [h] {
        if (!h) return set_error(-EINVAL, "invalid device handle");
        {
            Lock lk(state().lock);
            if (Device *d = device_of(h)) record_call("close", *d, 0, false);
        }
        delete h;
        return 0;
    });
}

struct usb_device *usb_device(usb_dev_handle *h) {
    return h ? h->node : nullptr;
}

int usb_set_configuration(usb_dev_handle *h, int configuration) {
    return Guarded(-ENOMEM, [&] {
        Lock lk(state().lock);
        if (int e = check_handle(h)) return e;
        Device &d = *device_of(h);
        record_call("set_configuration", d, configuration);
        if (d.faults.set_configuration_error)
            return set_error(d.faults.set_configuration_error, "could not set config");
        if (configuration != d.rec.spec.configuration)
            return set_error(-EINVAL, "could not set config");
        return 0;
    });
}

int usb_claim_interface(usb_dev_handle *h, int interface) {
    return Guarded(-ENOMEM, [&] {
        Lock lk(state().lock);
        if (int e = check_handle(h)) return e;
        Device &d = *device_of(h);
        record_call("claim_interface", d, interface);
        if (d.faults.claim_interface_error)
            return set_error(d.faults.claim_interface_error, "could not claim interface");
        if (interface != d.rec.spec.interface_no)
            return set_error(-ENOENT, "could not claim interface");
        h->claimed = true;
        return 0;
    });
}

int usb_release_interface(usb_dev_handle *h, int interface) {
    return Guarded(-ENOMEM, [&] {
        Lock lk(state().lock);
        if (int e = check_handle(h)) return e;
        Device &d = *device_of(h);
        record_call("release_interface", d, interface);
        if (!h->claimed || interface != d.rec.spec.interface_no)
            return set_error(-EINVAL, "could not release interface");
        h->claimed = false;
        return 0;
    });
}

}  // extern "C"

namespace vsim {
namespace {

// What both bulk calls share: the lock, the handle and endpoint checks, and
// one record of the call whatever its result. move(device, lock, data out)
// does the transfer itself and returns its result.
template <class Move>
int bulk_transfer(Transfer::Kind kind, usb_dev_handle *h, int ep, int size, int timeout,
                  Move &&move) {
    return Guarded(-ENOMEM, [&] {
        State &st = state();
        Lock lk(st.lock);
        Device *dp = device_of(h);
        std::string data;
        auto done = [&](int result) {
            st.transfers.push_back(
                Transfer{kind, dp ? dp->rec.id : 0, ep, std::move(data), size, timeout, result});
            return result;
        };
        if (dp) step_faults(*dp);
        if (int e = check_handle(h)) return done(e);
        bool in = kind == Transfer::Read;
        if (ep != (in ? dp->rec.spec.ep_in : dp->rec.spec.ep_out))
            return done(set_error(-ENOENT, in ? "error reading from bulk endpoint"
                                              : "error writing to bulk endpoint"));
        return done(move(*dp, lk, data));
    });
}

// Bytes of an old reply that never ends: no "OK" and no "Error:" in them.
std::string stale_packet(std::size_t n) {
    static const char kPattern[] = "+STALE:0123456789\r\n";
    std::string out;
    while (out.size() < n) out += kPattern;
    out.resize(n);
    return out;
}

}  // namespace
}  // namespace vsim

extern "C" {

int usb_bulk_write(usb_dev_handle *h, int ep, const char *bytes, int size, int timeout) {
    return bulk_transfer(
        Transfer::Write, h, ep, size, timeout, [&](Device &d, Lock &, std::string &data) {
            if (size < 0 || (size > 0 && !bytes)) return set_error(-EINVAL, "invalid argument");
            if (d.leaving) {  // powered off with its reply unread
                unplug_locked(d);
                return set_error(-ENODEV, "No such device");
            }
            if (d.faults.write_error_count > 0 && d.faults.write_error) {
                --d.faults.write_error_count;
                return set_error(d.faults.write_error, "error writing to bulk endpoint");
            }
            int n = size;
            if (d.faults.write_chunk > 0 && n > d.faults.write_chunk) n = d.faults.write_chunk;
            data.assign(bytes ? bytes : "", static_cast<std::size_t>(n));
            receive(d, data);
            return n;
        });
}

int usb_bulk_read(usb_dev_handle *h, int ep, char *bytes, int size, int timeout) {
    return bulk_transfer(
        Transfer::Read, h, ep, size, timeout, [&](Device &d, Lock &lk, std::string &data) {
            if (size <= 0 || !bytes) return set_error(-EINVAL, "invalid argument");
            drain_partial(d);
            State &st = state();
            if (st.realtime && d.in.empty() && d.plugged) {
                auto until = std::chrono::steady_clock::now() +
                             std::chrono::milliseconds(timeout > 0 ? timeout : 0);
                st.changed.wait_until(lk, until, [&] { return !d.in.empty() || !d.plugged; });
            }
            if (!d.plugged) return set_error(-ENODEV, "No such device");
            if (d.faults.zero_length_reads) return 0;
            if (d.faults.stale_stream) {
                data =
                    stale_packet(std::min(d.rec.spec.packet_size, static_cast<std::size_t>(size)));
                // NOLINTNEXTLINE(bugprone-not-null-terminated-result): transfer bytes, no text
                std::memcpy(bytes, data.data(), data.size());
                return static_cast<int>(data.size());
            }
            if (d.in.empty()) return set_error(-ETIMEDOUT, "Connection timed out");
            std::string &packet = d.in.front();
            std::size_t n = std::min(packet.size(), static_cast<std::size_t>(size));
            // NOLINTNEXTLINE(bugprone-not-null-terminated-result): transfer bytes, no text
            std::memcpy(bytes, packet.data(), n);
            data = packet.substr(0, n);
            packet.erase(0, n);
            if (packet.empty()) d.in.pop_front();
            if (d.leaving && d.in.empty()) unplug_locked(d);  // its last words are out
            return static_cast<int>(n);
        });
}

int usb_get_string_simple(usb_dev_handle *h, int index, char *buf, size_t buflen) {
    return Guarded(-ENOMEM, [&] {
        Lock lk(state().lock);
        if (int e = check_handle(h)) return e;
        if (!buf || buflen == 0) return set_error(-EINVAL, "invalid argument");
        const DeviceSpec &s = device_of(h)->rec.spec;
        std::string text;
        if (index == 1)
            text = "Virtual Recorder";
        else if (index == 2)
            text = s.model.empty() ? std::string("Recorder") : "Recorder " + s.model;
        else if (index == 3)
            text = s.serial;
        else
            return set_error(-EPIPE, "error sending control message: Broken pipe");
        std::size_t n = text.size() < buflen - 1 ? text.size() : buflen - 1;
        std::memcpy(buf, text.data(), n);
        buf[n] = '\0';
        return static_cast<int>(n);
    });
}

}  // extern "C"
