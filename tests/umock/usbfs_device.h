// One USB device behind an emulated usbdevfs node, answering the ioctls
// Debian's libusb 0.1 issues: connect info and the hub query while it scans,
// configuration, interface claim and release, string descriptors over
// control transfers, and bulk transfers as URBs (submit, non-blocking reap,
// discard on time-out, blocking reap of the discarded one). Bulk OUT bytes
// go to the recorder; its replies complete bulk IN URBs.
#pragma once

#include <umockdev.h>

#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "umock/recorder.h"

namespace umock {

struct UsbIds {
    uint16_t vendor = 0;
    uint16_t product = 0;
    uint8_t device_class = 0;  // 9: a hub
    uint8_t bulk_in = 0;
    uint8_t bulk_out = 0;
    uint8_t interface_no = 0;
    int bus = 1;
    int devnum = 0;
    std::string serial = {};
};

// The requests other than bulk transfers, as the device saw them.
struct Requests {
    std::vector<int> configurations, claims, releases;  // each request's argument
    int discards = 0;                                   // URBs discarded in flight
};

// One bulk transfer as the device saw it.
struct Transfer {
    uint8_t endpoint;
    std::string bytes;  // OUT: what the host sent; IN: what the device answered
};

class UsbfsDevice {
public:
    UsbfsDevice(UsbIds ids, RecorderSpec spec);
    ~UsbfsDevice();
    UsbfsDevice(const UsbfsDevice &) = delete;
    UsbfsDevice &operator=(const UsbfsDevice &) = delete;

    const UsbIds &Ids() const { return ids_; }
    UMockdevIoctlBase *Handler() const { return handler_; }
    // Device and configuration descriptors, as the node reads back.
    std::vector<uint8_t> Descriptors() const;

    // From now on the device is gone: what the kernel does after a
    // disconnect (ENODEV, URBs in flight completed with ESHUTDOWN).
    void Unplug();
    void Silence(const std::string &line);

    std::vector<Transfer> Transfers();
    std::vector<std::string> Written();  // the OUT transfers' bytes
    Requests Seen();

private:
    struct Urb;
    struct Answer {
        long result;
        int error;
    };
    static gboolean OnIoctl(UMockdevIoctlBase *, UMockdevIoctlClient *client, gpointer self);
    Answer Handle(unsigned long request, UMockdevIoctlData *arg);
    Answer ConnectInfo(UMockdevIoctlData *arg);
    Answer Control(UMockdevIoctlData *arg);
    Answer Submit(UMockdevIoctlData *arg);
    Answer Reap(UMockdevIoctlData *arg);  // either kind: both answer at once
    Answer Discard(UMockdevIoctlData *arg);
    Answer IntArgument(UMockdevIoctlData *arg, std::vector<int> *into);
    void CompleteReadable();
    // Ends the URB with its length and status; the next reap returns it.
    void Complete(std::unique_ptr<Urb> u, int length, int status);
    std::string StringDescriptor(int index) const;

    UsbIds ids_;
    UMockdevIoctlBase *handler_;
    std::mutex lock_;  // the handler runs on umockdev's worker thread
    Recorder recorder_;
    bool gone_ = false;
    std::deque<std::unique_ptr<Urb>> in_flight_;
    std::deque<std::unique_ptr<Urb>> completed_;
    std::vector<Transfer> transfers_;
    Requests seen_;
};

}  // namespace umock
