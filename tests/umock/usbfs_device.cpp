#include "umock/usbfs_device.h"

#include <linux/usbdevice_fs.h>
#include <sys/ioctl.h>

#include <cerrno>
#include <cstddef>
#include <cstring>

namespace umock {

namespace {

struct Unref {
    void operator()(UMockdevIoctlData *data) const { g_object_unref(data); }
};
using DataRef = std::unique_ptr<UMockdevIoctlData, Unref>;

// The client memory the pointer at offset points to, as local memory that
// goes back to the client when the ioctl completes; null for a null pointer.
DataRef Resolve(UMockdevIoctlData *data, std::size_t offset, std::size_t len) {
    GError *error = nullptr;
    UMockdevIoctlData *child = umockdev_ioctl_data_resolve(data, offset, len, &error);
    if (error != nullptr) g_error_free(error);
    return DataRef(child);
}

// Writes local changes so that they reach the client.
void Store(UMockdevIoctlData *data, const void *bytes, std::size_t len) {
    std::vector<guint8> copy(static_cast<const guint8 *>(bytes),
                             static_cast<const guint8 *>(bytes) + len);
    umockdev_ioctl_data_update(data, 0, copy.data(), static_cast<gint>(copy.size()));
}

constexpr uint8_t LowByte(int v) { return static_cast<uint8_t>(v & 0xFF); }
constexpr uint8_t HighByte(int v) { return static_cast<uint8_t>((v >> 8) & 0xFF); }
constexpr int kStringDescriptor = 3;
constexpr int kGetDescriptor = 6;
constexpr uint16_t kEnglishUs = 0x0409;

}  // namespace

struct UsbfsDevice::Urb {
    DataRef urb;
    DataRef buffer;
    uint8_t endpoint;
    int length;
};

UsbfsDevice::UsbfsDevice(UsbIds ids, RecorderSpec spec)
    : ids_(std::move(ids)), handler_(umockdev_ioctl_base_new()), recorder_(std::move(spec)) {
    g_signal_connect(handler_, "handle-ioctl", G_CALLBACK(&UsbfsDevice::OnIoctl), this);
}

UsbfsDevice::~UsbfsDevice() { g_object_unref(handler_); }

std::vector<uint8_t> UsbfsDevice::Descriptors() const {
    const bool hub = ids_.device_class == 9;
    const uint8_t serial_index = ids_.serial.empty() ? 0 : 3;
    const uint8_t endpoints = hub ? 1 : 2;
    const int total = 9 + 9 + 7 * endpoints;
    const uint8_t iface_class = hub ? 9 : 0xFF;
    // clang-format off
    std::vector<uint8_t> d = {
        18, 1, 0x00, 0x02, ids_.device_class, 0, 0, 64,  // device: USB 2.0, class, EP0 of 64
        LowByte(ids_.vendor), HighByte(ids_.vendor), LowByte(ids_.product), HighByte(ids_.product),
        0x00, 0x01, 1, 2, serial_index, 1,               // release 1.00, strings, 1 configuration
        9, 2, LowByte(total), HighByte(total), 1, 1, 0, 0x80, 50,  // configuration 1, 100 mA
        9, 4, ids_.interface_no, 0, endpoints, iface_class, 0, 0, 0};  // its one interface
    if (hub) {
        d.insert(d.end(), {7, 5, 0x81, 3, 4, 0, 12});                // interrupt IN
    } else {
        d.insert(d.end(), {7, 5, ids_.bulk_in, 2, 0x00, 0x02, 0});   // bulk IN of 512
        d.insert(d.end(), {7, 5, ids_.bulk_out, 2, 0x00, 0x02, 0});  // bulk OUT of 512
    }
    // clang-format on
    return d;
}

void UsbfsDevice::Unplug() {
    std::lock_guard<std::mutex> guard(lock_);
    gone_ = true;
}

void UsbfsDevice::Silence(const std::string &line) {
    std::lock_guard<std::mutex> guard(lock_);
    recorder_.Silence(line);
}

std::vector<Transfer> UsbfsDevice::Transfers() {
    std::lock_guard<std::mutex> guard(lock_);
    return transfers_;
}

std::vector<std::string> UsbfsDevice::Written() {
    std::vector<std::string> out;
    for (const Transfer &t : Transfers())
        if ((t.endpoint & 0x80) == 0) out.push_back(t.bytes);
    return out;
}

Requests UsbfsDevice::Seen() {
    std::lock_guard<std::mutex> guard(lock_);
    return seen_;
}

gboolean UsbfsDevice::OnIoctl(UMockdevIoctlBase *, UMockdevIoctlClient *client, gpointer self) {
    auto *device = static_cast<UsbfsDevice *>(self);
    Answer answer{-1, ENOTTY};
    {
        std::lock_guard<std::mutex> guard(device->lock_);
        answer = device->Handle(umockdev_ioctl_client_get_request(client),
                                umockdev_ioctl_client_get_arg(client));
    }
    umockdev_ioctl_client_complete(client, answer.result, answer.error);
    return TRUE;
}

UsbfsDevice::Answer UsbfsDevice::Handle(unsigned long request, UMockdevIoctlData *arg) {
    if (gone_) CompleteReadable();  // URBs in flight end with the device
    switch (request) {
    case USBDEVFS_REAPURB:  // blocking: asked only for a URB completed already
    case USBDEVFS_REAPURBNDELAY:
        return Reap(arg);
    default:
        break;
    }
    if (gone_) return {-1, ENODEV};
    switch (request) {
    case USBDEVFS_CONNECTINFO:
        return ConnectInfo(arg);
    case USBDEVFS_IOCTL:  // the hub-port query of the bus scan: not a hub driver
        return {-1, ENOSYS};
    case USBDEVFS_SETCONFIGURATION:
        return IntArgument(arg, &seen_.configurations);
    case USBDEVFS_CLAIMINTERFACE:
        return IntArgument(arg, &seen_.claims);
    case USBDEVFS_RELEASEINTERFACE:
        return IntArgument(arg, &seen_.releases);
    case USBDEVFS_CONTROL:
        return Control(arg);
    case USBDEVFS_SUBMITURB:
        return Submit(arg);
    case USBDEVFS_DISCARDURB:
        return Discard(arg);
    default:
        return {-1, ENOTTY};
    }
}

UsbfsDevice::Answer UsbfsDevice::ConnectInfo(UMockdevIoctlData *arg) {
    DataRef info = Resolve(arg, 0, sizeof(usbdevfs_connectinfo));
    if (!info) return {-1, EFAULT};
    usbdevfs_connectinfo value{};
    value.devnum = static_cast<unsigned int>(ids_.devnum);
    Store(info.get(), &value, sizeof value);
    return {0, 0};
}

UsbfsDevice::Answer UsbfsDevice::IntArgument(UMockdevIoctlData *arg, std::vector<int> *into) {
    DataRef value = Resolve(arg, 0, sizeof(int));
    if (!value) return {-1, EFAULT};
    int number = 0;
    std::memcpy(&number, value->data, sizeof number);
    into->push_back(number);
    return {0, 0};
}

std::string UsbfsDevice::StringDescriptor(int index) const {
    std::string text;
    if (index == 1) text = "LibVestra tests";
    if (index == 2) text = ids_.device_class == 9 ? "Root hub" : "Recorder";
    if (index == 3) text = ids_.serial;
    std::string d(2, '\0');
    for (char c : text) {
        d += c;
        d += '\0';
    }
    d[0] = static_cast<char>(d.size());
    d[1] = static_cast<char>(kStringDescriptor);
    return d;
}

UsbfsDevice::Answer UsbfsDevice::Control(UMockdevIoctlData *arg) {
    DataRef setup = Resolve(arg, 0, sizeof(usbdevfs_ctrltransfer));
    if (!setup) return {-1, EFAULT};
    usbdevfs_ctrltransfer c{};
    std::memcpy(&c, setup->data, sizeof c);
    const int index = c.wValue & 0xFF;
    if (c.bRequestType != 0x80 || c.bRequest != kGetDescriptor ||
        (c.wValue >> 8) != kStringDescriptor || index > 3)
        return {-1, EPIPE};  // a stall, as a device answers what it does not know
    std::string d;
    if (index == 0) {
        d = {4, static_cast<char>(kStringDescriptor), static_cast<char>(kEnglishUs & 0xFF),
             static_cast<char>(kEnglishUs >> 8)};
    } else {
        if (c.wIndex != kEnglishUs) return {-1, EPIPE};
        d = StringDescriptor(index);
    }
    if (d.size() > c.wLength) d.resize(c.wLength);
    DataRef data = Resolve(setup.get(), offsetof(usbdevfs_ctrltransfer, data), c.wLength);
    if (!data) return {-1, EFAULT};
    Store(data.get(), d.data(), d.size());
    return {static_cast<long>(d.size()), 0};
}

UsbfsDevice::Answer UsbfsDevice::Submit(UMockdevIoctlData *arg) {
    DataRef urb = Resolve(arg, 0, sizeof(usbdevfs_urb));
    if (!urb) return {-1, EFAULT};
    usbdevfs_urb u{};
    std::memcpy(&u, urb->data, sizeof u);
    const bool in = (u.endpoint & 0x80) != 0;
    if (u.type != USBDEVFS_URB_TYPE_BULK || u.endpoint != (in ? ids_.bulk_in : ids_.bulk_out) ||
        u.buffer_length < 0)
        return {-1, EINVAL};
    DataRef buffer = Resolve(urb.get(), offsetof(usbdevfs_urb, buffer),
                             static_cast<std::size_t>(u.buffer_length));
    auto pending =
        std::make_unique<Urb>(Urb{std::move(urb), std::move(buffer), u.endpoint, u.buffer_length});
    if (in) {
        in_flight_.push_back(std::move(pending));
        return {0, 0};
    }
    std::string bytes;
    if (pending->buffer)
        bytes.assign(reinterpret_cast<const char *>(pending->buffer->data), u.buffer_length);
    transfers_.push_back({u.endpoint, bytes});
    recorder_.Receive(bytes);
    Complete(std::move(pending), u.buffer_length, 0);
    return {0, 0};
}

void UsbfsDevice::Complete(std::unique_ptr<Urb> u, int length, int status) {
    auto *urb = reinterpret_cast<usbdevfs_urb *>(u->urb->data);
    urb->actual_length = length;
    urb->status = status;
    Store(u->urb.get(), urb, sizeof *urb);
    completed_.push_back(std::move(u));
}

void UsbfsDevice::CompleteReadable() {
    while (!in_flight_.empty() && (gone_ || recorder_.HasReply())) {
        std::unique_ptr<Urb> u = std::move(in_flight_.front());
        in_flight_.pop_front();
        if (gone_) {
            Complete(std::move(u), 0, -ESHUTDOWN);
            continue;
        }
        std::string reply = recorder_.TakeReply(static_cast<std::size_t>(u->length));
        if (u->buffer) Store(u->buffer.get(), reply.data(), reply.size());
        transfers_.push_back({u->endpoint, reply});
        Complete(std::move(u), static_cast<int>(reply.size()), 0);
    }
}

UsbfsDevice::Answer UsbfsDevice::Reap(UMockdevIoctlData *arg) {
    CompleteReadable();
    // The blocking reap is only ever asked for a discarded URB, which is
    // completed already; answering rather than blocking keeps a wrong caller
    // from hanging the suite.
    if (completed_.empty()) return {-1, gone_ ? ENODEV : EAGAIN};
    DataRef context = Resolve(arg, 0, sizeof(void *));
    if (!context) return {-1, EFAULT};
    std::unique_ptr<Urb> u = std::move(completed_.front());
    completed_.pop_front();
    // The client's pointer now names its own URB; the URB's fields and
    // buffer travel back with it.
    umockdev_ioctl_data_set_ptr(context.get(), 0, u->urb.get());
    return {0, 0};
}

UsbfsDevice::Answer UsbfsDevice::Discard(UMockdevIoctlData *arg) {
    unsigned long address = 0;
    std::memcpy(&address, arg->data, sizeof address);
    for (auto it = in_flight_.begin(); it != in_flight_.end(); ++it) {
        if ((*it)->urb->client_addr != address) continue;
        Complete(std::move(*it), 0, -ENOENT);
        in_flight_.erase(it);
        ++seen_.discards;
        return {0, 0};
    }
    return {-1, EINVAL};
}

}  // namespace umock
